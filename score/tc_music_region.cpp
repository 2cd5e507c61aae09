#include "score/tc_music_region.h"

#include <cstring>

#include "shell/tx_api.h"

namespace {

constexpr int32_t kStartSlotListOffset = 0;
constexpr int32_t kStartSlotOffset = 2;
constexpr int32_t kStartMeasureOffset = 4;
constexpr int32_t kStartPositionOffset = 6;
constexpr int32_t kEndSlotListOffset = 10;
constexpr int32_t kEndSlotOffset = 12;
constexpr int32_t kEndMeasureOffset = 14;
constexpr int32_t kEndPositionOffset = 16;

// The two further results of the selection call, which the plug-in does not use.
constexpr size_t kUnusedResultSize = 64;

}  // namespace

template <typename T>
T TCMusicRegion::ReadField(int32_t offset) const {
  T value;
  std::memcpy(&value, record_ + offset, sizeof(T));
  return value;
}

template <typename T>
void TCMusicRegion::WriteField(int32_t offset, T value) {
  std::memcpy(record_ + offset, &value, sizeof(T));
}

uint16_t TCMusicRegion::GetStartSlotList() const { return ReadField<uint16_t>(kStartSlotListOffset); }
int16_t TCMusicRegion::GetStartSlot() const { return ReadField<int16_t>(kStartSlotOffset); }
int32_t TCMusicRegion::GetStartPosition() const { return ReadField<int32_t>(kStartPositionOffset); }
uint16_t TCMusicRegion::GetEndSlotList() const { return ReadField<uint16_t>(kEndSlotListOffset); }
int16_t TCMusicRegion::GetEndSlot() const { return ReadField<int16_t>(kEndSlotOffset); }
int32_t TCMusicRegion::GetEndPosition() const { return ReadField<int32_t>(kEndPositionOffset); }
void TCMusicRegion::SetStartSlotList(uint16_t slotList) { WriteField(kStartSlotListOffset, slotList); }
void TCMusicRegion::SetStartSlot(int16_t slot) { WriteField(kStartSlotOffset, slot); }
void TCMusicRegion::SetStartMeasure(int16_t measure) { WriteField(kStartMeasureOffset, measure); }
void TCMusicRegion::SetStartPosition(int32_t position) { WriteField(kStartPositionOffset, position); }
void TCMusicRegion::SetEndSlotList(uint16_t slotList) { WriteField(kEndSlotListOffset, slotList); }
void TCMusicRegion::SetEndSlot(int16_t slot) { WriteField(kEndSlotOffset, slot); }
void TCMusicRegion::SetEndMeasure(int16_t measure) { WriteField(kEndMeasureOffset, measure); }
void TCMusicRegion::SetEndPosition(int32_t position) { WriteField(kEndPositionOffset, position); }

bool TCMusicRegion::IsEmpty() const {
  return ReadField<int16_t>(kStartMeasureOffset) == 0 && ReadField<int16_t>(kEndMeasureOffset) == 0;
}

int16_t TCMusicRegion::GetStartMeasure() const { return IsEmpty() ? 0 : ReadField<int16_t>(kStartMeasureOffset); }

int16_t TCMusicRegion::GetEndMeasure() const { return IsEmpty() ? 0 : ReadField<int16_t>(kEndMeasureOffset); }

int32_t TCMusicRegion::GetStartStaff() const { return TX_SlotToInst(GetStartSlot(), GetStartSlotList()); }

int32_t TCMusicRegion::GetEndStaff() const { return TX_SlotToInst(GetEndSlot(), GetEndSlotList()); }

int32_t TCMusicRegion::GetStaffOfSlot(int32_t slot) const { return TX_SlotToInst(slot, GetStartSlotList()); }

bool TCMusicRegion::ContainsSlot(int32_t slot) const { return slot >= GetStartSlot() && slot <= GetEndSlot(); }

bool TCMusicRegion::ReadCurrentSelection() {
  uint8_t first[kUnusedResultSize] = {};
  uint8_t region[kRecordSize] = {};
  uint8_t third[kUnusedResultSize] = {};
  int16_t result = TX_GetCurERegions(first, region, third);
  std::memcpy(record_, region, sizeof(record_));
  document_ = TX_GetCurrentOrbeltDocument();
  return result != 0;
}

void TCMusicRegion::SetInDocument() const {
  if (document_ != TX_GetCurrentOrbeltDocument()) return;
  TX_SetCurERegion(record_);
}

void TCMusicRegion::CopyFrom(const TCMusicRegion* other) {
  if (!other || other == this) return;
  std::memcpy(record_, other->record_, sizeof(record_));
  document_ = other->document_;
}

bool TCMusicRegion::IsMeasurePositionInside(int32_t measure, int32_t position) const {
  if (measure > ReadField<int16_t>(kEndMeasureOffset) || measure < ReadField<int16_t>(kStartMeasureOffset)) {
    return false;
  }
  if (measure == GetStartMeasure() && position < GetStartPosition()) return false;
  if (measure == GetEndMeasure() && position > GetEndPosition()) return false;
  return true;
}

bool TCMusicRegion::IsEqual(const TCMusicRegion* other) const {
  if (!other) return false;
  return GetStartSlotList() == other->GetStartSlotList() && GetStartStaff() == other->GetStartStaff() &&
         GetEndStaff() == other->GetEndStaff() && GetStartMeasure() == other->GetStartMeasure() &&
         GetEndMeasure() == other->GetEndMeasure() && GetStartPosition() == other->GetStartPosition() &&
         GetEndPosition() == other->GetEndPosition();
}
