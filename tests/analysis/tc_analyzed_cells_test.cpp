#include "analysis/tc_analyzed_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/pitch_memory.h"
#include "framework/tc_string.h"
#include "headless/score_builder.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitches.h"
#include "score/tc_staff.h"
#include "tests/headless/host_fixture.h"

namespace {

using headless::kHalf;
using headless::kQuarter;

constexpr uint32_t kAllLayers = 15;

// "entry number:pitch name" of every note, in order; or the names alone.
std::vector<std::string> Describe(const std::vector<TCNotePitches*>& entries, bool numbered = true) {
  std::vector<std::string> notes;
  for (const TCNotePitches* entry : entries) {
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      std::string name = entry->GetPitchAt(n)->GetStoredPitchName()->GetUTF8();
      notes.push_back(numbered ? std::to_string(entry->GetEntryNumber()) + ":" + name : name);
    }
  }
  return notes;
}
std::vector<std::string> Names(const std::vector<TCNotePitches*>& entries) { return Describe(entries, false); }

class AnalyzedCellsTest : public headless::HostFixture {
 protected:
  // What a cell loaded on its own with the layer mode gives, as the passes
  // read cells before they were shared.
  std::vector<std::string> LoadedAlone(int16_t measure, int16_t staff, int32_t layerMode, uint32_t mask = kAllLayers) {
    TCNoteEntryCell cell(measure, staff);
    cell.SetLayerMode(layerMode);
    std::vector<TCNotePitches*> entries;
    if (cell.Load()) CollectCellEntries(mask, &cell, &entries);
    std::vector<std::string> notes = Describe(entries);
    for (TCNotePitches* entry : entries) delete entry;
    return notes;
  }

  // A staff with notes in layers 1 and 2 of measure 1, only layer 1 in
  // measure 2, and a rest beside a note in measure 3.
  static int16_t BuildTwoLayers(headless::ScoreBuilder& builder) {
    int16_t staff = builder.AddStaff("Viola");
    builder.AddMeasures(3);
    auto upper = builder.Voice(staff, 1, 1);
    upper.Note("C#5", kHalf);
    upper.Chord({"E4", "Bb4"}, kHalf);
    upper.Note("F#4", kHalf);
    upper.Note("G4", kHalf);
    upper.Note("A4", kHalf);
    auto lower = builder.Voice(staff, 2, 1);
    lower.Note("C4", kQuarter);
    lower.Grace("Db4");
    lower.Note("D4", kQuarter);
    builder.Voice(staff, 2, 3).Rest(kHalf);
    return staff;
  }
};

TEST_F(AnalyzedCellsTest, SharedCellsGiveWhatEachCellLoadedAloneGives) {
  headless::ScoreBuilder builder;
  int16_t staff = BuildTwoLayers(builder);
  Host().Layers().SetMaxLayers(6);
  Host().Layers().SetShown(1, false);
  TCAnalyzedCells cells(kAllLayers);
  // The last measure first, so that earlier cells are placed before it.
  for (int16_t measure = 3; measure >= 1; --measure) {
    SCOPED_TRACE(measure);
    std::vector<TCNotePitches*> shown;
    cells.AppendShownLayers(measure, staff, &shown);
    EXPECT_EQ(Describe(shown), LoadedAlone(measure, staff, TCNoteEntryCell::kLayersShown));
    for (int32_t layer = 1; layer <= 6; ++layer) {
      SCOPED_TRACE(layer);
      std::vector<TCNotePitches*> alone;
      cells.AppendLayer(measure, staff, layer, &alone);
      EXPECT_EQ(Describe(alone), LoadedAlone(measure, staff, layer));
    }
  }
  std::vector<TCNotePitches*> firstMeasure;
  cells.AppendShownLayers(1, staff, &firstMeasure);
  EXPECT_EQ(Names(firstMeasure), (std::vector<std::string>{"C#5", "E4", "Bb4"}));
  std::vector<TCNotePitches*> hiddenLayer;
  cells.AppendLayer(1, staff, 2, &hiddenLayer);
  EXPECT_EQ(hiddenLayer.size(), 3u) << "a layer the host hides is still read when asked for by itself";
  std::vector<TCNotePitches*> beyond;
  cells.AppendShownLayers(40000, staff, &beyond);
  cells.AppendShownLayers(-40000, staff, &beyond);
  EXPECT_TRUE(beyond.empty()) << "measures no host numbers hold nothing";
  EXPECT_FALSE(cells.UsesSeveralLayers(40000, staff));
}

TEST_F(AnalyzedCellsTest, TheLayerMaskAndHiddenStavesLeaveEntriesOut) {
  headless::ScoreBuilder builder;
  int16_t staff = BuildTwoLayers(builder);
  TCAnalyzedCells secondLayerOnly(2);
  std::vector<TCNotePitches*> entries;
  secondLayerOnly.AppendShownLayers(1, staff, &entries);
  EXPECT_EQ(Describe(entries), LoadedAlone(1, staff, TCNoteEntryCell::kLayersShown, 2));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"C4", "Db4", "D4"}));

  ASSERT_TRUE(builder.SetStaffFlagsInMeasure(staff, 2, TCStaff::kHiddenFlags));
  TCAnalyzedCells cells(kAllLayers);
  std::vector<TCNotePitches*> hidden;
  cells.AppendShownLayers(2, staff, &hidden);
  EXPECT_TRUE(hidden.empty());
  EXPECT_EQ(Describe(hidden), LoadedAlone(2, staff, TCNoteEntryCell::kLayersShown));
}

TEST_F(AnalyzedCellsTest, SeveralLayersCountEveryEntryRestsIncluded) {
  headless::ScoreBuilder builder;
  int16_t staff = BuildTwoLayers(builder);
  TCAnalyzedCells cells(kAllLayers);
  EXPECT_TRUE(cells.UsesSeveralLayers(1, staff));
  EXPECT_FALSE(cells.UsesSeveralLayers(2, staff));
  EXPECT_TRUE(cells.UsesSeveralLayers(3, staff)) << "a rest in layer 2 beside a note in layer 1";
}

TEST_F(AnalyzedCellsTest, EachCellIsLoadedOnceForEveryPassThatReadsIt) {
  headless::ScoreBuilder builder;
  int16_t staff = BuildTwoLayers(builder);
  Host().CallLog().SetEnabled(true);
  Host().CallLog().Clear();
  TCAnalyzedCells cells(kAllLayers);
  std::vector<TCNotePitches*> first;
  std::vector<TCNotePitches*> again;
  cells.UsesSeveralLayers(1, staff);
  cells.AppendShownLayers(1, staff, &first);
  cells.AppendLayer(1, staff, 1, &again);
  cells.AppendShownLayers(1, staff, &again);
  EXPECT_EQ(Host().CallLog().Count("TX_LoadTGF"), 4) << "one frame per layer, once";
  EXPECT_EQ(Host().CallLog().Count("TX_FreeTGF"), 4);
  ASSERT_EQ(first.size(), 5u);
  ASSERT_EQ(again.size(), 7u);
  EXPECT_EQ(again[0], first[0]) << "the passes share the analysed entries";
  EXPECT_EQ(again[2], first[0]);
}

}  // namespace
