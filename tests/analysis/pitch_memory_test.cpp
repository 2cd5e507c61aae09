#include "analysis/pitch_memory.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/analysis_settings.h"
#include "analysis/tc_analyze_entry_collection.h"
#include "analysis/tc_note_pitch_found_info.h"
#include "framework/tc_string.h"
#include "headless/score_builder.h"
#include "score/tc_note_entry_cell.h"
#include "tests/headless/host_fixture.h"

namespace {

using headless::kEighth;
using headless::kHalf;
using headless::kQuarter;
using headless::kWhole;

constexpr uint32_t kAllLayers = 15;

// Every search runs both ways: through the index and walking the whole group.
class PitchMemoryTest : public headless::HostFixture, public ::testing::WithParamInterface<bool> {
 protected:
  // A new group that the searches go through as the parameter says.
  static PitchSearch Search() { return GetParam() ? PitchSearch::Indexed : PitchSearch::WholeGroup; }

  static void Collect(TCAnalyzeEntryCollection* collection, int16_t staff, int16_t measure,
                      int32_t layerMode = TCNoteEntryCell::kLayersShown, uint32_t layerMask = kAllLayers) {
    TCNoteEntryCell cell(measure, staff);
    cell.SetLayerMode(layerMode);
    ASSERT_TRUE(cell.Load());
    CollectCellEntries(layerMask, &cell, collection);
  }
  // The entry of the collection with that entry number.
  static const TCNotePitches* Entry(const TCAnalyzeEntryCollection& collection, uint32_t number) {
    for (int32_t i = 0; i < collection.GetCount(); ++i) {
      if (collection.GetEntryAt(i)->GetEntryNumber() == number) return collection.GetEntryAt(i);
    }
    ADD_FAILURE() << "no entry " << number;
    return nullptr;
  }
  // The entry number of the earlier note found for the first note of an entry, 0 for none.
  static uint32_t PreviousOf(const TCAnalyzeEntryCollection& collection, uint32_t number, bool independentOctaves,
                             int32_t chordLine = kAnyChordLine, int32_t noteIndex = 0) {
    const TCNotePitches* entry = Entry(collection, number);
    if (!entry) return 0;
    TCNotePitchFoundInfo found;
    bool answer = chordLine == kAnyChordLine
                      ? FindPreviousPitch(entry->GetPitchAt(noteIndex), entry, &collection, independentOctaves, &found)
                      : FindPreviousChordLinePitch(entry->GetPitchAt(noteIndex), entry, &collection, chordLine,
                                                   independentOctaves, &found);
    EXPECT_EQ(answer, found.IsFound());
    EXPECT_EQ(found.note == nullptr, found.entry == nullptr);
    return found.entry ? found.entry->GetEntryNumber() : 0;
  }
  static std::string Name(const TCNotePitch* pitch) { return pitch->GetStoredPitchName()->GetUTF8(); }
};

TEST_P(PitchMemoryTest, CollectedEntriesCarryPitchNamesInTheKeyOfTheirCell) {
  headless::ScoreBuilder builder;
  int16_t horn = builder.AddStaff("Horn");
  builder.AddMeasures(3);
  builder.SetKey(2, -2);
  builder.SetCellKey(horn, 3, 2);
  auto voice = builder.Voice(horn);
  voice.Note("Ebb2", kWhole);
  voice.Note("Ebb4", kHalf);
  uint32_t grace1 = voice.Grace("C5");
  uint32_t grace2 = voice.Grace("D5");
  uint32_t chord = voice.Chord({"Bb3", "F5", "Gx4"}, kHalf);
  uint32_t inCellKey = voice.Note("F#4", kWhole);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  for (int16_t measure = 1; measure <= 3; ++measure) Collect(&collection, horn, measure);
  ASSERT_EQ(collection.GetCount(), 6);
  EXPECT_EQ(Name(collection.GetEntryAt(0)->GetPitchAt(0)), "Ebb2");
  EXPECT_EQ(Name(collection.GetEntryAt(1)->GetPitchAt(0)), "Ebb4");
  const TCNotePitches* chordEntry = Entry(collection, chord);
  ASSERT_EQ(chordEntry->GetCount(), 3);
  EXPECT_EQ(Name(chordEntry->GetPitchAt(0)), "Bb3");
  EXPECT_EQ(Name(chordEntry->GetPitchAt(1)), "F5");
  EXPECT_EQ(Name(chordEntry->GetPitchAt(2)), "Gx4");
  EXPECT_EQ(chordEntry->GetPitchAt(2)->GetIndex(), 2);
  EXPECT_EQ(chordEntry->GetIndexInFrame(), 3) << "after the half note and the two grace notes of its measure";
  EXPECT_EQ(chordEntry->GetGraceRun(), -1);
  EXPECT_EQ(Entry(collection, grace1)->GetGraceRun(), 0);
  EXPECT_EQ(Entry(collection, grace2)->GetGraceRun(), 1);
  EXPECT_TRUE(Entry(collection, grace2)->IsGrace());
  const TCNotePitches* sharp = Entry(collection, inCellKey);
  EXPECT_EQ(Name(sharp->GetPitchAt(0)), "F#4");
  EXPECT_EQ(sharp->GetPitchAt(0)->GetRaiseLower(), 0) << "the cell's own key of two sharps gives the F its sharp";
}

TEST_P(PitchMemoryTest, RestsMaskedLayersAndHiddenStavesStayOutOfTheMemory) {
  headless::ScoreBuilder builder;
  int16_t viola = builder.AddStaff("Viola");
  builder.AddMeasures(3);
  auto first = builder.Voice(viola);
  first.Rest(kHalf);
  uint32_t layerOne = first.Note("C4", kHalf);
  uint32_t layerTwo = builder.Voice(viola, 2).Note("E4", kWhole);
  builder.Voice(viola, 1, 2).Note("D4", kWhole);
  builder.Voice(viola, 1, 3).Note("G4", kWhole);
  builder.SetStaffFlagsInMeasure(viola, 2, 0x2000);
  builder.SetStaffFlagsInMeasure(viola, 3, 0x0200);

  TCAnalyzeEntryCollection onlyFirstLayer(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&onlyFirstLayer, viola, 1, TCNoteEntryCell::kLayersShown, 1);
  ASSERT_EQ(onlyFirstLayer.GetCount(), 1);
  EXPECT_EQ(onlyFirstLayer.GetEntryAt(0)->GetEntryNumber(), layerOne);

  TCAnalyzeEntryCollection everything(TCAnalyzeEntryCollection::Entries::Owned, Search());
  for (int16_t measure = 1; measure <= 3; ++measure) Collect(&everything, viola, measure);
  ASSERT_EQ(everything.GetCount(), 2) << "no rest, nothing from the measures where the staff is hidden";
  EXPECT_EQ(everything.GetEntryAt(1)->GetEntryNumber(), layerTwo);
  EXPECT_EQ(everything.GetEntryAt(1)->GetLayer(), 2);

  builder.SetStaffFlagsInMeasure(viola, 2, 0x0001);
  TCAnalyzeEntryCollection otherFlag(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&otherFlag, viola, 2);
  EXPECT_EQ(otherFlag.GetCount(), 1) << "only the two hiding flags keep an entry out";
}

TEST_P(PitchMemoryTest, EqualCandidatesGoToTheOneCollectedFirst) {
  headless::ScoreBuilder builder;
  int16_t upper = builder.AddStaff("Upper");
  int16_t lower = builder.AddStaff("Lower");
  builder.AddMeasures(1);
  auto voice = builder.Voice(upper);
  uint32_t upperSharp = voice.Note("F#4!", kQuarter);
  uint32_t current = voice.Note("F4", kQuarter);
  uint32_t lowerFlat = builder.Voice(lower).Note("Fb4!", kQuarter);

  TCAnalyzeEntryCollection upperFirst(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&upperFirst, upper, 1);
  Collect(&upperFirst, lower, 1);
  EXPECT_EQ(PreviousOf(upperFirst, current, false), upperSharp);

  TCAnalyzeEntryCollection lowerFirst(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&lowerFirst, lower, 1);
  Collect(&lowerFirst, upper, 1);
  EXPECT_EQ(PreviousOf(lowerFirst, current, false), lowerFlat);
}

TEST_P(PitchMemoryTest, LatestEarlierNoteWinsAndLaterNotesNeverCount) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(3);
  auto voice = builder.Voice(flute);
  voice.Note("F4", kWhole);
  // Layer 2 of measure 2 holds an F# at its start; the current F is a quarter later.
  uint32_t earlierInOtherLayer = builder.Voice(flute, 2, 2).Note("F#4!", kHalf);
  voice.Note("A4", kQuarter);
  uint32_t current = voice.Note("F4", kQuarter);
  uint32_t higher = voice.Note("F5", kHalf);
  uint32_t nextMeasure = voice.Note("F4", kWhole);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  for (int16_t measure = 1; measure <= 3; ++measure) Collect(&collection, flute, measure);
  EXPECT_EQ(PreviousOf(collection, current, false), earlierInOtherLayer);
  EXPECT_EQ(PreviousOf(collection, nextMeasure, false), higher) << "the F5 just before it, whatever its octave";
  EXPECT_EQ(PreviousOf(collection, nextMeasure, true), current) << "with independent octaves only the F4";
  uint32_t first = collection.GetEntryAt(0)->GetEntryNumber();
  EXPECT_EQ(PreviousOf(collection, first, false), 0u);
}

