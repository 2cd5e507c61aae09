// Respacing after an apply: one note-spacing command per changed measure in
// every part that shows a changed staff, and the selections put back.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <vector>

#include "analysis/tc_change_checked_handler.h"
#include "analysis/tc_spacing_cell_iterator_handler.h"
#include "apply_test_support.h"
#include "score/tc_cells.h"
#include "score/tc_system_staves.h"

using headless::kQuarter;
using headless::SelectionRecord;
using headless::SpacingCommand;

namespace {

constexpr int32_t kEndOfMeasure = std::numeric_limits<int32_t>::max();

// Staves A and B with findings in measure 2 on both and in measure 4 on A;
// staff C, on a letter of its own, has none. Parts: one per staff.
struct ThreeStaffScore {
  int16_t a = 0;
  int16_t b = 0;
  int16_t c = 0;
  int16_t partA = 0;
  int16_t partB = 0;
  int16_t partC = 0;

  void Build() {
    headless::ScoreBuilder builder;
    a = builder.AddStaff("Flute");
    b = builder.AddStaff("Oboe");
    c = builder.AddStaff("Bassoon");
    builder.AddMeasures(4);
    partA = builder.AddPart("Flute", {a});
    partB = builder.AddPart("Oboe", {b});
    partC = builder.AddPart("Bassoon", {c});
    auto voiceA = builder.Voice(a);
    voiceA.Note("C5", 4 * kQuarter);
    voiceA.Note("F#5", 4 * kQuarter);
    voiceA.Note("D5", 4 * kQuarter);
    voiceA.Note("G#5", 4 * kQuarter);
    auto voiceB = builder.Voice(b);
    voiceB.Note("E4", 4 * kQuarter);
    voiceB.Note("Bb4", 4 * kQuarter);
    voiceB.Note("E4", 4 * kQuarter);
    voiceB.Note("E4", 4 * kQuarter);
    auto voiceC = builder.Voice(c);
    for (int measure = 0; measure < 4; ++measure) voiceC.Note("A2", 4 * kQuarter);
  }
};

bool CoversWholeMeasure(const SelectionRecord& selection, int16_t measure) {
  return selection.startMeasure == measure && selection.endMeasure == measure && selection.startPosition == 0 &&
         selection.endPosition == kEndOfMeasure;
}

}  // namespace

TEST_F(ApplyTest, EachChangedMeasureIsRespacedOnceInEveryPartThatShowsAChangedStaff) {
  ThreeStaffScore score;
  score.Build();
  // The flute part has a selection of its own, the other parts none.
  ASSERT_TRUE(Host().SetCurrentPart(score.partA));
  ASSERT_TRUE(Host().Selection().Set(score.a, 3, 0, score.a, 3, 512));
  SelectionRecord partASelection = Host().Selection().Record();
  ASSERT_TRUE(Host().SetCurrentPart(0));
  ASSERT_TRUE(Host().Selection().SelectAll());
  SelectionRecord scoreSelection = Host().Selection().Record();

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_EQ(list.GetRowCount(), 3);
  ASSERT_TRUE(ApplyCheckedFindings(&list, &region, true));
  ASSERT_EQ(CountAppliedFindings(list), 3);

  std::map<int16_t, std::vector<int16_t>> measuresByPart;
  for (const SpacingCommand& command : Host().Environment().SpacingCommands()) {
    EXPECT_EQ(command.document, Host().CurrentDocument());
    EXPECT_EQ(command.selection.startMeasure, command.selection.endMeasure);
    EXPECT_TRUE(CoversWholeMeasure(command.selection, command.selection.startMeasure));
    measuresByPart[command.part].push_back(command.selection.startMeasure);
    if (command.part == 0) {
      // The score keeps the user's staves.
      EXPECT_EQ(command.selection.startSlot, scoreSelection.startSlot);
      EXPECT_EQ(command.selection.endSlot, scoreSelection.endSlot);
    } else {
      // A part's one staff is the changed one.
      EXPECT_EQ(command.selection.startSlot, 1);
      EXPECT_EQ(command.selection.endSlot, 1);
    }
  }
  EXPECT_EQ(measuresByPart[0], (std::vector<int16_t>{2, 4}));
  EXPECT_EQ(measuresByPart[score.partA], (std::vector<int16_t>{2, 4}));
  EXPECT_EQ(measuresByPart[score.partB], (std::vector<int16_t>{2}));
  EXPECT_EQ(measuresByPart.count(score.partC), 0u);
  EXPECT_EQ(Host().Environment().MenuCommands(), std::vector<int32_t>(5, kNoteSpacingMenuCommand));

  // Every part's selection is as it was, and the score is current again.
  EXPECT_EQ(Host().CurrentPart(), 0);
  EXPECT_EQ(Host().Selection().Record(), scoreSelection);
  ASSERT_TRUE(Host().SetCurrentPart(score.partA));
  EXPECT_EQ(Host().Selection().Record(), partASelection);
  ASSERT_TRUE(Host().SetCurrentPart(score.partB));
  EXPECT_TRUE(Host().Selection().Record().IsEmpty());
  ASSERT_TRUE(Host().SetCurrentPart(score.partC));
  EXPECT_TRUE(Host().Selection().Record().IsEmpty());
}

