#include "ui/tc_data_list_rows.h"

#include <gtest/gtest.h>

#include "ui/tc_data_list_row.h"

namespace {

// Stands for a finding that a row points to: records its own destruction.
class WatchedValue : public __TCBase {
 public:
  explicit WatchedValue(bool* destroyed) : destroyed_(destroyed) {}
  ~WatchedValue() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

// A control that numbers the items it accepts and refuses every second one.
class PickyControlRows : public TCDataListRows {
 public:
  int inserted = 0;
  int deleted = 0;
  int cleared = 0;

 protected:
  int32_t InsertRowItem(TCDataListRow*) override {
    int32_t attempt = inserted++;
    return attempt % 2 == 0 ? attempt / 2 : -5;
  }
  void DeleteRowItem(TCDataListRow*) override { ++deleted; }
  void ClearRowItems() override { ++cleared; }
};

TEST(TCDataListRows, RowsWithoutControlAreCountedAndReadBack) {
  TCDataListRows list;
  auto* first = new TCDataListRow(5);
  auto* second = new TCDataListRow(1);
  EXPECT_FALSE(first->IsChecked()) << "a new row starts unchecked";
  EXPECT_EQ(first->GetItemIndex(), -1);
  EXPECT_EQ(first->GetOwningList(), nullptr);

  EXPECT_EQ(list.AddRow(first), -1);
  EXPECT_EQ(list.AddRow(second), -1);
  EXPECT_EQ(list.AddRow(nullptr), -1);
  EXPECT_EQ(list.GetRowCount(), 2);
  EXPECT_EQ(list.GetRowAt(0), first);
  EXPECT_EQ(list.GetRowAt(1), second);
  EXPECT_EQ(list.GetRowAt(2), nullptr);
  EXPECT_EQ(list.GetRowAt(-1), nullptr);
  EXPECT_EQ(first->GetOwningList(), &list);
  EXPECT_EQ(first->GetItemIndex(), -1);
  EXPECT_FALSE(first->IsChecked());
}

TEST(TCDataListRows, ColumnTextsStayWithinTheRow) {
  TCDataListRow row(5);
  EXPECT_EQ(row.GetCount(), 5);
  EXPECT_TRUE(row.SetColumnCString(3, "Note is missing accidental."));
  EXPECT_TRUE(row.GetColumnText(3)->IsEqualCString("Note is missing accidental."));
  EXPECT_TRUE(row.GetColumnText(0)->IsEmpty());
  EXPECT_FALSE(row.SetColumnCString(5, "beyond"));
  EXPECT_FALSE(row.SetColumnCString(-1, "before"));
  EXPECT_EQ(row.GetColumnText(5), nullptr);
  row.SetChecked(true);
  EXPECT_TRUE(row.IsChecked());
  row.SetChecked(false);
  EXPECT_FALSE(row.IsChecked());
}

TEST(TCDataListRows, RemovingRowsLeavesTheirUserValuesAlive) {
  bool firstDestroyed = false;
  bool secondDestroyed = false;
  auto* firstValue = new WatchedValue(&firstDestroyed);
  auto* secondValue = new WatchedValue(&secondDestroyed);
  {
    TCDataListRows list;
    auto* first = new TCDataListRow(5);
    first->SetUserValue(firstValue);
    auto* second = new TCDataListRow(5);
    second->SetUserValue(secondValue);
    list.AddRow(first);
    list.AddRow(second);

    EXPECT_TRUE(list.RemoveRowAt(0));
    EXPECT_FALSE(list.RemoveRowAt(1));
    EXPECT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetRowAt(0), second);
    EXPECT_FALSE(firstDestroyed);

    list.RemoveAllRows();
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_FALSE(secondDestroyed);
  }
  EXPECT_FALSE(firstDestroyed);
  EXPECT_FALSE(secondDestroyed);
  delete firstValue;
  delete secondValue;
  EXPECT_TRUE(firstDestroyed);
}

TEST(TCDataListRows, RowsRefusedByTheControlAreStillAppended) {
  PickyControlRows list;
  auto* accepted = new TCDataListRow(5);
  auto* refused = new TCDataListRow(5);
  auto* acceptedToo = new TCDataListRow(5);
  EXPECT_EQ(list.AddRow(accepted), 0);
  EXPECT_EQ(list.AddRow(refused), -1);
  EXPECT_EQ(list.AddRow(acceptedToo), 1);
  EXPECT_EQ(list.GetRowCount(), 3);
  EXPECT_EQ(refused->GetItemIndex(), -1) << "a refused row keeps no item index";
  EXPECT_EQ(acceptedToo->GetItemIndex(), 1);
  EXPECT_EQ(refused->GetOwningList(), &list);

  EXPECT_TRUE(list.RemoveRowAt(1));
  EXPECT_EQ(list.deleted, 1);
  EXPECT_EQ(list.GetRowAt(1), acceptedToo);
  list.RemoveAllRows();
  EXPECT_EQ(list.cleared, 1);
  EXPECT_EQ(list.GetRowCount(), 0);
}

}  // namespace
