// An instrument written on up to three staves ("otMG"), such as a grand staff.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCMultiStaffInstrument : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x6F744D47;

  TCMultiStaffInstrument() : __TCNoInciOther(buffer_, sizeof(buffer_)) {}

  const char* ClassName() const override { return "TCMultiStaffInstrument"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }

  // 0 when the instrument has no such staff.
  int16_t GetFirstStaff() const;
  int16_t GetSecondStaff() const;
  int16_t GetThirdStaff() const;
  void SetFirstStaff(int16_t staff);
  void SetSecondStaff(int16_t staff);
  void SetThirdStaff(int16_t staff);
  int16_t GetGroupNumber() const;
  void SetGroupNumber(int16_t group);
  // Staff 0 is never part of an instrument.
  bool ContainsStaff(int32_t staff) const;

 private:
  uint8_t buffer_[12] = {};
};
