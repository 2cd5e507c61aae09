#include "score/tc_note_pitch.h"

#include <cstring>

TCNotePitch::TCNotePitch(const uint8_t* noteRecord) : TCNote(nullptr, 0, nullptr) {
  if (noteRecord) std::memcpy(copy_, noteRecord, sizeof(copy_));
  SetRecord(copy_);
}

TCNotePitch::~TCNotePitch() { DeleteStoredPitchName(); }

void TCNotePitch::SetStoredPitchName(TCString* pitchName) {
  if (pitchName == pitchName_) return;
  DeleteStoredPitchName();
  pitchName_ = pitchName;
}

TCString* TCNotePitch::UseOwnPitchName() {
  if (pitchName_ != &ownName_) DeleteStoredPitchName();
  pitchName_ = &ownName_;
  return pitchName_;
}

void TCNotePitch::DeleteStoredPitchName() {
  if (pitchName_ != &ownName_) delete pitchName_;
  pitchName_ = nullptr;
}
