// The selection of the current part of the current document, as the host
// keeps it (one selection record per part).
#pragma once

#include <cstdint>

#include "headless/selection_record.h"

namespace headless {

class HeadlessHost;

class HostSelection {
 public:
  explicit HostSelection(HeadlessHost& host) : host_(host) {}

  // Selects from startStaff to endStaff (staff numbers, converted to slots of
  // the current part) and from (startMeasure, startPosition) to (endMeasure, endPosition).
  bool Set(int16_t startStaff, int16_t startMeasure, int32_t startPosition, int16_t endStaff, int16_t endMeasure,
           int32_t endPosition);
  // Every slot, measure 1 position 0 to the last measure at position 0x7FFFFFFF.
  bool SelectAll();
  void Clear();
  SelectionRecord Record() const;
  void SetRecord(const SelectionRecord& selection);
  // The slot-list value that the host puts in frames and selections.
  static uint16_t SlotListValue();

 private:
  HeadlessHost& host_;
};

}  // namespace headless
