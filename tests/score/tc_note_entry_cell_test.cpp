#include "score/tc_note_entry_cell.h"

#include <gtest/gtest.h>

#include <set>

#include "score/tc_note_pitches.h"
#include "shell/host_frame.h"
#include "tests/score/score_test_support.h"

namespace {

class NoteEntryCellTest : public ScoreDataTest {
 protected:
  // One staff, one measure, one quarter note in each of the four layers.
  int16_t BuildFourLayers() {
    headless::ScoreBuilder builder;
    int16_t staff = builder.AddStaff("Piano");
    builder.AddMeasures(1);
    const char* pitches[4] = {"C5", "A4", "E4", "C4"};
    for (int layer = 1; layer <= 4; ++layer) builder.Voice(staff, layer).Note(pitches[layer - 1], headless::kQuarter);
    return staff;
  }

  static std::set<int> LoadedLayerIndices(int16_t staff, int32_t mode) {
    TCNoteEntryCell cell(1, staff);
    cell.SetLayerMode(mode);
    std::set<int> layers;
    if (!cell.Load()) {
      layers.insert(-1);
      return layers;
    }
    for (int32_t i = 0; i < cell.GetCount(); ++i) layers.insert(cell.GetEntryAt(i)->GetLayerIndex());
    return layers;
  }
};

TEST_F(NoteEntryCellTest, LayerModesSelectLayers) {
  int16_t staff = BuildFourLayers();
  Host().Layers().SetShown(1, false);
  EXPECT_EQ(LoadedLayerIndices(staff, 2), (std::set<int>{1}));
  EXPECT_EQ(LoadedLayerIndices(staff, 4), (std::set<int>{3}));
  EXPECT_EQ(LoadedLayerIndices(staff, 0x500), (std::set<int>{0, 2}));
  EXPECT_EQ(LoadedLayerIndices(staff, 0xF00), (std::set<int>{0, 1, 2, 3}));
  EXPECT_EQ(LoadedLayerIndices(staff, 5), (std::set<int>{}));
  EXPECT_EQ(LoadedLayerIndices(staff, -3), (std::set<int>{}));
  EXPECT_EQ(LoadedLayerIndices(staff, -1), (std::set<int>{0, 1, 2, 3}));
  EXPECT_EQ(LoadedLayerIndices(staff, 0), (std::set<int>{0, 2, 3}));
  EXPECT_EQ(LoadedLayerIndices(staff, -2), (std::set<int>{1}));
}

TEST_F(NoteEntryCellTest, EntriesComeInLayerOrderLinkedWithinTheirFrame) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto upper = builder.Voice(staff, 2);
  uint32_t second1 = upper.Note("G5", headless::kHalf);
  uint32_t second2 = upper.Note("A5", headless::kHalf);
  auto lower = builder.Voice(staff, 1);
  uint32_t first1 = lower.Note("C4", headless::kHalf);
  uint32_t first2 = lower.Rest(headless::kHalf);

  TCNoteEntryCell cell(1, staff);
  cell.SetLayerMode(-1);
  ASSERT_TRUE(cell.Load());
  ASSERT_EQ(cell.GetCount(), 4);
  const uint32_t expected[4] = {first1, first2, second1, second2};
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(cell.GetEntryAt(i)->GetEntryNumber(), expected[i]);
  EXPECT_EQ(cell.GetEntryAt(0)->GetPrevious(), nullptr);
  EXPECT_EQ(cell.GetEntryAt(0)->GetNext(), cell.GetEntryAt(1));
  EXPECT_EQ(cell.GetEntryAt(1)->GetNext(), nullptr);  // layers are not linked
  EXPECT_EQ(cell.GetEntryAt(2)->GetPrevious(), nullptr);
  EXPECT_EQ(cell.GetEntryAt(3)->GetPrevious(), cell.GetEntryAt(2));
  EXPECT_TRUE(cell.GetEntryAt(1)->IsRest());
  EXPECT_EQ(cell.GetEntryAt(3)->GetPosition(), headless::kHalf);
  EXPECT_EQ(cell.GetEntryAt(3)->GetIndexInFrame(), 1);

  EXPECT_EQ(cell.FindEntryNumber(second2), cell.GetEntryAt(3));
  EXPECT_EQ(cell.FindEntryNumber(0xDEAD), nullptr);

