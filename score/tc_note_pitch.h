// A note whose record is an own copy, so that its pitch outlives the frame.
#pragma once

#include <cstdint>

#include "score/tc_note.h"

class TCString;

class TCNotePitch : public TCNote {
 public:
  // Copies the 10-byte note record; index 0 and no entry until set.
  explicit TCNotePitch(const uint8_t* noteRecord);
  ~TCNotePitch() override;

  const char* ClassName() const override { return "TCNotePitch"; }

  uint8_t* GetRecordCopy() { return copy_; }
  // The pitch name kept with the copy, owned by the note pitch.
  TCString* GetStoredPitchName() const { return pitchName_; }
  void SetStoredPitchName(TCString* pitchName);
  void DeleteStoredPitchName();

 private:
  uint8_t copy_[10] = {};
  TCString* pitchName_ = nullptr;
};
