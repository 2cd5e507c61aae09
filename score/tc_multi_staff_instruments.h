#pragma once

#include <cstdint>

#include "score/tc_multi_staff_instrument.h"
#include "score/tc_record_collections.h"

class TCMultiStaffInstruments : public __TCCollectionNoInciOther {
 public:
  const char* ClassName() const override { return "TCMultiStaffInstruments"; }
  __TCBaseData* CreateElement() override { return new TCMultiStaffInstrument(); }
  TCMultiStaffInstrument* GetInstrumentAt(int32_t index) const { return ItemAs<TCMultiStaffInstrument>(*this, index); }
  // The first instrument with the staff as first, second or third staff; null for 0.
  TCMultiStaffInstrument* FindStaff(int32_t staff) const;
};
