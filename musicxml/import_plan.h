// What the importer reads from a score before it builds anything: the staves,
// the measures, the keys in force per staff and measure, and the entries of
// every staff and layer. Building only starts once the whole file has been
// read, because the host wants measure lengths and keys before the entries
// that they govern.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "headless/score_builder.h"

namespace musicxml {

struct KeyState {
  int fifths = 0;
  bool minor = false;

  bool operator==(const KeyState& other) const { return fifths == other.fifths && minor == other.minor; }
  bool operator!=(const KeyState& other) const { return !(*this == other); }
};

struct PlannedMeasure {
  std::string number;         // the file's own number attribute
  int32_t nominalLength = 0;  // from the time signature, host units; 0 without one
  int32_t contentLength = 0;  // the furthest point any voice reached
  bool implicit = false;      // a pickup or other measure not counted by the file
  bool systemStart = false;   // <print new-system="yes"> or new-page="yes"
};

struct PlannedEntry {
  int staffIndex = 0;  // into ImportPlan::staves
  int layer = 1;       // 1 to 4
  int measureIndex = 0;
  int32_t position = 0;
  int32_t duration = 0;
  bool grace = false;
  bool rest = false;
  std::vector<headless::NoteSpec> notes;
};

struct PlannedStaff {
  int partIndex = 0;
  int staffInPart = 1;         // 1-based
  std::vector<KeyState> keys;  // the key in force at the start of each measure
};

struct ImportPlan {
  std::vector<PlannedStaff> staves;
  std::vector<PlannedMeasure> measures;
  std::vector<PlannedEntry> entries;
};

}  // namespace musicxml
