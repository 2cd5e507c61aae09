// One staff placed in one staff system ("SOIu", addressed by system and inci),
// with the system's reduction percentage for that staff ("dtLP").
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCSystemStaff : public __TCInciOther {
 public:
  static constexpr uint32_t kTag = 0x534F4975;
  static constexpr uint32_t kReductionTag = 0x64744C50;
  static constexpr int32_t kReductionSize = 10;
  static constexpr int16_t kFullSize = 100;

  // Saveable from scratch.
  TCSystemStaff();

  const char* ClassName() const override { return "TCSystemStaff"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }
  // Also reads the staff's reduction in systems other than 0.
  bool Load(int16_t system, int16_t inci) override;
  // Also writes or removes the staff's reduction record.
  bool Save() override;
  bool SaveNew(int16_t system) override;

  int16_t GetStaffNumber() const;
  void SetStaffNumber(int16_t staff);
  int16_t GetSystemNumber() const { return GetNumber(); }
  int16_t GetPercentage() const { return percentage_; }
  void SetPercentage(int16_t percentage) { percentage_ = percentage; }

 protected:
  void CloneDerivedFrom(const __TCBaseData* other) override;

 private:
  TXAddress ReductionAddress() const;
  bool SaveReduction();

  uint8_t buffer_[24] = {};
  int16_t percentage_ = kFullSize;
};
