// The rows of a data list, kept without any list-view control. Whatever fills
// or reads a list (the analysis, the change handler) works on these
// operations; the list-view control derives from this class and shows the
// rows through the control hooks.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"
#include "framework/tc_collection.h"

class TCDataListRow;

class TCDataListRows : public __TCBase {
 public:
  TCDataListRows() = default;
  ~TCDataListRows() override = default;

  const char* ClassName() const override { return "TCDataListRows"; }

  // Takes the row over, hands it to the control and appends it: the row is
  // appended even when there is no control or the control refuses it, and
  // its item index is then negative. Answers the item index; -1 (and nothing
  // added) for a null row.
  int32_t AddRow(TCDataListRow* row);
  int32_t GetRowCount() const { return rows_.GetCount(); }
  // The row at a position in the order added, or null outside the list.
  TCDataListRow* GetRowAt(int32_t position) const;
  // The position of a row of this list, or -1.
  int32_t GetRowPosition(const TCDataListRow* row) const;
  // Destroys the row at a position (not what its user value points to).
  bool RemoveRowAt(int32_t position);
  // Destroys every row (not what their user values point to).
  void RemoveAllRows();

 protected:
  // Control side. Without a control nothing is shown and no item exists.
  virtual int32_t InsertRowItem(TCDataListRow* row);
  virtual void DeleteRowItem(TCDataListRow* row);
  virtual void ClearRowItems();

 private:
  __TCCollection rows_;
};
