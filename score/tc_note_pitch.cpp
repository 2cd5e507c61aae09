#include "score/tc_note_pitch.h"

#include <cstring>

#include "framework/tc_string.h"

TCNotePitch::TCNotePitch(const uint8_t* noteRecord) : TCNote(nullptr, 0, nullptr) {
  if (noteRecord) std::memcpy(copy_, noteRecord, sizeof(copy_));
  SetRecord(copy_);
}

TCNotePitch::~TCNotePitch() { DeleteStoredPitchName(); }

void TCNotePitch::SetStoredPitchName(TCString* pitchName) {
  if (pitchName == pitchName_) return;
  delete pitchName_;
  pitchName_ = pitchName;
}

void TCNotePitch::DeleteStoredPitchName() {
  delete pitchName_;
  pitchName_ = nullptr;
}
