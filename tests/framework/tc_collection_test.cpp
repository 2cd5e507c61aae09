#include "framework/tc_collection.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/tc_string.h"
#include "framework/tc_strings.h"

namespace {

// An element that tells when it is destroyed.
class Probe : public __TCBase {
 public:
  Probe(int value, std::vector<int>* destroyed) : value_(value), destroyed_(destroyed) {}
  ~Probe() override { destroyed_->push_back(value_); }
  int value() const { return value_; }

 private:
  int value_;
  std::vector<int>* destroyed_;
};

class StopAtThird : public TCIteratorHandler {
 public:
  bool Iterate(__TCBase*) override { return ++seen_ < 3; }

 private:
  int seen_ = 0;
};

class RecordIndices : public TCIteratorHandler {
 public:
  bool IterateIndex(__TCBase*, int32_t index) override {
    indices.push_back(index);
    return true;
  }
  std::vector<int32_t> indices;
};

class MatchValue : public TCIteratorHandler {
 public:
  explicit MatchValue(int value) : value_(value) {}
  bool IsMatch(__TCBase* element) override { return static_cast<Probe*>(element)->value() == value_; }

 private:
  int value_;
};

class ByValue : public TCIteratorHandler {
 public:
  int32_t Compare(__TCBase* first, __TCBase* second) override {
    return static_cast<Probe*>(first)->value() - static_cast<Probe*>(second)->value();
  }
};

std::vector<int> Values(const __TCCollection& collection) {
  std::vector<int> values;
  for (int32_t i = 0; i < collection.GetCount(); ++i) {
    auto* probe = ItemAs<Probe>(collection, i);
    values.push_back(probe ? probe->value() : -1);
  }
  return values;
}

TEST(Collection, GrowsInStepsOfTen) {
  std::vector<int> destroyed;
  __TCCollection collection;
  EXPECT_EQ(collection.GetCapacity(), 0);
  collection.Add(new Probe(0, &destroyed));
  EXPECT_EQ(collection.GetCapacity(), 10);
  for (int i = 1; i < 10; ++i) collection.Add(new Probe(i, &destroyed));
  EXPECT_EQ(collection.GetCapacity(), 10);
  collection.Add(new Probe(10, &destroyed));
  EXPECT_EQ(collection.GetCapacity(), 20);
  EXPECT_EQ(collection.GetCount(), 11);
  EXPECT_EQ(Values(collection), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << "kept across the growth";

  // Room made at once, before the first element and after some.
  __TCCollection reserved;
  reserved.Grow(25);
  EXPECT_EQ(reserved.GetCapacity(), 30);
  __TCCollection small;
  small.Grow(3);
  EXPECT_EQ(small.GetCapacity(), 10);
  for (int i = 0; i < 3; ++i) small.Add(new Probe(20 + i, &destroyed));
  small.Grow(40);
  EXPECT_EQ(small.GetCapacity(), 50);
  EXPECT_EQ(Values(small), (std::vector<int>{20, 21, 22}));
  small.ClearAll();
  EXPECT_EQ(destroyed, (std::vector<int>{20, 21, 22}));
}

TEST(Collection, WalksSkipNullsAndStop) {
  std::vector<int> destroyed;
  __TCCollection collection;
  for (int i = 0; i < 5; ++i) collection.Add(new Probe(i, &destroyed));
  StopAtThird stop;
  EXPECT_EQ(collection.ForEach(&stop), 2);

  collection.Add(nullptr);
  collection.Add(new Probe(6, &destroyed));
  RecordIndices record;
  EXPECT_EQ(collection.ForEachIndex(&record), 6);
  EXPECT_EQ(record.indices, (std::vector<int32_t>{0, 1, 2, 3, 4, 6}));

  MatchValue three(3);
  MatchValue absent(42);
  EXPECT_EQ(static_cast<Probe*>(collection.FindFirst(&three))->value(), 3);
  EXPECT_EQ(collection.FindFirst(&absent), nullptr);
  __TCCollection empty;
  EXPECT_EQ(empty.FindFirst(&three), nullptr);
  EXPECT_EQ(empty.ForEach(&stop), 0);
}

TEST(Collection, OwnsItsElements) {
  std::vector<int> destroyed;
  {
    __TCCollection collection;
    for (int i = 0; i < 4; ++i) collection.Add(new Probe(i, &destroyed));
    EXPECT_FALSE(collection.RemoveAt(4));
    EXPECT_FALSE(collection.RemoveAt(-1));
    EXPECT_TRUE(destroyed.empty());
    EXPECT_TRUE(collection.RemoveAt(1));
    EXPECT_EQ(destroyed, std::vector<int>{1});
    EXPECT_EQ(Values(collection), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(collection.GetItemAt(3), nullptr);
    EXPECT_EQ(collection.IndexOf(collection.GetItemAt(2)), 2);
    EXPECT_EQ(collection.IndexOf(nullptr), -1);

    __TCBase* detached = collection.DetachAt(0);
    EXPECT_EQ(Values(collection), (std::vector<int>{2, 3}));
    delete detached;
    collection.ClearAll();
    EXPECT_EQ(collection.GetCount(), 0);
    EXPECT_EQ(collection.GetCapacity(), 10);
    collection.Add(new Probe(9, &destroyed));
  }
  EXPECT_EQ(destroyed, (std::vector<int>{1, 0, 2, 3, 9}));
}

TEST(Collection, SortReportsWhetherAnythingMoved) {
  std::vector<int> destroyed;
  __TCCollection collection;
  for (int value : {3, 1, 2, 1}) collection.Add(new Probe(value, &destroyed));
  ByValue byValue;
  EXPECT_TRUE(collection.Sort(&byValue));
  EXPECT_EQ(Values(collection), (std::vector<int>{1, 1, 2, 3}));
  EXPECT_FALSE(collection.Sort(&byValue));
  __TCCollection empty;
  EXPECT_FALSE(empty.Sort(&byValue));
}

// Orders by tens only, so that the units tell equal elements apart.
class ByTens : public TCIteratorHandler {
 public:
  int32_t Compare(__TCBase* first, __TCBase* second) override {
    return static_cast<Probe*>(first)->value() / 10 - static_cast<Probe*>(second)->value() / 10;
  }
};

TEST(Collection, StableSortKeepsEqualElementsInOrderAndPutsNullsLast) {
  std::vector<int> destroyed;
  __TCCollection collection;
  for (int value : {31, 10, 22, 32, 11, 20, 33, 12}) collection.Add(new Probe(value, &destroyed));
  collection.Add(nullptr);
  collection.Add(new Probe(21, &destroyed));
  ByTens byTens;
  collection.SortStably(&byTens);
  EXPECT_EQ(Values(collection), (std::vector<int>{10, 11, 12, 22, 20, 21, 31, 32, 33, -1}));

  // The order Sort gives, on a list long enough that Sort would be slow.
  __TCCollection large;
  __TCCollection same;
  for (int i = 0; i < 3000; ++i) {
    int value = (i * 7919) % 3001;
    large.Add(new Probe(value, &destroyed));
    same.Add(new Probe(value, &destroyed));
  }
  ByValue byValue;
  large.SortStably(&byValue);
  same.Sort(&byValue);
  EXPECT_EQ(Values(large), Values(same));
}

TEST(Collection, ClassNames) {
  __TCCollection collection;
  TCIteratorHandler handler;
  StopAtThird derived;
  EXPECT_STREQ(collection.ClassName(), "__TCCollection");
  EXPECT_STREQ(handler.ClassName(), "TCIteratorHandler");
  EXPECT_STREQ(derived.ClassName(), "TCIteratorHandler");
  EXPECT_TRUE(handler.IsSameClass(&derived));
  EXPECT_FALSE(handler.IsSameClass(&collection));
  TCStrings strings;
  strings.Add(new TCString("a"));
  EXPECT_STREQ(strings.GetStringAt(0)->GetCString(), "a");
  EXPECT_EQ(strings.GetStringAt(1), nullptr);
}

}  // namespace