TEST_P(PitchMemoryTest, SameBeatInAnotherLayerCountsAsEarlier) {
  headless::ScoreBuilder builder;
  int16_t cello = builder.AddStaff("Cello");
  builder.AddMeasures(1);
  auto upper = builder.Voice(cello);
  upper.Rest(kQuarter);
  uint32_t current = upper.Note("C4", kQuarter);
  auto lower = builder.Voice(cello, 2);
  lower.Rest(kQuarter);
  uint32_t sameBeat = lower.Note("C#4!", kQuarter);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&collection, cello, 1);
  EXPECT_EQ(PreviousOf(collection, current, false), sameBeat);
}

TEST_P(PitchMemoryTest, IndependentOctavesCompareLetterAndOctave) {
  headless::ScoreBuilder builder;
  int16_t harp = builder.AddStaff("Harp");
  builder.AddMeasures(3);
  uint32_t plain = builder.Voice(harp, 1, 1).Note("F4", kWhole);
  uint32_t flat = builder.Voice(harp, 1, 2).Note("Fb4!", kWhole);
  auto last = builder.Voice(harp, 1, 3);
  uint32_t higher = last.Note("F5", kHalf);
  uint32_t sharp = last.Note("F#4", kHalf);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  for (int16_t measure = 1; measure <= 3; ++measure) Collect(&collection, harp, measure);
  EXPECT_EQ(PreviousOf(collection, sharp, true), flat);
  EXPECT_EQ(PreviousOf(collection, sharp, false), higher);

  TCAnalyzeEntryCollection withoutFlat(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&withoutFlat, harp, 1);
  Collect(&withoutFlat, harp, 3);
  EXPECT_EQ(PreviousOf(withoutFlat, sharp, true), plain);
}

