// Copies of one entry's notes with where the entry stood.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_note_pitch.h"

class TCNoteEntry;

class TCNotePitches : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCNotePitches"; }

  // One copy per note (none for a rest); from host 0x12000000 on each copy's
  // accidental-shown flag is what the host draws. Then the entry's values.
  void LoadFromEntry(TCNoteEntry* entry);

  TCNotePitch* GetPitchAt(int32_t index) const { return ItemAs<TCNotePitch>(*this, index); }
  int32_t GetMeasure() const { return measure_; }
  int32_t GetStaff() const { return staff_; }
  // 1-based
  int32_t GetLayer() const { return layer_; }
  bool IsGrace() const { return grace_; }
  // Grace entries directly before a grace entry in its frame; -1 for others.
  int32_t GetGraceRun() const { return graceRun_; }
  int32_t GetIndexInFrame() const { return indexInFrame_; }
  int32_t GetPosition() const { return position_; }
  uint32_t GetEntryNumber() const { return entryNumber_; }
  int32_t GetEntryValue() const { return entryValue_; }
  int32_t GetSecondPosition() const { return secondPosition_; }

  void SetMeasure(int32_t measure) { measure_ = measure; }
  void SetStaff(int32_t staff) { staff_ = staff; }
  void SetLayer(int32_t layer) { layer_ = layer; }
  void SetGrace(bool grace) { grace_ = grace; }
  void SetGraceRun(int32_t run) { graceRun_ = run; }
  void SetPosition(int32_t position) { position_ = position; }
  void SetEntryNumber(uint32_t number) { entryNumber_ = number; }

 private:
  void FillEntryValues(const TCNoteEntry* entry);

  int32_t measure_ = 0;
  int32_t staff_ = 0;
  int32_t layer_ = 0;
  bool grace_ = false;
  int32_t graceRun_ = -1;
  int32_t indexInFrame_ = -1;
  int32_t position_ = 0;
  uint32_t entryNumber_ = 0;
  int32_t entryValue_ = 0;
  int32_t secondPosition_ = 0;
};
