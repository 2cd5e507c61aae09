#include "analysis/reported_notes.h"

void ReportedNotes::Clear() {
  noteBits_.clear();
  others_.clear();
}

void ReportedNotes::Add(uint32_t entryNumber, int32_t noteIndex) {
  if (!InTable(entryNumber, noteIndex)) {
    others_.insert(SetKey(entryNumber, noteIndex));
    return;
  }
  if (entryNumber >= noteBits_.size()) noteBits_.resize(entryNumber + 1, 0);
  noteBits_[entryNumber] |= 1u << noteIndex;
}

bool ReportedNotes::Contains(uint32_t entryNumber, int32_t noteIndex) const {
  if (!InTable(entryNumber, noteIndex)) return !others_.empty() && others_.count(SetKey(entryNumber, noteIndex)) != 0;
  return entryNumber < noteBits_.size() && (noteBits_[entryNumber] & (1u << noteIndex)) != 0;
}
