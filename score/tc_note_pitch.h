// A note whose record is an own copy, so that its pitch outlives the frame.
#pragma once

#include <cstdint>

#include "framework/tc_string.h"
#include "score/tc_note.h"

class TCNotePitch : public TCNote {
 public:
  // Copies the 10-byte note record; index 0 and no entry until set.
  explicit TCNotePitch(const uint8_t* noteRecord);
  ~TCNotePitch() override;

  const char* ClassName() const override { return "TCNotePitch"; }

  uint8_t* GetRecordCopy() { return copy_; }
  // The pitch name kept with the copy, owned by the note pitch; null until
  // one is set.
  TCString* GetStoredPitchName() const { return pitchName_; }
  // Takes over a string made elsewhere.
  void SetStoredPitchName(TCString* pitchName);
  // Makes the string the note pitch holds in itself the stored name, for
  // the caller to write; a name handed over before is deleted.
  TCString* UseOwnPitchName();
  void DeleteStoredPitchName();

 private:
  uint8_t copy_[10] = {};
  TCString* pitchName_ = nullptr;
  // A scan names every note it reads; the name written here lies beside the
  // record copy and costs no allocation of its own.
  TCString ownName_;
};
