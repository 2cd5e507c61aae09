#include "musicxml/transposition.h"

#include <tinyxml2.h>

#include <cmath>

#include "headless/score_builder.h"
#include "musicxml/xml_values.h"

namespace musicxml {

namespace {

// Semitones above C of the natural letters C D E F G A B.
constexpr int kNaturalSemitones[] = {0, 2, 4, 5, 7, 9, 11};
// Place on the line of fifths of the natural letters C D E F G A B (C = 0).
constexpr int kLetterFifths[] = {0, 2, 4, -1, 1, 3, 5};
constexpr char kLetters[] = "CDEFGAB";
// Larger intervals than these are no instrument's transposition.
constexpr int64_t kMaxSteps = 70;
constexpr int64_t kMaxOctaves = 8;
constexpr int kMaxAlteration = 3;
constexpr int kLowestOctave = 0;
constexpr int kHighestOctave = 9;

int LetterFromC(char letter) {
  for (int index = 0; index < 7; ++index) {
    if (kLetters[index] == letter) return index;
  }
  return -1;
}

int FloorDivide(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

bool ReadStep(const tinyxml2::XMLElement* transpose, const char* name, int64_t limit, bool required, int* value,
              std::string* problem) {
  const tinyxml2::XMLElement* child = transpose->FirstChildElement(name);
  if (!child) {
    if (required) *problem = std::string("a <transpose> without <") + name + ">";
    return !required;
  }
  int64_t read = 0;
  if (!ParseInteger(TrimmedText(child), -limit, limit, &read)) {
    *problem = std::string("the <") + name + "> \"" + TrimmedText(child) + "\" of a <transpose>";
    return false;
  }
  *value = static_cast<int>(read);
  return true;
}

}  // namespace

bool Transposition::Read(const tinyxml2::XMLElement* transpose, Transposition* transposition, std::string* problem) {
  Transposition read;
  if (!ReadStep(transpose, "chromatic", kMaxSteps, true, &read.chromatic, problem)) return false;
  // Without <diatonic> the letter steps are those of the nearest interval.
  read.diatonic = static_cast<int>(std::lround(read.chromatic * 7.0 / 12.0));
  if (!ReadStep(transpose, "diatonic", kMaxSteps, false, &read.diatonic, problem) ||
      !ReadStep(transpose, "octave-change", kMaxOctaves, false, &read.octaveChange, problem)) {
    return false;
  }
  read.doubled = transpose->FirstChildElement("double") != nullptr;
  *transposition = read;
  return true;
}

bool Transposition::ToConcert(headless::NoteSpec* spec) const {
  int letter = LetterFromC(spec->letter);
  if (letter < 0) return false;
  int writtenStep = spec->octave * 7 + letter;
  int writtenSemitone = spec->octave * 12 + kNaturalSemitones[letter] + spec->alteration;
  int step = writtenStep + diatonic + 7 * octaveChange;
  int semitone = writtenSemitone + chromatic + 12 * octaveChange;
  int octave = FloorDivide(step, 7);
  int concertLetter = step - 7 * octave;
  int alteration = semitone - (octave * 12 + kNaturalSemitones[concertLetter]);
  if (alteration < -kMaxAlteration || alteration > kMaxAlteration || octave < kLowestOctave ||
      octave > kHighestOctave) {
    return false;
  }
  spec->letter = kLetters[concertLetter];
  spec->alteration = alteration;
  spec->octave = octave;
  return true;
}

KeyState Transposition::ToConcert(const KeyState& written, bool* enharmonic) const {
  // The interval's place on the line of fifths: where C goes.
  headless::NoteSpec middleC;
  middleC.letter = 'C';
  middleC.octave = 4;
  KeyState concert = written;
  *enharmonic = false;
  if (IsNone() || !ToConcert(&middleC)) return concert;
  concert.fifths += kLetterFifths[LetterFromC(middleC.letter)] + 7 * middleC.alteration;
  while (concert.fifths > 7 || concert.fifths < -7) {
    concert.fifths += concert.fifths > 7 ? -12 : 12;
    *enharmonic = true;
  }
  return concert;
}

}  // namespace musicxml
