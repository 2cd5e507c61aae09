#include "ui/tc_data_list_row.h"

TCDataListRow::TCDataListRow(int32_t columnCount) {
  for (int32_t i = 0; i < columnCount; ++i) Add(new TCString());
}

bool TCDataListRow::SetColumnText(int32_t column, const TCString* text) {
  TCString* cell = GetStringAt(column);
  if (!cell) return false;
  cell->SetString(text);
  return true;
}

bool TCDataListRow::SetColumnCString(int32_t column, const char* text) {
  TCString* cell = GetStringAt(column);
  if (!cell) return false;
  cell->SetCString(text);
  return true;
}
