#include "score/tc_multi_staff_instruments.h"

TCMultiStaffInstrument* TCMultiStaffInstruments::FindStaff(int32_t staff) const {
  if (staff == 0) return nullptr;
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCMultiStaffInstrument* instrument = GetInstrumentAt(i);
    if (instrument && instrument->ContainsStaff(staff)) return instrument;
  }
  return nullptr;
}