TEST_P(PitchMemoryTest, ChordLinesMatchOnlyTheirOwnVoice) {
  headless::ScoreBuilder builder;
  int16_t piano = builder.AddStaff("Piano");
  builder.AddMeasures(2);
  auto voice = builder.Voice(piano);
  uint32_t single = voice.Note("F#4!", kHalf);
  uint32_t triad = voice.Chord({"C4", "F4", "A4"}, kHalf);
  uint32_t current = voice.Chord({"D4", "F#4", "B4"}, kWhole);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&collection, piano, 1);
  Collect(&collection, piano, 2);
  const TCNotePitches* currentEntry = Entry(collection, current);
  const TCNotePitches* triadEntry = Entry(collection, triad);
  const TCNotePitch* sharp = currentEntry->GetPitchAt(1);

  EXPECT_EQ(FindMatchingNote(sharp, triadEntry, 1, false), triadEntry->GetPitchAt(1));
  EXPECT_EQ(FindMatchingNote(sharp, triadEntry, 2, false), nullptr);
  EXPECT_EQ(FindMatchingNote(sharp, triadEntry, kAnyChordLine, false), triadEntry->GetPitchAt(1));
  EXPECT_EQ(FindMatchingNote(sharp, Entry(collection, single), 2, false), Entry(collection, single)->GetPitchAt(0))
      << "a single note is on every chord line";
  EXPECT_EQ(PreviousOf(collection, current, false, 1, 1), triad);
  EXPECT_EQ(PreviousOf(collection, current, false, 2, 1), single);
}

