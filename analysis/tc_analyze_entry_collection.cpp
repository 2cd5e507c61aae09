#include "analysis/tc_analyze_entry_collection.h"

#include <algorithm>

TCAnalyzeEntryCollection::~TCAnalyzeEntryCollection() {
  // Owned entries go with the base collection, each note pitch with its name.
  if (entries_ == Entries::Borrowed) DetachAll();
}

void TCAnalyzeEntryCollection::AddEntries(const std::vector<TCNotePitches*>& entries) {
  if (entries.empty()) return;
  Grow(static_cast<int32_t>(entries.size()));
  for (TCNotePitches* entry : entries) Add(entry);
}

void TCAnalyzeEntryCollection::RefreshMeasures() const {
  if (measuresCount_ == GetCount()) return;
  measures_.clear();
  for (int32_t i = 0; i < GetCount(); ++i) {
    if (const TCNotePitches* entry = GetEntryAt(i)) measures_.push_back(entry->GetMeasure());
  }
  std::sort(measures_.begin(), measures_.end());
  measures_.erase(std::unique(measures_.begin(), measures_.end()), measures_.end());
  measuresCount_ = GetCount();
}

bool TCAnalyzeEntryCollection::HasEmptyMeasureBetween(int32_t firstMeasure, int32_t secondMeasure) const {
  int64_t low = std::min(firstMeasure, secondMeasure);
  int64_t high = std::max(firstMeasure, secondMeasure);
  int64_t between = high - low - 1;
  if (between <= 0) return false;
  RefreshMeasures();
  auto begin = std::upper_bound(measures_.begin(), measures_.end(), static_cast<int32_t>(low));
  auto end = std::lower_bound(measures_.begin(), measures_.end(), static_cast<int32_t>(high));
  return std::distance(begin, end) < between;
}

const TCAnalyzeEntryIndex& TCAnalyzeEntryCollection::GetIndex() const {
  if (indexCount_ != GetCount()) {
    index_.Build(*this);
    indexCount_ = GetCount();
  }
  return index_;
}
