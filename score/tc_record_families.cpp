#include "score/tc_record_families.h"

#include "score/tc_cell.h"

namespace {

constexpr int16_t kHostAssigns = -1;

}  // namespace

bool __TCOther::Load(int16_t number) {
  ClearAddress();
  SetAddressFirst(number);
  return LoadData();
}

bool __TCOther::SaveAs(int16_t number) {
  ClearAddress();
  SetAddressFirst(number);
  return Save();
}

bool __TCOther::SaveTo(int16_t number) { return SaveAs(number); }

bool __TCOther::SaveNew() {
  if (GetLoadedSize() == 0) return false;
  SetAddressFirst(kHostAssigns);
  SetAddressSecond(kHostAssigns);
  return CreateData();
}

int16_t __TCOther::GetNumber() const { return GetAddressFirst(); }

bool __TCOther::CreateData() {
  if (!GetData()) return false;
  return TX_CreateEData(GetTag(), GetAddress(), GetData(), GetLoadedSize(), GetDataVersion()) != 0;
}

bool __TCNoInciOther::LoadFirst() { return Load(1); }

bool __TCInciOther::Load(int16_t number, int16_t inci) {
  ClearAddress();
  SetAddressFirst(number);
  SetAddressSecond(inci);
  return LoadData();
}

bool __TCInciOther::SaveNew(int16_t number) {
  if (GetLoadedSize() == 0) return false;
  ClearAddress();
  SetAddressFirst(number);
  SetAddressSecond(kHostAssigns);
  return CreateData();
}

bool __TCDetail::LoadFirst() {
  ClearAddress();
  return LoadNext();
}

bool __TCDetail::Load(int16_t firstNumber, int16_t secondNumber, int16_t inci) {
  ClearAddress();
  SetAddressFirst(firstNumber);
  SetAddressSecond(secondNumber);
  SetAddressThird(inci);
  return LoadData();
}

bool __TCDetail::SaveNew(int16_t firstNumber, int16_t secondNumber) {
  if (GetLoadedSize() == 0 || !GetData()) return false;
  ClearAddress();
  SetAddressFirst(firstNumber);
  SetAddressSecond(secondNumber);
  SetAddressThird(kHostAssigns);
  return TX_CreateEData(GetTag(), GetAddress(), GetData(), GetLoadedSize(), GetDataVersion()) != 0;
}

bool __TCNoInciDetail::Load(int16_t firstNumber, int16_t secondNumber) {
  return __TCDetail::Load(firstNumber, secondNumber, 0);
}

bool __TCCellDetail::LoadFirst() {
  if (!cell_) return false;
  ClearAddress();
  SetAddressFirst(static_cast<int16_t>(cell_->GetStaff()));
  SetAddressSecond(static_cast<int16_t>(cell_->GetMeasure()));
  return LoadData();
}

bool __TCCellDetail::LoadNext() { return false; }

bool __TCPrefsBase::Load(int16_t number) {
  ClearAddress();
  SetAddressFirst(number);
  return LoadData();
}

bool __TCPrefsBase::LoadFirst() { return Load(1); }