  // A second load replaces everything and holds no more frames than before.
  ASSERT_TRUE(cell.Load());
  EXPECT_EQ(cell.GetCount(), 4);
  EXPECT_EQ(Host().Frames().LiveFrames(), 4);
}

TEST_F(NoteEntryCellTest, StaffComesFromTheFrameSlotWhenSlotsDifferFromStaves) {
  headless::ScoreBuilder builder;
  int16_t a = builder.AddStaff("A");
  int16_t b = builder.AddStaff("B");
  int16_t c = builder.AddStaff("C");
  builder.AddMeasures(1);
  ASSERT_TRUE(builder.SetSlotOrder({c, a, b}));
  uint32_t onA = builder.Voice(a).Note("D4", headless::kWhole);
  uint32_t onB = builder.Voice(b).Note("E4", headless::kWhole);
  uint32_t onC = builder.Voice(c).Note("F4", headless::kWhole);
  const int16_t staves[3] = {a, b, c};
  const uint32_t entries[3] = {onA, onB, onC};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(staves[i]);
    TCNoteEntryCell cell(1, staves[i]);
    ASSERT_TRUE(cell.Load());
    ASSERT_EQ(cell.GetCount(), 1);
    EXPECT_EQ(cell.GetEntryAt(0)->GetEntryNumber(), entries[i]);
    EXPECT_EQ(cell.GetEntryAt(0)->GetStaff(), staves[i]);
    EXPECT_EQ(cell.GetEntryAt(0)->GetMeasure(), 1);
    void* frame = cell.GetFrame(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(host_frame::Read<int16_t>(frame, host_frame::kSlotOffset), Host().SlotOfStaff(0, staves[i]));
  }
}

TEST_F(NoteEntryCellTest, SaveChangesOnlyTheNoteThatChanged) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Chord({"C4", "E4", "G4"}, headless::kHalf);
  uint32_t later = builder.Voice(staff).Note("F#4", headless::kHalf);
  headless::EntryInfo chordBefore, laterBefore;
  ASSERT_TRUE(Host().Queries().EntryAt(staff, 1, 1, 0, &chordBefore));
  ASSERT_TRUE(Host().Queries().EntryAt(staff, 1, 1, 1, &laterBefore));
  ASSERT_EQ(laterBefore.number, later);

  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCNote* note = cell.FindEntryNumber(later)->GetNoteAt(0);
  note->SetAccidentalShown(true);
  note->SetParenthesized(true);
  ASSERT_TRUE(cell.Save());

  headless::EntryInfo chordAfter, laterAfter;
  ASSERT_TRUE(Host().Queries().EntryAt(staff, 1, 1, 0, &chordAfter));
  ASSERT_TRUE(Host().Queries().EntryAt(staff, 1, 1, 1, &laterAfter));
  ASSERT_EQ(chordAfter.notes.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(chordAfter.notes[i].flags, chordBefore.notes[i].flags);
    EXPECT_EQ(chordAfter.notes[i].displacement, chordBefore.notes[i].displacement);
  }
  ASSERT_EQ(laterAfter.notes.size(), 1u);
  EXPECT_EQ(laterAfter.notes[0].flags ^ laterBefore.notes[0].flags, 0x01800000u);
  EXPECT_EQ(laterAfter.notes[0].displacement, laterBefore.notes[0].displacement);
  EXPECT_EQ(laterAfter.notes[0].raiseLower, laterBefore.notes[0].raiseLower);
  EXPECT_EQ(laterAfter.position, laterBefore.position);
}

TEST_F(NoteEntryCellTest, ReadOnlyFramesAreNotSavedAndDoNotFailTheSave) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff, 1).Note("C4", headless::kWhole);
  builder.Voice(staff, 2).Note("E4", headless::kWhole);
  Host().SetCellReadOnly(staff, 1, 2, true);
  TCNoteEntryCell cell(1, staff);
  cell.SetLayerMode(-1);
  ASSERT_TRUE(cell.Load());
  Host().CallLog().Clear();
  EXPECT_TRUE(cell.Save());
  EXPECT_EQ(CountCalls("TX_SaveTGF"), 3);  // layers 1, 3 and 4
}

