// A staff group ("SDNG"), addressed (first number, group number, inci 0).
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCString;

class TCGroup : public __TCNoInciDetail {
 public:
  static constexpr uint32_t kTag = 0x53444E47;
  static constexpr int16_t kBracketPiano = 3;

  // Saveable from scratch.
  TCGroup();

  const char* ClassName() const override { return "TCGroup"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  uint32_t GetDataVersion() const override;
  int32_t GetDataSize() const override { return sizeof(buffer_); }

  int16_t GetGroupNumber() const { return GetSecondNumber(); }
  int16_t GetFirstStaff() const;
  void SetFirstStaff(int16_t staff);
  int16_t GetLastStaff() const;
  void SetLastStaff(int16_t staff);
  int16_t GetNameTextBlock() const;
  void SetNameTextBlock(int16_t number);
  int16_t GetBracketKind() const;
  void SetBracketKind(int16_t kind);
  // The 32-bit value at offset 32: from host 0x10000000 on, only a group
  // where it is 1 makes a two-staff instrument.
  int32_t GetGrandStaffValue() const;
  void SetGrandStaffValue(int32_t value);
  // The group's name text; a new string owned by the caller, empty without one.
  TCString* GetName() const;
  // Staves from the first to the last staff in the score's staff order; 0 when
  // the last is missing or comes before the first.
  int32_t CountStaves() const;

 private:
  uint8_t buffer_[36] = {};
};