TEST_F(ApplyTest, WithoutRespaceNoCommandRunsAndTheSelectionIsUntouched) {
  ThreeStaffScore score;
  score.Build();
  ASSERT_TRUE(Host().Selection().Set(score.a, 1, 0, score.b, 4, kEndOfMeasure));
  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_EQ(list.GetRowCount(), 3);
  SelectionRecord selection = Host().Selection().Record();
  Host().CallLog().Clear();

  ASSERT_TRUE(ApplyCheckedFindings(&list, &region, false));
  EXPECT_EQ(CountAppliedFindings(list), 3);
  EXPECT_TRUE(Host().Environment().MenuCommands().empty());
  EXPECT_TRUE(Host().Environment().SpacingCommands().empty());
  EXPECT_EQ(Host().CallLog().Count("TX_SetCurERegion"), 0);
  EXPECT_EQ(Host().Selection().Record(), selection);
}

TEST_F(ApplyTest, CellsAreRespacedInMeasureOrderOncePerMeasure) {
  ThreeStaffScore score;
  score.Build();
  ASSERT_TRUE(Host().Selection().SelectAll());
  TCCells cells;
  cells.Add(new TCCell(4, score.a));
  cells.Add(new TCCell(2, score.c));
  cells.Add(new TCCell(3, score.a));
  cells.Add(new TCCell(2, score.a));
  cells.Add(new TCCell(4, score.b));
  TCSpacingCellIteratorHandler byMeasure;
  cells.Sort(&byMeasure);
  std::vector<int32_t> order;
  for (int32_t i = 0; i < cells.GetCount(); ++i) order.push_back(cells.GetCellAt(i)->GetMeasure());
  EXPECT_EQ(order, (std::vector<int32_t>{2, 2, 3, 4, 4}));

  // The score's staff order holds every staff; a list of the oboe alone only it.
  TCSystemStaves everyStaff;
  ASSERT_EQ(everyStaff.LoadAllForSystem(0), 3);
  RespaceCells(cells, everyStaff);
  ASSERT_TRUE(Host().SetCurrentPart(score.partB));
  TCSystemStaves oboeOnly;
  ASSERT_EQ(oboeOnly.LoadAllForSystem(0), 1);
  RespaceCells(cells, oboeOnly);

  std::vector<int16_t> measures;
  for (const SpacingCommand& command : Host().Environment().SpacingCommands())
    measures.push_back(command.selection.startMeasure);
  EXPECT_EQ(measures, (std::vector<int16_t>{2, 3, 4, 4}));
}
