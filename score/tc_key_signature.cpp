#include "score/tc_key_signature.h"

namespace {

constexpr int32_t kLetterCount = 7;
constexpr int32_t kMajorTonics[8] = {2, 6, 3, 0, 4, 1, 5, 2};  // C G D A E B F# C#
constexpr int32_t kMinorTonics[8] = {0, 4, 1, 5, 2, 6, 3, 0};  // A E B F# C# G# D# A#

// Place of a letter (A = 0) in the order F C G D A E B, 1-based.
int32_t SharpOrderPosition(int32_t letter) {
  int32_t position = (2 * letter + 5) % kLetterCount;
  return position == 0 ? kLetterCount : position;
}

// Place of a letter in the order B E A D G C F, 1-based.
int32_t FlatOrderPosition(int32_t letter) {
  int32_t position = (17 - 2 * letter) % kLetterCount;
  return position == 0 ? kLetterCount : position;
}

bool IsLetterIndex(int32_t letter) { return letter >= 0 && letter < kLetterCount; }

}  // namespace

TCKeySignature::TCKeySignature(uint16_t keyValue) : __TCBaseData(buffer_, sizeof(buffer_)) { SetKeyValue(keyValue); }

__TCBaseData* TCKeySignature::CreateObject() const { return new TCKeySignature(); }

uint16_t TCKeySignature::GetKeyValue() const { return ReadField<uint16_t>(0); }

void TCKeySignature::SetKeyValue(uint16_t keyValue) { WriteField<uint16_t>(0, keyValue); }

int8_t TCKeySignature::GetSignedCount() const { return static_cast<int8_t>(GetKeyValue() & 0xFF); }

int32_t TCKeySignature::GetMode() const { return (GetKeyValue() >> 8) & 0x3F; }

bool TCKeySignature::IsLinear() const { return (GetKeyValue() & 0xC000) == 0 && (GetMode() == 0 || GetMode() == 1); }

bool TCKeySignature::IsMinor() const { return (GetKeyValue() & 0xC000) == 0 && GetMode() == 1; }

int32_t TCKeySignature::GetSharpCount() const {
  if (!IsLinear()) return -1;
  return GetSignedCount() > 0 ? GetSignedCount() : 0;
}

int32_t TCKeySignature::GetFlatCount() const {
  if (!IsLinear()) return -1;
  return GetSignedCount() < 0 ? -GetSignedCount() : 0;
}

int32_t TCKeySignature::GetTonicLetter() const {
  if (!IsLinear()) return -1;
  int32_t sharps = GetSharpCount();
  int32_t flats = GetFlatCount();
  const int32_t* table = IsMinor() ? kMinorTonics : kMajorTonics;
  if (flats > 0) return table[kLetterCount - (flats % kLetterCount)];
  return table[sharps % kLetterCount];
}

bool TCKeySignature::IsLetterSharpened(int32_t letter) const {
  int32_t sharps = GetSharpCount();
  if (sharps <= 0 || !IsLetterIndex(letter)) return false;
  return sharps >= SharpOrderPosition(letter);
}

bool TCKeySignature::IsLetterFlattened(int32_t letter) const {
  int32_t flats = GetFlatCount();
  if (flats <= 0 || !IsLetterIndex(letter)) return false;
  return flats >= FlatOrderPosition(letter);
}
