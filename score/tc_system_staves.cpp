#include "score/tc_system_staves.h"

namespace {

constexpr int32_t kMaxInci = 0x7FFF;

}  // namespace

int32_t TCSystemStaves::LoadAllForSystem(int16_t system) {
  ClearAll();
  __TCBaseData* prototype = CreatePrototype();
  if (!prototype) return 0;
  auto* staff = static_cast<TCSystemStaff*>(prototype);
  for (int32_t inci = 0; inci <= kMaxInci; ++inci) {
    if (!staff->Load(system, static_cast<int16_t>(inci))) break;
    AddCopyOf(staff);
  }
  delete prototype;
  return GetCount();
}

int32_t TCSystemStaves::FindLastInci(int16_t system) {
  TCSystemStaff staff;
  int32_t inci = 0;
  while (inci <= kMaxInci && staff.Load(system, static_cast<int16_t>(inci))) ++inci;
  return inci - 1;
}

bool TCSystemStaves::DeleteAllForSystem(int16_t system) {
  TCSystemStaff staff;
  for (int32_t inci = FindLastInci(system); inci >= 0; --inci) {
    if (!staff.Load(system, static_cast<int16_t>(inci))) return false;
    if (!staff.Delete()) return false;
  }
  return true;
}

bool TCSystemStaves::SaveAllForSystem(int16_t system) {
  if (!DeleteAllForSystem(system)) return false;
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCSystemStaff* staff = GetStaffAt(i);
    if (!staff) continue;
    staff->SetContext(GetContext());
    if (!staff->SaveNew(system)) return false;
  }
  return true;
}

int32_t TCSystemStaves::IndexOfStaff(int32_t staff) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCSystemStaff* element = GetStaffAt(i);
    if (element && element->GetStaffNumber() == staff) return i;
  }
  return -1;
}

TCSystemStaff* TCSystemStaves::FindStaff(int32_t staff) const { return GetStaffAt(IndexOfStaff(staff)); }
