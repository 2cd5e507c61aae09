// A staff system record ("SOSS"): which measures one system of the layout holds.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCStaffSystem : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x534F5353;

  TCStaffSystem() : __TCNoInciOther(buffer_, sizeof(buffer_)) {}

  const char* ClassName() const override { return "TCStaffSystem"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }

  // 0 while the host has not laid out its systems.
  int16_t GetFirstMeasure() const;
  void SetFirstMeasure(int16_t measure);
  // The first measure after the system.
  int16_t GetNextSystemMeasure() const;
  void SetNextSystemMeasure(int16_t measure);
  // The system's last measure.
  int32_t GetLastMeasure() const;

 private:
  uint8_t buffer_[28] = {};
};
