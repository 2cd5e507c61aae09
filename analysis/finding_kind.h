// The kinds of finding that a scan reports, with their report texts and
// which parenthesis option each follows.
#pragma once

#include <cstdint>

enum class FindingKind : int32_t {
  DifferOnBeat,
  PitchDiffSameOctave,
  PitchDiffOtherOctave,
  PreviousGraceAccidental,
  LayerLineMissing,
  NoteMissing,
  ChordLineMissing,
  KeySignatureDifference,
  SystemBreakTie,
  SystemBreakTieMismatched,
  AtonalNote,
};

constexpr int32_t kFindingKindCount = 11;

// Where a kind takes its parentheses from.
enum class ParenthesisRule : int32_t {
  Option,           // one parenthesis option
  MeasureDistance,  // the option chosen by the distance to the related note
  Never,
};

struct FindingKindInfo {
  FindingKind kind;
  // The whole description, or, for kinds that name their related note, the
  // text before the related pitch name.
  const char* description;
  bool namesRelatedNote;
  ParenthesisRule parenthesisRule;
  uint32_t parenthesisOption;
  bool checkedWhenAdded;
};

// Null for a value outside the kinds.
const FindingKindInfo* GetFindingKindInfo(FindingKind kind);
