// Large scores made from a seed, for whole-score scans and benchmarks: every
// kind of material the analysis looks at (alterations shown and not, chords,
// second layers, grace notes, ties into the next measure, key changes, grand
// staves, linked parts with their own system breaks).
#pragma once

#include <cstdint>

namespace headless {
class ScoreBuilder;
}

struct GeneratedScoreShape {
  int staves = 16;
  int measures = 400;
  int layers = 1;  // 1 or 2; the odd staves always use one layer only
  bool chords = true;
  // Of the first layer in a measure of four quarters; the second has half as
  // many. Many entries make dense measures: of their share of the measure,
  // but never shorter than the host's smallest duration.
  int entriesPerMeasure = 4;
  int linkedParts = 2;
  int measuresPerSystem = 8;
  uint32_t seed = 1;
};

// Builds into the builder's document; answers the number of notes written.
int64_t BuildGeneratedScore(headless::ScoreBuilder& builder, const GeneratedScoreShape& shape);
