// A staff record ("SOIS") and the staff specification in force at a point of
// a measure ("SOSC").
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCString;

class TCStaff : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x534F4953;
  // Bits 0x2000 and 0x0200 of the flags word: either hides the staff's
  // entries from the analysis; what sets one or the other is the host's.
  static constexpr uint16_t kHiddenFlags = 0x2000 | 0x0200;

  TCStaff();

  const char* ClassName() const override { return "TCStaff"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  uint32_t GetDataVersion() const override;
  int32_t GetDataSize() const override;
  // number 0, then the host's next staff
  bool LoadFirst() override;
  // The host version with its low 16 bits replaced by the word at offset 94
  // (first) or 98 (second).
  virtual uint32_t GetFirstVersionStamp() const;
  virtual uint32_t GetSecondVersionStamp() const;

  // Flags word at offset 10.
  uint16_t GetFlags() const;
  void SetFlags(uint16_t flags);
  // Sign bit of the word at 22: the staff may carry its own key per measure.
  bool HasIndependentKeys() const;
  int16_t GetIndependentWord() const;
  void SetIndependentWord(int16_t value);
  // Text block that holds the full name.
  int16_t GetFullNameTextBlock() const;
  void SetFullNameTextBlock(int16_t number);
  // A new string owned by the caller; empty when no name can be found.
  TCString* GetFullName() const;

 private:
  uint8_t buffer_[136] = {};
};

// Loaded only through LoadAtPosition; the single-number operations refuse.
class TCCurrentStaffSpec : public TCStaff {
 public:
  static constexpr uint32_t kTag = 0x534F5343;

  const char* ClassName() const override { return "TCCurrentStaffSpec"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  bool Load(int16_t number) override;
  bool SaveAs(int16_t number) override;
  bool SaveTo(int16_t number) override;
  bool SaveNew() override;

  // address = (staff, measure, position in host duration units), then load
  bool LoadAtPosition(int16_t staff, int16_t measure, int32_t position);
};
