#include "score/tc_note.h"

#include "framework/tc_string.h"
#include "score/tc_cell.h"
#include "score/tc_entry_metrics.h"
#include "score/tc_general_prefs.h"
#include "score/tc_key_signature.h"
#include "score/tc_note_entry.h"
#include "shell/host_frame.h"
#include "shell/host_version.h"

using host_frame::Read;
using host_frame::Write;

namespace {

constexpr int32_t kLetterCount = 7;
constexpr int32_t kSemitonesPerOctave = 12;
// Puts the displacement of middle C in C major into octave 4.
constexpr int32_t kOctaveBase = 26;

int32_t PositiveRemainder(int32_t value, int32_t divisor) {
  int32_t remainder = value % divisor;
  return remainder < 0 ? remainder + divisor : remainder;
}

int16_t OctaveShiftSemitones() {
  TCGeneralPrefs prefs;
  return prefs.Load(1) ? prefs.GetOctaveShiftSemitones() : 0;
}

}  // namespace

int32_t LetterIndexOfCharacter(int32_t character) {
  if (character < 'A' || character > 'G') return -1;
  return character - 'A';
}

int16_t TCNote::GetDisplacement() const { return Read<int16_t>(record_, host_frame::kDisplacementOffset); }
void TCNote::SetDisplacement(int16_t steps) { Write(record_, host_frame::kDisplacementOffset, steps); }
int16_t TCNote::GetRaiseLower() const { return Read<int16_t>(record_, host_frame::kRaiseLowerOffset); }
void TCNote::SetRaiseLower(int16_t semitones) { Write(record_, host_frame::kRaiseLowerOffset, semitones); }
int16_t TCNote::GetNoteID() const { return Read<int16_t>(record_, host_frame::kNoteIdOffset); }
void TCNote::SetNoteID(int16_t id) { Write(record_, host_frame::kNoteIdOffset, id); }
uint32_t TCNote::GetFlags() const { return Read<uint32_t>(record_, host_frame::kNoteFlagsOffset); }
void TCNote::SetFlags(uint32_t flags) { Write(record_, host_frame::kNoteFlagsOffset, flags); }

namespace {

uint32_t WithBit(uint32_t flags, uint32_t bit, bool set) { return set ? (flags | bit) : (flags & ~bit); }

}  // namespace

bool TCNote::IsAccidentalShown() const { return (GetFlags() & host_frame::kNoteAccidentalShown) != 0; }
void TCNote::SetAccidentalShown(bool shown) { SetFlags(WithBit(GetFlags(), host_frame::kNoteAccidentalShown, shown)); }
bool TCNote::IsParenthesized() const { return (GetFlags() & host_frame::kNoteParentheses) != 0; }
void TCNote::SetParenthesized(bool parenthesized) {
  SetFlags(WithBit(GetFlags(), host_frame::kNoteParentheses, parenthesized));
}
bool TCNote::IsTiedFromPrevious() const { return (GetFlags() & host_frame::kNoteTiedFromPrevious) != 0; }
bool TCNote::IsAppliedMarkSet() const { return (GetFlags() & host_frame::kNoteApplied) != 0; }
void TCNote::SetAppliedMark(bool set) { SetFlags(WithBit(GetFlags(), host_frame::kNoteApplied, set)); }

bool TCNote::IsAccidentalVisible() const {
  if (!HostReaches(kHostVersion2012)) return IsAccidentalShown();
  if (!entry_) return false;
  TCEntryMetrics metrics;
  if (!metrics.Load(entry_)) return false;
  const uint8_t* visibility = metrics.FindNoteVisibility(GetNoteID());
  return visibility && *visibility != 0;
}

bool TCNote::IsInRest() const { return entry_ && entry_->IsRest(); }

const TCKeySignature* TCNote::ResolveKey(const TCKeySignature* key, TCKeySignature* holder) const {
  if (key) return key;
  if (entry_) {
    TCCell cell(entry_->GetMeasure(), entry_->GetStaff());
    holder->SetKeyValue(cell.GetKeySignature()->GetKeyValue());
  }
  return holder;
}

int32_t TCNote::LetterIndex(const TCKeySignature* key) const {
  return PositiveRemainder(key->GetTonicLetter() + GetDisplacement(), kLetterCount);
}

int32_t TCNote::GetLetter(const TCKeySignature* key) const {
  if (IsInRest()) return 0;
  TCKeySignature holder;
  return 'A' + LetterIndex(ResolveKey(key, &holder));
}

int32_t TCNote::GetAlteration(const TCKeySignature* key) const {
  if (IsInRest()) return 0;
  TCKeySignature holder;
  const TCKeySignature* inForce = ResolveKey(key, &holder);
  if (!inForce->IsLinear()) return 0;
  int32_t letter = LetterIndex(inForce);
  int32_t alteration = GetRaiseLower();
  if (inForce->IsLetterSharpened(letter)) ++alteration;
  if (inForce->IsLetterFlattened(letter)) --alteration;
  return alteration;
}

int32_t TCNote::GetOctave(const TCKeySignature* key) const {
  TCKeySignature holder;
  int32_t tonic = ResolveKey(key, &holder)->GetTonicLetter();
  int32_t shiftedOctaves = OctaveShiftSemitones() / kSemitonesPerOctave;
  int32_t octave = (tonic + shiftedOctaves * kLetterCount + GetDisplacement() + kOctaveBase) / kLetterCount;
  // Octaves start at C: the tonics A and B lie below the C of their octave.
  if (tonic == 0 || tonic == 1) ++octave;
  return octave;
}

void TCNote::GetPitchName(TCString* text, const TCKeySignature* key) const {
  if (!text) return;
  text->SetCString("");
  if (IsInRest()) return;
  TCKeySignature holder;
  const TCKeySignature* inForce = ResolveKey(key, &holder);
  text->AppendCharacter(static_cast<char16_t>(GetLetter(inForce)));
  int32_t alteration = GetAlteration(inForce);
  if (alteration <= 0) {
    for (int32_t i = 0; i < -alteration; ++i) text->AppendCharacter(u'b');
  } else if (alteration == 2) {
    text->AppendCharacter(u'x');
  } else {
    for (int32_t i = 0; i < alteration; ++i) text->AppendCharacter(u'#');
  }
  text->AppendInteger(GetOctave(inForce));
}
