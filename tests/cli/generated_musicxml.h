// MusicXML text of a generated score for the file benchmarks: parts of one
// or two staves, two voices on the first staff of each part, chords, notes
// altered with and without a shown accidental, key changes, grace notes and
// ties, laid out the way notation programs write MusicXML.
#pragma once

#include <cstdint>
#include <string>

struct MusicXmlScoreShape {
  int parts = 4;
  int measures = 100;
  int notesPerMeasure = 8;  // per voice; each measure is a 4/4 bar
  bool grandStaves = true;  // every other part has two staves
  int measuresPerKey = 16;  // the key changes after so many measures
  uint32_t seed = 1;
};

// The whole file, and the number of <note> elements in it.
std::string MusicXmlScoreText(const MusicXmlScoreShape& shape, int64_t* notes);
