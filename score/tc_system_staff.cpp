#include "score/tc_system_staff.h"

#include <cstring>

namespace {

constexpr size_t kStaffNumberOffset = 0;

}  // namespace

TCSystemStaff::TCSystemStaff() : __TCInciOther(buffer_, sizeof(buffer_)) { SetLoadedSize(sizeof(buffer_)); }

__TCBaseData* TCSystemStaff::CreateObject() const { return new TCSystemStaff(); }

int16_t TCSystemStaff::GetStaffNumber() const { return ReadField<int16_t>(kStaffNumberOffset); }

void TCSystemStaff::SetStaffNumber(int16_t staff) { WriteField<int16_t>(kStaffNumberOffset, staff); }

TXAddress TCSystemStaff::ReductionAddress() const {
  TXAddress address{};
  int16_t system = GetSystemNumber();
  int16_t staff = GetStaffNumber();
  std::memcpy(address.bytes, &system, sizeof(system));
  std::memcpy(address.bytes + 2, &staff, sizeof(staff));
  return address;
}

bool TCSystemStaff::Load(int16_t system, int16_t inci) {
  if (!__TCInciOther::Load(system, inci)) return false;
  percentage_ = kFullSize;
  if (system == 0) return true;
  TXAddress address = ReductionAddress();
  uint8_t reduction[kReductionSize] = {};
  int32_t size = kReductionSize;
  if (TX_LoadEData(kReductionTag, &address, reduction, &size, GetDataVersion()) != 0 &&
      size >= static_cast<int32_t>(sizeof(int16_t))) {
    std::memcpy(&percentage_, reduction, sizeof(percentage_));
  }
  return true;
}

bool TCSystemStaff::SaveReduction() {
  TXAddress address = ReductionAddress();
  if (percentage_ != kFullSize) {
    uint8_t reduction[kReductionSize] = {};
    std::memcpy(reduction, &percentage_, sizeof(percentage_));
    return TX_SaveEData(kReductionTag, &address, reduction, kReductionSize, GetDataVersion()) != 0;
  }
  // Full size needs no record; its removal may fail when there was none.
  if (GetSystemNumber() != 0) TX_DeleteEData(kReductionTag, &address, GetDataVersion());
  return true;
}

bool TCSystemStaff::Save() {
  if (!__TCInciOther::Save()) return false;
  return SaveReduction();
}

bool TCSystemStaff::SaveNew(int16_t system) {
  if (!__TCInciOther::SaveNew(system)) return false;
  return SaveReduction();
}

void TCSystemStaff::CloneDerivedFrom(const __TCBaseData* other) {
  percentage_ = static_cast<const TCSystemStaff*>(other)->percentage_;
}
