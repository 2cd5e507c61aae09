#include "headless/selection_record.h"

#include "shell/host_frame.h"

namespace headless {

namespace {

constexpr size_t kStartSlotListOffset = 0;
constexpr size_t kStartSlotOffset = 2;
constexpr size_t kStartMeasureOffset = 4;
constexpr size_t kStartPositionOffset = 6;
constexpr size_t kEndSlotListOffset = 10;
constexpr size_t kEndSlotOffset = 12;
constexpr size_t kEndMeasureOffset = 14;
constexpr size_t kEndPositionOffset = 16;
static_assert(kEndPositionOffset + 4 == kSelectionRecordSize, "the record ends with the end position");

}  // namespace

void SelectionRecord::WriteTo(void* bytes) const {
  using host_frame::Write;
  Write(bytes, kStartSlotListOffset, startSlotList);
  Write(bytes, kStartSlotOffset, startSlot);
  Write(bytes, kStartMeasureOffset, startMeasure);
  Write(bytes, kStartPositionOffset, startPosition);
  Write(bytes, kEndSlotListOffset, endSlotList);
  Write(bytes, kEndSlotOffset, endSlot);
  Write(bytes, kEndMeasureOffset, endMeasure);
  Write(bytes, kEndPositionOffset, endPosition);
}

SelectionRecord SelectionRecord::ReadFrom(const void* bytes) {
  using host_frame::Read;
  SelectionRecord record;
  record.startSlotList = Read<uint16_t>(bytes, kStartSlotListOffset);
  record.startSlot = Read<int16_t>(bytes, kStartSlotOffset);
  record.startMeasure = Read<int16_t>(bytes, kStartMeasureOffset);
  record.startPosition = Read<int32_t>(bytes, kStartPositionOffset);
  record.endSlotList = Read<uint16_t>(bytes, kEndSlotListOffset);
  record.endSlot = Read<int16_t>(bytes, kEndSlotOffset);
  record.endMeasure = Read<int16_t>(bytes, kEndMeasureOffset);
  record.endPosition = Read<int32_t>(bytes, kEndPositionOffset);
  return record;
}

bool SelectionRecord::operator==(const SelectionRecord& other) const {
  return startSlotList == other.startSlotList && startSlot == other.startSlot && startMeasure == other.startMeasure &&
         startPosition == other.startPosition && endSlotList == other.endSlotList && endSlot == other.endSlot &&
         endMeasure == other.endMeasure && endPosition == other.endPosition;
}

}  // namespace headless