TEST_F(NoteEntryCellTest, LoadIsAllOrNothing) {
  SkipUnlessPartialHosts();
  // Without the layer count the plug-in assumes 4 layers; this host has 2.
  ReinstallHost(headless::kDefaultHostVersion, {"TX_GetMaxLayers"});
  Host().Layers().SetMaxLayers(2);
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Note("C4", headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  cell.SetLayerMode(-1);
  EXPECT_FALSE(cell.Load());
  EXPECT_EQ(cell.GetCount(), 0);
  EXPECT_EQ(cell.GetFrame(0), nullptr);
  EXPECT_EQ(Host().Frames().LiveFrames(), 0);
  EXPECT_EQ(CountCalls("TX_LoadTGF"), 3);

  cell.SetLayerMode(1);
  ASSERT_TRUE(cell.Load());
  EXPECT_EQ(cell.GetCount(), 1);
}

TEST_F(NoteEntryCellTest, LayerCountComesFromTheHostUpToTheCellsRoom) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Note("C4", headless::kWhole);
  for (int layers : {2, 6, 24}) {
    SCOPED_TRACE(layers);
    Host().Layers().SetMaxLayers(layers);
    Host().CallLog().Clear();
    TCNoteEntryCell cell(1, staff);
    cell.SetLayerMode(-1);
    ASSERT_TRUE(cell.Load());
    EXPECT_EQ(CountCalls("TX_LoadTGF"), layers < 20 ? layers : 20);
    EXPECT_TRUE(cell.Save());
    EXPECT_EQ(CountCalls("TX_SaveTGF"), layers < 20 ? layers : 20);
  }
}

TEST_F(NoteEntryCellTest, MissingMeasureLoadsNothing) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  TCNoteEntryCell cell(7, staff);
  EXPECT_FALSE(cell.Load());
  EXPECT_EQ(Host().Frames().LiveFrames(), 0);
}

TEST_F(NoteEntryCellTest, NotePitchesRecordWhereTheEntryStood) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(2);
  auto voice = builder.Voice(staff, 3);
  voice.Note("C4", headless::kHalf);
  voice.Grace("D4");
  voice.Grace("E4");
  uint32_t main = voice.Chord({"F4", "A4"}, headless::kQuarter);
  voice.Grace("G4");
  voice.Note("A4", headless::kQuarter);
  TCNoteEntryCell cell(1, staff);
  cell.SetLayerMode(3);
  ASSERT_TRUE(cell.Load());
  ASSERT_EQ(cell.GetCount(), 6);
  TCNotePitches graceAfterMain;
  graceAfterMain.LoadFromEntry(cell.GetEntryAt(4));
  EXPECT_EQ(graceAfterMain.GetGraceRun(), 0) << "a main note ends a run of grace notes";

  TCNotePitches first, secondGrace, chord;
  first.LoadFromEntry(cell.GetEntryAt(0));
  secondGrace.LoadFromEntry(cell.GetEntryAt(2));
  chord.LoadFromEntry(cell.GetEntryAt(3));
  EXPECT_FALSE(first.IsGrace());
  EXPECT_EQ(first.GetGraceRun(), -1);
  EXPECT_TRUE(secondGrace.IsGrace());
  EXPECT_EQ(secondGrace.GetGraceRun(), 1);
  EXPECT_EQ(secondGrace.GetIndexInFrame(), 2);
  EXPECT_EQ(chord.GetCount(), 2);
  EXPECT_EQ(chord.GetEntryNumber(), main);
  EXPECT_EQ(chord.GetLayer(), 3);
  EXPECT_EQ(chord.GetStaff(), staff);
  EXPECT_EQ(chord.GetMeasure(), 1);
  EXPECT_EQ(chord.GetPosition(), headless::kHalf);
  EXPECT_EQ(chord.GetPitchAt(1)->GetRaiseLower(), cell.GetEntryAt(3)->GetNoteAt(1)->GetRaiseLower());
  EXPECT_EQ(chord.GetPitchAt(1)->GetEntry(), nullptr);

  // The copies outlive the frames.
  cell.Release();
  EXPECT_EQ(Host().Frames().LiveFrames(), 0);
  EXPECT_EQ(chord.GetPitchAt(1)->GetDisplacement(), 5);  // A4 in C major

  TCNotePitches rest;
  builder.Voice(staff, 1, 2).Rest(headless::kWhole);
  TCNoteEntryCell restCell(2, staff);
  ASSERT_TRUE(restCell.Load());
  rest.LoadFromEntry(restCell.GetEntryAt(0));
  EXPECT_EQ(rest.GetCount(), 0);
  EXPECT_EQ(rest.GetMeasure(), 2);
}

}  // namespace
