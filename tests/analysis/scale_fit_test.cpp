#include "analysis/scale_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/tc_string.h"

namespace {

// One staff, a measure per text of pitch names.
ScaleFit FitOf(const std::vector<std::string>& measures) {
  ScaleFit fit;
  int32_t measure = 1;
  for (const std::string& names : measures) {
    size_t start = 0;
    while (start < names.size()) {
      size_t end = names.find(' ', start);
      if (end == std::string::npos) end = names.size();
      TCString name;
      name.SetCString(names.substr(start, end - start).c_str());
      fit.AddNote(measure, 1, ScaleFit::PitchClassOfName(&name));
      start = end + 1;
    }
    ++measure;
  }
  return fit;
}

TEST(ScaleFitTest, PitchClassesFollowLetterAndSigns) {
  const std::pair<const char*, int32_t> names[] = {{"C4", 0},  {"C#4", 1},  {"Ebb2", 2}, {"Fx5", 7},
                                                   {"B#3", 0}, {"Cb4", 11}, {"", -1},    {"H4", -1}};
  for (const auto& [text, pitchClass] : names) {
    TCString name;
    name.SetCString(text);
    EXPECT_EQ(ScaleFit::PitchClassOfName(&name), pitchClass) << text;
  }
  EXPECT_EQ(ScaleFit::PitchClassOfName(nullptr), -1);
}

// Chromatic passing notes and a modulation leave a tonal piece in its keys;
// a line spread over all twelve pitch classes keeps to none; a few notes are
// too few to judge.
TEST(ScaleFitTest, OnlyMusicSpreadOverAllTwelvePitchClassesKeepsToNoKey) {
  ScaleFit chromaticTonal = FitOf({"C4 D4 E4 F4 G4 F#4 G4 A4", "B4 C5 C#5 D5 G4 G#4 A4 B4", "C5 B4 Bb4 A4 G4 F4 E4 D4",
                                   "G4 A4 B4 C5 D5 E5 F#5 G5", "F#5 E5 D5 C#5 D5 B4 A4 G4", "C5 D5 E5 F5 G5 A5 B5 C6"});
  EXPECT_GT(chromaticTonal.MedianShare(), 0.8);
  EXPECT_FALSE(chromaticTonal.KeepsToNoKey());

  ScaleFit atonal = FitOf({"C#5 D5 G4 Bb4 A4 Eb5", "E5 F#4 B4 F4 Ab4 C5", "D5 C#5 Bb4 G4 Eb5 A4", "F#4 E5 C5 B4 Ab4 F4",
                           "G4 Eb5 D5 C#5 Bb4 Bb4"});
  EXPECT_LT(atonal.MedianShare(), 0.72);
  EXPECT_TRUE(atonal.KeepsToNoKey());

  ScaleFit fewNotes = FitOf({"C#5 D5 G4 Bb4", "E5 F#4 B4 F4", "D5 C#5 Bb4 G4"});
  EXPECT_EQ(fewNotes.MedianShare(), -1);
  EXPECT_FALSE(fewNotes.KeepsToNoKey());
}

}  // namespace
