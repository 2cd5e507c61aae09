#include "score/tc_multi_staff_instrument.h"

namespace {

constexpr size_t kFirstStaffOffset = 0;
constexpr size_t kSecondStaffOffset = 2;
constexpr size_t kThirdStaffOffset = 4;
constexpr size_t kGroupOffset = 6;

}  // namespace

__TCBaseData* TCMultiStaffInstrument::CreateObject() const { return new TCMultiStaffInstrument(); }

int16_t TCMultiStaffInstrument::GetFirstStaff() const { return ReadField<int16_t>(kFirstStaffOffset); }
int16_t TCMultiStaffInstrument::GetSecondStaff() const { return ReadField<int16_t>(kSecondStaffOffset); }
int16_t TCMultiStaffInstrument::GetThirdStaff() const { return ReadField<int16_t>(kThirdStaffOffset); }
void TCMultiStaffInstrument::SetFirstStaff(int16_t staff) { WriteField<int16_t>(kFirstStaffOffset, staff); }
void TCMultiStaffInstrument::SetSecondStaff(int16_t staff) { WriteField<int16_t>(kSecondStaffOffset, staff); }
void TCMultiStaffInstrument::SetThirdStaff(int16_t staff) { WriteField<int16_t>(kThirdStaffOffset, staff); }
int16_t TCMultiStaffInstrument::GetGroupNumber() const { return ReadField<int16_t>(kGroupOffset); }
void TCMultiStaffInstrument::SetGroupNumber(int16_t group) { WriteField<int16_t>(kGroupOffset, group); }

bool TCMultiStaffInstrument::ContainsStaff(int32_t staff) const {
  if (staff == 0) return false;
  return GetFirstStaff() == staff || GetSecondStaff() == staff || GetThirdStaff() == staff;
}