TEST_P(PitchMemoryTest, GraceNoteNeverWinsOverAMainNoteOfItsMeasure) {
  headless::ScoreBuilder builder;
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  auto upper = builder.Voice(oboe);
  upper.Note("C5", kQuarter);
  uint32_t grace = upper.Grace("F#4!");
  upper.Note("G4", kQuarter);
  uint32_t current = upper.Note("F4", kHalf);
  uint32_t mainNote = builder.Voice(oboe, 2).Note("F4", kEighth);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&collection, oboe, 1);
  EXPECT_EQ(PreviousOf(collection, current, false), mainNote);
  EXPECT_EQ(PreviousOf(collection, current, false, 0), grace) << "chord lines know no grace rule";
}

TEST_P(PitchMemoryTest, LaterGraceOfTheSameRunWins) {
  headless::ScoreBuilder builder;
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  auto voice = builder.Voice(oboe);
  voice.Grace("F#5!");
  uint32_t second = voice.Grace("Fb5!");
  uint32_t current = voice.Note("F5", kWhole);
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  Collect(&collection, oboe, 1);
  EXPECT_EQ(PreviousOf(collection, current, false), second);
}

TEST_P(PitchMemoryTest, CourtesyRangeCountsBarlines) {
  headless::ScoreBuilder builder;
  int16_t violin = builder.AddStaff("Violin");
  int16_t empty = builder.AddStaff("Rests");
  builder.AddMeasures(52);
  for (int16_t measure = 1; measure <= 52; ++measure) {
    if (measure != 40) builder.Voice(violin, 1, measure).Note("G4", kWhole);
    builder.Voice(empty, 1, measure).Rest(kWhole);
  }
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Owned, Search());
  for (int16_t measure = 1; measure <= 52; ++measure) Collect(&collection, violin, measure);
  auto inMeasure = [&](int measure) {
    for (int32_t i = 0; i < collection.GetCount(); ++i) {
      if (collection.GetEntryAt(i)->GetMeasure() == measure) return collection.GetEntryAt(i);
    }
    return static_cast<TCNotePitches*>(nullptr);
  };
  AnalysisSettings settings;
  settings.courtesyMeasureRange = 0;
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(5), inMeasure(5), &collection, settings));
  EXPECT_FALSE(IsWithinCourtesyRange(inMeasure(4), inMeasure(5), &collection, settings));
  settings.courtesyMeasureRange = 2;
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(3), inMeasure(5), &collection, settings));
  EXPECT_FALSE(IsWithinCourtesyRange(inMeasure(2), inMeasure(5), &collection, settings));
  settings.courtesyMeasureRange = kUnlimitedCourtesyRange;
  settings.checkOptions &= ~kNoCourtesyAfterMeasureRest;
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(1), inMeasure(51), &collection, settings));
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(39), inMeasure(41), &collection, settings));

  // With the rest rule a measure of rest for the group in between ends the memory.
  settings.checkOptions |= kNoCourtesyAfterMeasureRest;
  EXPECT_FALSE(IsWithinCourtesyRange(inMeasure(39), inMeasure(41), &collection, settings));
  EXPECT_FALSE(IsWithinCourtesyRange(inMeasure(1), inMeasure(51), &collection, settings));
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(41), inMeasure(51), &collection, settings));
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(38), inMeasure(39), &collection, settings));
  settings.courtesyMeasureRange = 2;
  EXPECT_TRUE(IsWithinCourtesyRange(inMeasure(41), inMeasure(43), &collection, settings));
  EXPECT_FALSE(IsWithinCourtesyRange(inMeasure(41), inMeasure(44), &collection, settings));
}

INSTANTIATE_TEST_SUITE_P(BothSearches, PitchMemoryTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Indexed" : "WholeGroup";
                         });

}  // namespace
