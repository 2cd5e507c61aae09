// One row of a data list: its column texts, its check state and where the
// list-view control put it. Works without any control.
#pragma once

#include <cstdint>

#include "framework/tc_strings.h"

class TCDataListRows;

class TCDataListRow : public TCStrings {
 public:
  TCDataListRow() = default;
  // A row with the given number of empty column texts.
  explicit TCDataListRow(int32_t columnCount);

  const char* ClassName() const override { return "TCDataListRow"; }

  bool IsChecked() const { return checked_ != 0; }
  void SetChecked(bool checked) { checked_ = checked ? 1 : 0; }

  // The index the list-view control gave the row at insertion; -1 while it is
  // in no control. Not updated when other items are removed.
  int32_t GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t index) { itemIndex_ = index; }

  TCDataListRows* GetOwningList() const { return owningList_; }
  void SetOwningList(TCDataListRows* list) { owningList_ = list; }

  // The text of a column, or null beyond the row's strings.
  TCString* GetColumnText(int32_t column) const { return GetStringAt(column); }
  // Sets a column's text; false for a column beyond the row's strings.
  bool SetColumnText(int32_t column, const TCString* text);
  bool SetColumnCString(int32_t column, const char* text);

 private:
  uint8_t checked_ = 0;
  int32_t itemIndex_ = -1;
  TCDataListRows* owningList_ = nullptr;
};
