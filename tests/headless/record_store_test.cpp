// The store's look-ups go through a hash index kept beside the ordered map;
// these are the changes that index must follow.
#include "headless/record_store.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "headless/document.h"

namespace headless {
namespace {

RecordKey Key(uint32_t tag, int16_t first, int16_t second = 0, int16_t third = 0) {
  return RecordKey{tag, first, second, third};
}

// The first byte of the record under the key, or -1 when there is none.
int FirstByte(const RecordStore& store, const RecordKey& key) {
  const RecordBytes* bytes = store.Find(key);
  return bytes && !bytes->empty() ? (*bytes)[0] : -1;
}

TEST(RecordStoreIndex, LookUpsFollowEveryChangeCopyAndMove) {
  RecordStore store;
  for (int16_t measure = 1; measure <= 50; ++measure) store.Put(Key(kMeasureTag, measure), {uint8_t(measure)});
  store.Put(Key(kStaffTag, 1), {7});
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 20)), 20);
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 51)), -1);
  EXPECT_EQ(FirstByte(store, Key(kStaffTag, 20)), -1) << "the tag is part of the key";

  store.Put(Key(kMeasureTag, 20), {99});
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 20)), 99) << "a record put again";
  *store.Find(Key(kMeasureTag, 21)) = {42};
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 21)), 42) << "written through a look-up";
  EXPECT_TRUE(store.Erase(Key(kMeasureTag, 22)));
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 22)), -1);
  store.Put(Key(kMeasureTag, 22), {5});
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 22)), 5) << "put again after erasing";
  store.EraseFrom(kMeasureTag, 40);
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 40)), -1);
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 39)), 39);
  EXPECT_EQ(FirstByte(store, Key(kStaffTag, 1)), 7) << "other tags stay";

  RecordStore copy = store;
  copy.Put(Key(kMeasureTag, 1), {100});
  copy.Erase(Key(kMeasureTag, 2));
  EXPECT_EQ(FirstByte(copy, Key(kMeasureTag, 1)), 100);
  EXPECT_EQ(FirstByte(copy, Key(kMeasureTag, 2)), -1);
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 1)), 1) << "the copy's changes are its own";
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 2)), 2);

  // An undo puts the earlier content back by assignment.
  store = copy;
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 1)), 100);
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 2)), -1);
  copy.Put(Key(kMeasureTag, 3), {200});
  EXPECT_EQ(FirstByte(store, Key(kMeasureTag, 3)), 3);

  RecordStore moved = std::move(copy);
  EXPECT_EQ(FirstByte(moved, Key(kMeasureTag, 3)), 200);
  moved.Put(Key(kMeasureTag, 60), {60});
  EXPECT_EQ(FirstByte(moved, Key(kMeasureTag, 60)), 60);
}

// New numbers are one above the highest in use under the same leading
// numbers, whatever the neighbouring tags and numbers hold.
TEST(RecordStoreNumbers, NewNumbersComeAfterTheHighestInUse) {
  constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();
  RecordStore store;
  EXPECT_EQ(store.FreeFirst(kStaffTag), 1);
  EXPECT_EQ(store.FreeSecond(kGroupTag, 0), 0);
  EXPECT_EQ(store.FreeThird(kGroupTag, 0, 1), 0);

  store.Put(Key(kStaffTag, -4), {1});
  EXPECT_EQ(store.FreeFirst(kStaffTag), 1) << "numbers below zero are never handed out again";
  store.Put(Key(kStaffTag, 3, 2, 1), {1});
  store.Put(Key(kStaffTag, 7), {1});
  store.Put(Key(kMeasureTag, 90), {1});
  store.Put(Key(kStaffTag + 1, kHighest), {1});
  EXPECT_EQ(store.FreeFirst(kStaffTag), 8);

  store.Put(Key(kGroupTag, 0, 4), {1});
  store.Put(Key(kGroupTag, 0, 2, 9), {1});
  store.Put(Key(kGroupTag, 1, 30), {1});
  store.Put(Key(kGroupTag, -1, 40), {1});
  EXPECT_EQ(store.FreeSecond(kGroupTag, 0), 5);
  EXPECT_EQ(store.FreeSecond(kGroupTag, 2), 0);
  EXPECT_EQ(store.FreeThird(kGroupTag, 0, 2), 10);
  EXPECT_EQ(store.FreeThird(kGroupTag, 0, 3), 0);
  store.Put(Key(kGroupTag, 3, -6), {1});
  EXPECT_EQ(store.FreeSecond(kGroupTag, 3), -5) << "one above the highest, as the host counts";

  store.Put(Key(kStaffTag, kHighest), {1});
  store.Put(Key(kGroupTag, 0, kHighest), {1});
  store.Put(Key(kGroupTag, 0, 2, kHighest), {1});
  EXPECT_EQ(store.FreeFirst(kStaffTag), 0) << "no number is left";
  EXPECT_EQ(store.FreeSecond(kGroupTag, 0), -1);
  EXPECT_EQ(store.FreeThird(kGroupTag, 0, 2), -1);
}

TEST(CellMapIndex, LookUpsFollowWritesErasuresAndCopies) {
  CellMap cells;
  CellKey first{1, 1, 0};
  CellKey second{2, 1, 0};
  cells.ForWriting(first).push_back(EntryBytes{});
  EXPECT_NE(cells.Find(first), nullptr);
  EXPECT_EQ(cells.Find(second), nullptr);
  cells.ForWriting(second);
  ASSERT_NE(cells.Find(second), nullptr);
  EXPECT_TRUE(cells.Find(second)->empty());

  CellMap copy = cells;
  copy.ForWriting(first).push_back(EntryBytes{});
  EXPECT_EQ(copy.Find(first)->size(), 2u);
  EXPECT_EQ(cells.Find(first)->size(), 1u) << "a copy writes its own entries";
  copy.Erase(second);
  EXPECT_EQ(copy.Find(second), nullptr);
  EXPECT_NE(cells.Find(second), nullptr);
  cells = copy;
  EXPECT_EQ(cells.Find(second), nullptr);
  EXPECT_EQ(cells.Find(first)->size(), 2u);

  // Erasing a cell that is not there changes nothing, so the stamp that
  // tells readers the cells changed stays; erasing one that is moves it.
  uint64_t stamp = cells.Stamp();
  cells.Erase(second);
  EXPECT_EQ(cells.Stamp(), stamp);
  cells.Erase(first);
  EXPECT_NE(cells.Stamp(), stamp);
  EXPECT_EQ(cells.Find(first), nullptr);
}

}  // namespace
}  // namespace headless
