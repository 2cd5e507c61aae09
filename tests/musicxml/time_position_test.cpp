#include "musicxml/time_position.h"

#include <gtest/gtest.h>

namespace {

using musicxml::TimePosition;

TEST(TimePositionTest, ThirdsOfABeatAddUpExactlyWhateverTheDivisions) {
  TimePosition byThrees;
  TimePosition bySixes;
  for (int step = 0; step < 3; ++step) {
    ASSERT_TRUE(byThrees.Advance(1, 3));
    ASSERT_TRUE(bySixes.Advance(2, 6));
  }
  EXPECT_EQ(byThrees, bySixes);
  EXPECT_EQ(byThrees.ToUnits(), 1024);

  // Mixed divisions in one voice: a quintuplet sixteenth and a triplet eighth.
  TimePosition mixed;
  ASSERT_TRUE(mixed.Advance(1, 5));
  EXPECT_EQ(mixed.ToUnits(), 205);  // 204.8
  ASSERT_TRUE(mixed.Advance(4, 5));
  ASSERT_TRUE(mixed.Advance(1, 3));
  EXPECT_EQ(mixed.ToUnits(), 1365);  // 1365.33
  ASSERT_TRUE(mixed.Advance(2, 3));
  EXPECT_EQ(mixed.ToUnits(), 2048);
}

TEST(TimePositionTest, MovesOutOfRangeAreRefused) {
  TimePosition position;
  ASSERT_TRUE(position.Advance(2, 1));
  EXPECT_FALSE(position.Advance(1, 0));
  EXPECT_FALSE(position.Advance(1, -4));
  EXPECT_EQ(position.ToUnits(), 2048);
  EXPECT_FALSE(position.Advance(TimePosition::kMaxQuarters, 1));
  EXPECT_EQ(position.ToUnits(), 2048);
  // Back past the start stops at the start and says so.
  EXPECT_FALSE(position.Advance(-3, 1));
  EXPECT_TRUE(position.IsZero());
  EXPECT_TRUE(position.Advance(TimePosition::kMaxQuarters, 1));
  EXPECT_EQ(position.ToUnits(), static_cast<int32_t>(TimePosition::kMaxQuarters * 1024));
}

TEST(TimePositionTest, ManyUnrelatedDivisionsStayBoundedAndClose) {
  // Divisions that are pairwise coprime drive the common denominator past its limit.
  const int64_t primes[] = {7919, 7907, 7901, 7883, 7879};
  TimePosition position;
  for (int64_t prime : primes) ASSERT_TRUE(position.Advance(prime, prime));
  EXPECT_EQ(position.ToUnits(), 5 * 1024);
  for (int64_t prime : primes) ASSERT_TRUE(position.Advance(1, prime));
  EXPECT_EQ(position.ToUnits(), 5 * 1024 + 1);  // five quarters plus about 0.65 units
}

TEST(TimePositionTest, DurationsConvertToRoundedUnits) {
  EXPECT_EQ(TimePosition::DurationToUnits(1, 3), 341);
  EXPECT_EQ(TimePosition::DurationToUnits(2, 3), 683);
  EXPECT_EQ(TimePosition::DurationToUnits(3, 2), 1536);
  EXPECT_EQ(TimePosition::DurationToUnits(0, 2), 0);
  EXPECT_EQ(TimePosition::DurationToUnits(-1, 2), -1);
  EXPECT_EQ(TimePosition::DurationToUnits(1, 0), -1);
  EXPECT_EQ(TimePosition::DurationToUnits(TimePosition::kMaxQuarters * 2 + 1, 2), -1);
}

}  // namespace
