#include "score/tc_record_collections.h"

#include <gtest/gtest.h>

#include "score/tc_cells.h"
#include "score/tc_key_signature.h"
#include "score/tc_measures.h"
#include "score/tc_music_region.h"
#include "score/tc_staff.h"
#include "tests/score/score_test_support.h"

namespace {

class StaffList : public __TCCollectionNoInciOther {
 public:
  __TCBaseData* CreateElement() override { return new TCStaff(); }
};

class RecordCollectionsTest : public ScoreDataTest {};

TEST_F(RecordCollectionsTest, LoadAllGivesEveryRecordInHostOrder) {
  headless::ScoreBuilder builder;
  builder.AddMeasures(5);
  builder.SetKey(3, -1);
  TCMeasures measures;
  measures.SetContext(0x1234);
  ASSERT_EQ(measures.LoadAll(), 5);
  for (int32_t i = 0; i < 5; ++i) {
    TCMeasure* measure = measures.GetMeasureAt(i);
    EXPECT_EQ(measure->GetNumber(), i + 1);
    EXPECT_TRUE(measure->IsLoaded());
    EXPECT_EQ(measure->GetContext(), 0x1234u);
  }
  EXPECT_EQ(measures.GetMeasureAt(3)->GetKeySignature()->GetFlatCount(), 1);
  EXPECT_EQ(measures.FindMeasure(4), measures.GetMeasureAt(3));

  // Saving goes through every element; a changed key reaches the host.
  measures.GetMeasureAt(0)->GetKeySignature()->SetKeyValue(0x0002);
  ASSERT_TRUE(measures.SaveAll());
  TCMeasure reloaded;
  ASSERT_TRUE(reloaded.Load(1));
  EXPECT_EQ(reloaded.GetKeyValue(), 0x0002);
}

TEST_F(RecordCollectionsTest, LoadAllWithoutRecordsIsEmpty) {
  headless::ScoreBuilder builder;
  TCMeasures measures;
  EXPECT_EQ(measures.LoadAll(), 0);
  StaffList staves;
  EXPECT_EQ(staves.LoadAll(), 0);
  EXPECT_TRUE(staves.SaveAll());
}

TEST_F(RecordCollectionsTest, LoadAllOfStavesStartsBeforeTheFirstNumber) {
  headless::ScoreBuilder builder;
  int16_t first = builder.AddStaff("One");
  int16_t second = builder.AddStaff("Two");
  StaffList staves;
  ASSERT_EQ(staves.LoadAll(), 2);
  EXPECT_EQ(static_cast<TCStaff*>(staves.GetDataAt(0))->GetNumber(), first);
  EXPECT_EQ(static_cast<TCStaff*>(staves.GetDataAt(1))->GetNumber(), second);
}

TEST_F(RecordCollectionsTest, RegionLoadSkipsMissingMeasures) {
  headless::ScoreBuilder builder;
  builder.AddMeasures(5);
  TCMusicRegion region;
  region.SetStartMeasure(3);
  region.SetEndMeasure(8);
  TCMeasures measures;
  ASSERT_EQ(measures.LoadRegion(&region), 3);
  EXPECT_EQ(measures.GetMeasureAt(0)->GetNumber(), 3);
  EXPECT_EQ(measures.GetMeasureAt(2)->GetNumber(), 5);

  TCMusicRegion empty;
  EXPECT_EQ(measures.LoadRegion(&empty), 0);
  EXPECT_EQ(measures.LoadRegion(nullptr), 0);
}

TEST_F(RecordCollectionsTest, CellsAreFoundByMeasureAndStaff) {
  TCCells cells;
  cells.Add(new TCCell(3, 11));
  cells.Add(new TCCell(3, 12));
  cells.Add(new TCCell(3, 12));
  EXPECT_EQ(cells.Find(3, 12), cells.GetCellAt(1));
  EXPECT_EQ(cells.Find(12, 3), nullptr);
}

}  // namespace
