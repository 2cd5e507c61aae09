#include "ui/tc_data_list_rows.h"

#include "ui/tc_data_list_row.h"

int32_t TCDataListRows::AddRow(TCDataListRow* row) {
  if (!row) return -1;
  row->SetOwningList(this);
  int32_t itemIndex = InsertRowItem(row);
  row->SetItemIndex(itemIndex < 0 ? -1 : itemIndex);
  // A full list makes room for as many rows again as it has, so that a long
  // report is not copied again every ten rows.
  if (rows_.GetCount() == rows_.GetCapacity()) rows_.Grow(rows_.GetCount() + 1);
  rows_.Add(row);
  return row->GetItemIndex();
}

TCDataListRow* TCDataListRows::GetRowAt(int32_t position) const { return ItemAs<TCDataListRow>(rows_, position); }

int32_t TCDataListRows::GetRowPosition(const TCDataListRow* row) const { return rows_.IndexOf(row); }

bool TCDataListRows::RemoveRowAt(int32_t position) {
  TCDataListRow* row = GetRowAt(position);
  if (!row) return false;
  DeleteRowItem(row);
  return rows_.RemoveAt(position);
}

void TCDataListRows::RemoveAllRows() {
  ClearRowItems();
  rows_.ClearAll();
}

int32_t TCDataListRows::InsertRowItem(TCDataListRow*) { return -1; }
void TCDataListRows::DeleteRowItem(TCDataListRow*) {}
void TCDataListRows::ClearRowItems() {}
