#include "analysis/tc_analyze_entry_index.h"

#include "analysis/tc_analyze_entry_collection.h"
#include "framework/tc_string.h"

void TCAnalyzeEntryIndex::Build(const TCAnalyzeEntryCollection& collection) {
  beats_.clear();
  letters_.clear();
  for (int32_t i = 0; i < collection.GetCount(); ++i) {
    const TCNotePitches* entry = collection.GetEntryAt(i);
    if (!entry) continue;
    beats_[{entry->GetMeasure(), entry->GetPosition()}].push_back(i);
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      const TCNotePitch* pitch = entry->GetPitchAt(n);
      if (!pitch) continue;
      const TCString* name = pitch->GetStoredPitchName();
      std::vector<int32_t>& list = letters_[name ? name->GetCharAt(0) : 0][entry->GetMeasure()];
      if (list.empty() || list.back() != i) list.push_back(i);
    }
  }
}

const std::vector<int32_t>* TCAnalyzeEntryIndex::EntriesAt(int32_t measure, int32_t position) const {
  auto found = beats_.find({measure, position});
  return found == beats_.end() ? nullptr : &found->second;
}

const TCAnalyzeEntryIndex::MeasureLists* TCAnalyzeEntryIndex::EntriesWithLetter(char16_t letter) const {
  auto found = letters_.find(letter);
  return found == letters_.end() ? nullptr : &found->second;
}
