// The selected rectangle of the score: staff slots from a start to an end
// slot, time from a position in a start measure to a position in an end
// measure, and the document it was read in.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCMusicRegion : public __TCBase {
 public:
  static constexpr int32_t kRecordSize = 20;

  const char* ClassName() const override { return "TCMusicRegion"; }

  // Same staves, measures and positions; the document is not compared.
  virtual bool IsEqual(const TCMusicRegion* other) const;

  // Copies the host's selection and the current document; the host's answer.
  bool ReadCurrentSelection();
  // Makes this region the host's selection when its document is the current one.
  void SetInDocument() const;
  void CopyFrom(const TCMusicRegion* other);

  // Both 0 for an empty region.
  int16_t GetStartMeasure() const;
  int16_t GetEndMeasure() const;
  bool IsEmpty() const;
  bool IsMeasurePositionInside(int32_t measure, int32_t position) const;

  uint16_t GetStartSlotList() const;
  int16_t GetStartSlot() const;
  int32_t GetStartPosition() const;
  uint16_t GetEndSlotList() const;
  int16_t GetEndSlot() const;
  int32_t GetEndPosition() const;
  int16_t GetDocument() const { return document_; }
  // Staff numbers of the start and end slots (TX_SlotToInst).
  int32_t GetStartStaff() const;
  int32_t GetEndStaff() const;
  // The staff of a slot of the region's start slot list.
  int32_t GetStaffOfSlot(int32_t slot) const;
  bool ContainsSlot(int32_t slot) const;

  void SetStartSlotList(uint16_t slotList);
  void SetStartSlot(int16_t slot);
  void SetStartMeasure(int16_t measure);
  void SetStartPosition(int32_t position);
  void SetEndSlotList(uint16_t slotList);
  void SetEndSlot(int16_t slot);
  void SetEndMeasure(int16_t measure);
  void SetEndPosition(int32_t position);
  void SetDocument(int16_t document) { document_ = document; }

  // The host's 20-byte region record.
  const uint8_t* GetRecord() const { return record_; }
  uint8_t* GetRecord() { return record_; }

 private:
  template <typename T>
  T ReadField(int32_t offset) const;
  template <typename T>
  void WriteField(int32_t offset, T value);

  uint8_t record_[kRecordSize] = {};
  int16_t document_ = 0;
};
