#include "score/tc_cell.h"

#include "score/tc_independent_cell_detail.h"
#include "score/tc_key_signature.h"
#include "score/tc_measure.h"
#include "score/tc_staff.h"

TCCell::~TCCell() { delete keySignature_; }

TCKeySignature* TCCell::GetKeySignature() {
  if (!keySignature_) keySignature_ = new TCKeySignature(FindKeyValue());
  return keySignature_;
}

uint16_t TCCell::FindKeyValue() {
  TCCurrentStaffSpec staff;
  // A staff that cannot be read is taken as one without keys of its own. On a
  // staff that may carry its own keys, a cell without one follows the measure.
  if (staff.LoadAtPosition(static_cast<int16_t>(staff_), static_cast<int16_t>(measure_), 0) &&
      staff.HasIndependentKeys()) {
    TCIndependentCellDetail detail;
    detail.SetCell(this);
    if (detail.LoadFirst() && detail.HasOwnKey()) return detail.GetKeyValue();
  }
  TCMeasure measure;
  if (!measure.Load(static_cast<int16_t>(measure_))) return 0;
  return measure.GetKeyValue();
}
