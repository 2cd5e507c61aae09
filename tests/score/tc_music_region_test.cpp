#include "score/tc_music_region.h"

#include <gtest/gtest.h>

#include "headless/selection_record.h"
#include "tests/score/score_test_support.h"

namespace {

class MusicRegionTest : public ScoreDataTest {
 protected:
  // Three staves in slot order c, a, b; eight measures.
  void BuildScore() {
    headless::ScoreBuilder builder;
    a_ = builder.AddStaff("A");
    b_ = builder.AddStaff("B");
    c_ = builder.AddStaff("C");
    builder.AddMeasures(8);
    ASSERT_TRUE(builder.SetSlotOrder({c_, a_, b_}));
    document_ = builder.DocumentId();
  }

  int16_t a_ = 0, b_ = 0, c_ = 0, document_ = 0;
};

TEST_F(MusicRegionTest, ReadsTheSelectionWithItsStaves) {
  BuildScore();
  ASSERT_TRUE(Host().Selection().Set(a_, 2, headless::kQuarter, b_, 5, headless::kHalf));
  TCMusicRegion region;
  ASSERT_TRUE(region.ReadCurrentSelection());
  EXPECT_EQ(region.GetStartSlot(), 2);
  EXPECT_EQ(region.GetEndSlot(), 3);
  EXPECT_EQ(region.GetStartStaff(), a_);
  EXPECT_EQ(region.GetEndStaff(), b_);
  EXPECT_EQ(region.GetStaffOfSlot(1), c_);
  EXPECT_EQ(region.GetStartMeasure(), 2);
  EXPECT_EQ(region.GetEndMeasure(), 5);
  EXPECT_EQ(region.GetStartPosition(), headless::kQuarter);
  EXPECT_EQ(region.GetEndPosition(), headless::kHalf);
  EXPECT_EQ(region.GetDocument(), document_);
  EXPECT_TRUE(region.ContainsSlot(3));
  EXPECT_FALSE(region.ContainsSlot(1));
}

TEST_F(MusicRegionTest, ContainmentAtTheEdges) {
  BuildScore();
  ASSERT_TRUE(Host().Selection().Set(a_, 2, 512, b_, 5, 2048));
  TCMusicRegion region;
  ASSERT_TRUE(region.ReadCurrentSelection());
  EXPECT_FALSE(region.IsMeasurePositionInside(2, 511));
  EXPECT_TRUE(region.IsMeasurePositionInside(2, 512));
  EXPECT_TRUE(region.IsMeasurePositionInside(3, -100000));
  EXPECT_TRUE(region.IsMeasurePositionInside(4, 0x7FFFFFFF));
  EXPECT_TRUE(region.IsMeasurePositionInside(5, 2048));
  EXPECT_FALSE(region.IsMeasurePositionInside(5, 2049));
  EXPECT_FALSE(region.IsMeasurePositionInside(1, 4000));
  EXPECT_FALSE(region.IsMeasurePositionInside(6, 0));
}

TEST_F(MusicRegionTest, EmptyRegionHoldsOnlyMeasureZero) {
  TCMusicRegion region;
  region.SetStartPosition(100);
  region.SetEndPosition(300);
  EXPECT_TRUE(region.IsEmpty());
  EXPECT_EQ(region.GetStartMeasure(), 0);
  EXPECT_EQ(region.GetEndMeasure(), 0);
  EXPECT_TRUE(region.IsMeasurePositionInside(0, 200));
  EXPECT_FALSE(region.IsMeasurePositionInside(0, 50));
  EXPECT_FALSE(region.IsMeasurePositionInside(0, 301));
  EXPECT_FALSE(region.IsMeasurePositionInside(1, 200));
}

TEST_F(MusicRegionTest, EmptySelectionReadsAsAnEmptyRegion) {
  BuildScore();
  Host().Selection().Clear();
  TCMusicRegion region;
  region.SetStartMeasure(3);
  region.ReadCurrentSelection();
  EXPECT_TRUE(region.IsEmpty());
}

TEST_F(MusicRegionTest, EqualityComparesStavesMeasuresAndPositions) {
  BuildScore();
  ASSERT_TRUE(Host().Selection().Set(a_, 2, 0, b_, 5, 100));
  TCMusicRegion first;
  ASSERT_TRUE(first.ReadCurrentSelection());
  TCMusicRegion copy;
  copy.CopyFrom(&first);
  EXPECT_TRUE(first.IsEqual(&copy));
  EXPECT_EQ(copy.GetDocument(), first.GetDocument());
  copy.SetDocument(99);
  EXPECT_TRUE(first.IsEqual(&copy));  // the document is not compared

  ASSERT_TRUE(Host().Selection().Set(a_, 2, 0, c_, 5, 100));
  TCMusicRegion otherStaff;
  ASSERT_TRUE(otherStaff.ReadCurrentSelection());
  EXPECT_FALSE(first.IsEqual(&otherStaff));
  TCMusicRegion otherPosition;
  otherPosition.CopyFrom(&first);
  otherPosition.SetEndPosition(101);
  EXPECT_FALSE(first.IsEqual(&otherPosition));
  EXPECT_FALSE(first.IsEqual(nullptr));
}

TEST_F(MusicRegionTest, SetInDocumentOnlyInTheDocumentItWasReadIn) {
  BuildScore();
  ASSERT_TRUE(Host().Selection().Set(a_, 3, 0, a_, 4, 0));
  TCMusicRegion region;
  ASSERT_TRUE(region.ReadCurrentSelection());
  Host().Selection().Clear();
  region.SetInDocument();
  EXPECT_EQ(Host().Selection().Record().startMeasure, 3);
  EXPECT_EQ(Host().Selection().Record().endMeasure, 4);

  Host().NewDocument();
  Host().CallLog().Clear();
  region.SetInDocument();
  EXPECT_EQ(CountCalls("TX_SetCurERegion"), 0);
}

}  // namespace
