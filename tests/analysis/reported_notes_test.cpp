#include "analysis/reported_notes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <utility>

namespace {

TEST(ReportedNotesTest, KeepsEveryNoteWhereverItIsStored) {
  ReportedNotes notes;
  const std::pair<uint32_t, int32_t> added[] = {{0, 0},
                                                {1, 0},
                                                {1, 11},
                                                {7, 31},
                                                {7, 32},
                                                {7, -1},
                                                {ReportedNotes::kTableEntries - 1, 3},
                                                {ReportedNotes::kTableEntries, 3},
                                                {0xFFFFFFFFu, 0},
                                                {0xFFFFFFFFu, 40}};
  for (const auto& note : added) notes.Add(note.first, note.second);
  for (const auto& note : added)
    EXPECT_TRUE(notes.Contains(note.first, note.second)) << note.first << "/" << note.second;

  // Neighbours of what was added, in the table and out of it.
  EXPECT_FALSE(notes.Contains(1, 1));
  EXPECT_FALSE(notes.Contains(2, 0));
  EXPECT_FALSE(notes.Contains(7, 30));
  EXPECT_FALSE(notes.Contains(7, 33));
  EXPECT_FALSE(notes.Contains(7, -2));
  EXPECT_FALSE(notes.Contains(ReportedNotes::kTableEntries, 2));
  EXPECT_FALSE(notes.Contains(ReportedNotes::kTableEntries + 1, 3));
  EXPECT_FALSE(notes.Contains(0xFFFFFFFEu, 0));
  EXPECT_FALSE(notes.Contains(0xFFFFFFFFu, 1));

  notes.Clear();
  for (const auto& note : added) EXPECT_FALSE(notes.Contains(note.first, note.second));
  notes.Add(5, 2);
  EXPECT_TRUE(notes.Contains(5, 2));
  EXPECT_FALSE(notes.Contains(5, 1));
}

TEST(ReportedNotesTest, AnswersAsASetOfPairsDoes) {
  std::mt19937 random(15);
  std::uniform_int_distribution<uint32_t> entry(0, 3000);
  std::uniform_int_distribution<int32_t> index(-2, 40);
  ReportedNotes notes;
  std::set<std::pair<uint32_t, int32_t>> expected;
  for (int i = 0; i < 4000; ++i) {
    uint32_t number = entry(random);
    // Some numbers far past the table, as a host with sparse numbers gives.
    if (i % 10 == 0) number += ReportedNotes::kTableEntries;
    int32_t noteIndex = index(random);
    notes.Add(number, noteIndex);
    expected.insert({number, noteIndex});
  }
  int32_t mismatches = 0;
  for (uint32_t number = 0; number <= 3000; ++number) {
    for (int32_t noteIndex = -2; noteIndex <= 40; ++noteIndex) {
      for (uint32_t base : {0u, ReportedNotes::kTableEntries}) {
        bool found = expected.count({number + base, noteIndex}) != 0;
        if (notes.Contains(number + base, noteIndex) != found) ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
