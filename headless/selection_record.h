// The host's 20-byte selection record: start and end staff as (slot list,
// slot), measure and position in the measure.
#pragma once

#include <cstdint>

namespace headless {

constexpr int kSelectionRecordSize = 20;

struct SelectionRecord {
  uint16_t startSlotList = 0;
  int16_t startSlot = 0;
  int16_t startMeasure = 0;
  int32_t startPosition = 0;
  uint16_t endSlotList = 0;
  int16_t endSlot = 0;
  int16_t endMeasure = 0;
  int32_t endPosition = 0;

  bool IsEmpty() const { return startMeasure == 0 && endMeasure == 0; }
  // The record as the host lays it out, into 20 bytes.
  void WriteTo(void* bytes) const;
  static SelectionRecord ReadFrom(const void* bytes);
  bool operator==(const SelectionRecord& other) const;
  bool operator!=(const SelectionRecord& other) const { return !(*this == other); }
};

}  // namespace headless
