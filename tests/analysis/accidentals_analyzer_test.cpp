// What a score can show of the analysis is in tests/scenarios; these tests
// hold what a MusicXML score cannot: staff names of the host's own, older
// hosts, selections that start inside a measure, a staff that uses only its
// second layer, measure flags and an analyzer without a region.
#include "analysis/tc_accidentals_analyzer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/tc_analyze_entry_collection.h"
#include "scan_fixture.h"

namespace scan_test {
namespace {

using headless::kHalf;
using headless::kQuarter;
using headless::kWhole;

class AccidentalsAnalyzerTest : public ScanFixture {};

TEST_F(AccidentalsAnalyzerTest, GrandStaffIsOneInstrument) {
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  builder.AddMeasures(1);
  builder.AddInstrument({right, left}, "Piano");
  builder.Voice(right).Note("F#4!", kWhole);
  auto bass = builder.Voice(left);
  bass.Rest(kHalf);
  uint32_t natural = bass.Note("F4", kHalf);

  Scan();
  EXPECT_EQ(KindOn(natural), FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Description(natural), "Pitch diff with F#4 (on grand staff).");

  CheckOff(kGrandStaff);
  Scan();
  EXPECT_EQ(Description(natural), "Pitch diff with F#4 (on 'Piano RH').") << "found by the cross-staff pass";
}

TEST_F(AccidentalsAnalyzerTest, GrandStaffFromNamedPianoGroupsOnOlderHosts) {
  ReinstallHost(0x10500000);
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  int16_t harpRight = builder.AddStaff("Harp RH");
  int16_t harpLeft = builder.AddStaff("Harp LH");
  int16_t celestaRight = builder.AddStaff("Celesta RH");
  int16_t celestaLeft = builder.AddStaff("Celesta LH");
  builder.AddMeasures(1);
  int16_t organRight = builder.AddStaff("Organ RH");
  int16_t organLeft = builder.AddStaff("Organ LH");
  builder.AddGroup(right, left, "Piano", 3, 1);
  builder.AddGroup(harpRight, harpLeft, "Harp", 1, 1);
  builder.AddGroup(celestaRight, celestaLeft, "", 3, 1);
  builder.AddGroup(organRight, organLeft, "Organ", 3, 0);
  uint32_t piano = 0, harp = 0, celesta = 0, organ = 0;
  struct Pair {
    int16_t upper, lower;
    uint32_t* natural;
  } pairs[] = {{right, left, &piano},
               {harpRight, harpLeft, &harp},
               {celestaRight, celestaLeft, &celesta},
               {organRight, organLeft, &organ}};
  for (const Pair& pair : pairs) {
    builder.Voice(pair.upper).Note("F#4!", kWhole);
    auto bass = builder.Voice(pair.lower);
    bass.Rest(kHalf);
    *pair.natural = bass.Note("F4", kHalf);
  }
  CheckOff(kCrossStaveChecks);
  Scan();
  EXPECT_EQ(findings_.size(), 1u) << "only the named piano-bracket group of two staves is one instrument";
  EXPECT_EQ(Description(piano), "Pitch diff with F#4 (on grand staff).");
  EXPECT_TRUE(Host().Misuse().CallErrors().empty());
}

TEST_F(AccidentalsAnalyzerTest, EntryBeforeTheRegionStartIsMemoryOnly) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(3);
  builder.Voice(flute, 1, 1).Note("C#5", kWhole);
  auto voice = builder.Voice(flute, 1, 2);
  uint32_t before = voice.Note("F#4", kHalf);
  uint32_t natural = voice.Note("F4", kHalf);
  builder.Voice(flute, 1, 3).Note("G#4", kWhole);
  builder.Voice(oboe, 1, 2).Note("D#5", kWhole);

  Host().Selection().Set(flute, 2, kQuarter, flute, 2, kWhole);
  Scan();
  ASSERT_EQ(findings_.size(), 1u) << "nothing outside the selected staff and time";
  EXPECT_TRUE(FindingsOn(before).empty());
  EXPECT_EQ(KindOn(natural), FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Description(natural), "Pitch diff with F#4.");
}

TEST_F(AccidentalsAnalyzerTest, StaffUsingOneLayerGetsNoteMissing) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  uint32_t firstLayer = builder.Voice(flute, 1).Note("G#4", kWhole);
  uint32_t secondLayer = builder.Voice(oboe, 2).Note("A#4", kWhole);
  Scan();
  EXPECT_EQ(KindOn(firstLayer), FindingKind::NoteMissing);
  EXPECT_EQ(KindOn(secondLayer), FindingKind::NoteMissing);
}

TEST_F(AccidentalsAnalyzerTest, MeasureFlagReportsSpelledAccidentals) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(2);
  builder.SetKey(1, 2);
  uint32_t first = builder.Voice(flute, 1, 1).Note("F#4", kWhole);
  uint32_t second = builder.Voice(flute, 1, 2).Note("C#5", kWhole);
  EXPECT_TRUE(Scan().empty());
  builder.SetMeasureFlagValue(2, 1);
  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(second), FindingKind::NoteMissing);
  EXPECT_TRUE(FindingsOn(first).empty());
}

TEST_F(AccidentalsAnalyzerTest, AnalyzerWithoutRegionScansNothing) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(flute).Note("F#4", kWhole);
  TCAccidentalsAnalyzer analyzer(&rows_, Settings());
  EXPECT_EQ(analyzer.GetLayerMask(), 15u);
  TCUndoBlock block;
  EXPECT_FALSE(block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName));
  EXPECT_EQ(rows_.GetRowCount(), 0);
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().CallLog().Count("TX_LoadTGF"), 0);
}

}  // namespace
// The order a group's notes are decided in: by measure, each measure's in
// the group's order; counted where measures lie close, sorted where not.
TEST(EntriesByMeasure, OrdersByMeasureKeepingTheGroupsOrderWithin) {
  auto orderOf = [](const std::vector<int32_t>& measures) {
    TCAnalyzeEntryCollection collection;
    std::vector<TCNotePitches*> entries;
    for (int32_t measure : measures) {
      entries.push_back(new TCNotePitches());
      entries.back()->SetMeasure(measure);
    }
    collection.AddEntries(entries);
    return TCAccidentalsAnalyzer::EntriesByMeasure(collection);
  };
  using Order = std::vector<int32_t>;
  EXPECT_EQ(orderOf({1, 2, 3, 1, 2, 3}), (Order{0, 3, 1, 4, 2, 5})) << "staff by staff";
  EXPECT_EQ(orderOf({4, 4, 5, 7, 7}), (Order{0, 1, 2, 3, 4})) << "in order already";
  EXPECT_EQ(orderOf({300000, 2, -300000, 2, 300000}), (Order{2, 1, 3, 0, 4})) << "far apart";
  EXPECT_TRUE(orderOf({}).empty());
}

}  // namespace scan_test
