#include "headless/pitch_spelling.h"

#include <cctype>
#include <cstdlib>

namespace headless {

namespace {

constexpr int kLetters = 7;
constexpr int kLetterC = 2;
constexpr int kLetterF = 5;
constexpr int kLetterB = 1;
constexpr int kMiddleCOctave = 4;
constexpr int kModeMinor = 1;

int Modulo7(int value) { return ((value % kLetters) + kLetters) % kLetters; }

int FifthsOf(uint16_t keyValue) { return static_cast<int8_t>(keyValue & 0xFF); }

bool IsMinor(uint16_t keyValue) { return ((keyValue >> 8) & 0x3F) == kModeMinor; }

// Letters counted upward from C (C = 0 ... B = 6), the order octaves run in.
int StepFromC(int letter) { return Modulo7(letter - kLetterC); }

bool ParseAccidentals(const char*& text, int* alteration) {
  *alteration = 0;
  if (*text == 'n') {
    ++text;
    return true;
  }
  if (*text == 'x') {
    *alteration = 2;
    ++text;
  }
  while (*text == '#') {
    ++*alteration;
    ++text;
  }
  if (*alteration == 0) {
    while (*text == 'b') {
      --*alteration;
      ++text;
    }
  }
  return true;
}

bool ParseOctave(const char*& text, int* octave) {
  bool negative = *text == '-';
  if (negative) ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  int value = 0;
  while (std::isdigit(static_cast<unsigned char>(*text))) {
    value = value * 10 + (*text - '0');
    if (value > 99) return false;
    ++text;
  }
  *octave = negative ? -value : value;
  return true;
}

}  // namespace

int LetterIndex(char letter) { return letter >= 'A' && letter <= 'G' ? letter - 'A' : -1; }

uint16_t MakeKeyValue(int fifths, bool minor) {
  return static_cast<uint16_t>((static_cast<uint8_t>(static_cast<int8_t>(fifths))) | ((minor ? kModeMinor : 0) << 8));
}

int TonicLetterOf(uint16_t keyValue) {
  // Each fifth up is four letters up; the minor tonic lies two letters below the major one.
  int major = Modulo7(kLetterC + 4 * FifthsOf(keyValue));
  return IsMinor(keyValue) ? Modulo7(major - 2) : major;
}

int KeyAlterationOf(uint16_t keyValue, int letter) {
  int fifths = FifthsOf(keyValue);
  for (int i = 0; i < fifths && i < kLetters; ++i) {
    if (Modulo7(kLetterF + 4 * i) == letter) return 1;  // F C G D A E B
  }
  for (int i = 0; i < -fifths && i < kLetters; ++i) {
    if (Modulo7(kLetterB + 3 * i) == letter) return -1;  // B E A D G C F
  }
  return 0;
}

bool PlaceNote(const NoteSpec& note, uint16_t keyValue, int16_t octaveValue, NotePlacement* placement) {
  int letter = LetterIndex(note.letter);
  if (letter < 0 || !placement) return false;
  int tonic = TonicLetterOf(keyValue);
  int writtenOctave = note.octave - octaveValue / 12;
  int steps = kLetters * (writtenOctave - kMiddleCOctave) + StepFromC(letter) - StepFromC(tonic);
  int raiseLower = note.alteration - KeyAlterationOf(keyValue, letter);
  if (steps < -32768 || steps > 32767) return false;
  placement->displacement = static_cast<int16_t>(steps);
  placement->raiseLower = static_cast<int16_t>(raiseLower);
  return true;
}

bool ParseNoteText(const char* text, NoteSpec* spec) {
  if (!text || !spec) return false;
  NoteSpec parsed;
  if (*text == '~') {
    parsed.flags |= kTiedFromPreviousFlag;
    ++text;
  }
  if (LetterIndex(*text) < 0) return false;
  parsed.letter = *text++;
  if (!ParseAccidentals(text, &parsed.alteration) || !ParseOctave(text, &parsed.octave)) return false;
  if (text[0] == '!' && text[1] == 0) {
    parsed.flags |= kAccidentalShownFlag;
    text += 1;
  } else if (text[0] == '(' && text[1] == '!' && text[2] == ')' && text[3] == 0) {
    parsed.flags |= kAccidentalShownFlag | kParenthesesFlag;
    text += 3;
  }
  if (*text != 0) return false;
  *spec = parsed;
  return true;
}

}  // namespace headless
