#include "score/tc_general_prefs.h"

namespace {

constexpr size_t kOctaveShiftOffset = 40;

}  // namespace

__TCBaseData* TCGeneralPrefs::CreateObject() const { return new TCGeneralPrefs(); }

int16_t TCGeneralPrefs::GetOctaveShiftSemitones() const { return ReadField<int16_t>(kOctaveShiftOffset); }

void TCGeneralPrefs::SetOctaveShiftSemitones(int16_t semitones) { WriteField<int16_t>(kOctaveShiftOffset, semitones); }
