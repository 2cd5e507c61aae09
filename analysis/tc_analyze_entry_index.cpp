#include "analysis/tc_analyze_entry_index.h"

#include <algorithm>

#include "analysis/tc_analyze_entry_collection.h"
#include "framework/tc_string.h"

namespace {

char16_t LetterOf(const TCNotePitch* note) {
  const TCString* name = note->GetStoredPitchName();
  return name ? name->GetCharAt(0) : 0;
}

// The name without its trailing octave digits.
std::u16string SpellingOf(const TCNotePitch* note) {
  const TCString* name = note->GetStoredPitchName();
  if (!name || !name->GetUTF16Pointer()) return std::u16string();
  size_t length = name->GetLength();
  while (length > 0 && name->GetCharAt(static_cast<int32_t>(length) - 1) >= u'0' &&
         name->GetCharAt(static_cast<int32_t>(length) - 1) <= u'9') {
    --length;
  }
  return std::u16string(name->GetUTF16Pointer(), length);
}

}  // namespace

void TCAnalyzeEntryIndex::MeasureList::Append(int32_t index, int32_t position) {
  if (!positions.empty() && position < positions.back()) inTimeOrder = false;
  int32_t highest = highestPositionUpTo.empty() ? position : std::max(position, highestPositionUpTo.back());
  entries.push_back(index);
  positions.push_back(position);
  highestPositionUpTo.push_back(highest);
}

void TCAnalyzeEntryIndex::Build(const TCAnalyzeEntryCollection& collection) {
  letters_.clear();
  spellings_.clear();
  for (int32_t i = 0; i < collection.GetCount(); ++i) {
    const TCNotePitches* entry = collection.GetEntryAt(i);
    if (!entry) continue;
    AddSpellings(entry, i);
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      const TCNotePitch* pitch = entry->GetPitchAt(n);
      if (!pitch) continue;
      const TCString* name = pitch->GetStoredPitchName();
      MeasureList& list = letters_[name ? name->GetCharAt(0) : 0][entry->GetMeasure()];
      if (list.entries.empty() || list.entries.back() != i) list.Append(i, entry->GetPosition());
    }
  }
}

const TCAnalyzeEntryIndex::MeasureLists* TCAnalyzeEntryIndex::EntriesWithLetter(char16_t letter) const {
  auto found = letters_.find(letter);
  return found == letters_.end() ? nullptr : &found->second;
}

TCAnalyzeEntryIndex::BeatKey TCAnalyzeEntryIndex::BeatOf(const TCNotePitches* entry) {
  return BeatKey{entry->GetMeasure(), entry->GetPosition(), entry->IsGrace(),
                 entry->IsGrace() ? entry->GetGraceRun() : 0};
}

void TCAnalyzeEntryIndex::AddSpellings(const TCNotePitches* entry, int32_t index) {
  std::map<char16_t, FirstSpellings>& beat = spellings_[BeatOf(entry)];
  for (int32_t n = 0; n < entry->GetCount(); ++n) {
    const TCNotePitch* pitch = entry->GetPitchAt(n);
    if (!pitch) continue;
    FirstSpellings& firsts = beat[LetterOf(pitch)];
    std::u16string spelling = SpellingOf(pitch);
    bool known = false;
    for (const auto& first : firsts) known = known || first.first == spelling;
    if (!known) firsts.emplace_back(std::move(spelling), index);
  }
}

// Spellings are listed in the order of their first entries, so the first
// other one names the earliest entry that has one.
int32_t TCAnalyzeEntryIndex::FirstOtherSpellingOnBeat(const TCNotePitches* entry, const TCNotePitch* note) const {
  if (!entry || !note) return -1;
  auto beat = spellings_.find(BeatOf(entry));
  if (beat == spellings_.end()) return -1;
  auto letter = beat->second.find(LetterOf(note));
  if (letter == beat->second.end()) return -1;
  std::u16string spelling = SpellingOf(note);
  for (const auto& first : letter->second) {
    if (first.first != spelling) return first.second;
  }
  return -1;
}
