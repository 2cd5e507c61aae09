#include "score/tc_cells.h"

TCCell* TCCells::Find(int32_t measure, int32_t staff) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCCell* cell = GetCellAt(i);
    if (cell && cell->GetMeasure() == measure && cell->GetStaff() == staff) return cell;
  }
  return nullptr;
}
