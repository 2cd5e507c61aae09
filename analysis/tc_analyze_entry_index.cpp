#include "analysis/tc_analyze_entry_index.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "analysis/tc_analyze_entry_collection.h"
#include "framework/tc_string.h"

namespace {

constexpr uint64_t kNoKey = UINT64_MAX;
// Keys of letter and octave: up to three code units packed in the key, or
// the number of a longer name.
constexpr uint64_t kPackedKeys = 1ull << 62;
constexpr uint64_t kNumberedKeys = 1ull << 61;
constexpr uint32_t kPackedUnits = 3;
constexpr uint32_t kPackedSpellingUnits = 4;

bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }
bool IsAccidentalSign(char16_t unit) { return unit == u'#' || unit == u'b' || unit == u'x'; }

char16_t LetterOf(const TCNotePitch* note) {
  const TCString* name = note->GetStoredPitchName();
  return name ? name->GetCharAt(0) : 0;
}

// The name with every "#", "b" and "x" left out: names with equal keys have
// the same letter and octave.
std::u16string LetterAndOctaveOf(const TCNotePitch* note) {
  const TCString* name = note->GetStoredPitchName();
  std::u16string key;
  for (uint32_t i = 0; name && i < name->GetLength(); ++i) {
    char16_t unit = name->GetCharAt(static_cast<int32_t>(i));
    if (!IsAccidentalSign(unit)) key += unit;
  }
  return key;
}

// The name without accidental signs, with its length, packed in a key; false
// when it is too long for one.
bool PackLetterAndOctave(const TCNotePitch* note, uint64_t* key) {
  const TCString* name = note->GetStoredPitchName();
  uint64_t units = 0;
  uint64_t count = 0;
  for (uint32_t i = 0; name && i < name->GetLength(); ++i) {
    char16_t unit = name->GetCharAt(static_cast<int32_t>(i));
    if (IsAccidentalSign(unit)) continue;
    if (count == kPackedUnits) return false;
    units |= static_cast<uint64_t>(unit) << (16 * count);
    ++count;
  }
  *key = kPackedKeys | (count << 48) | units;
  return true;
}

}  // namespace

struct TCAnalyzeEntryIndex::NoteKeyRecord {
  uint64_t key;
  int32_t measure;
  int32_t index;
  int32_t position;
  bool grace;
  int32_t graceRun;
};

uint64_t TCAnalyzeEntryIndex::KeyOf(const TCNotePitch* note, bool independentOctaves) const {
  uint64_t key = LetterOf(note);
  if (!independentOctaves || PackLetterAndOctave(note, &key)) return key;
  auto id = static_cast<uint32_t>(letterAndOctaveIds_.size());
  return kNumberedKeys | letterAndOctaveIds_.emplace(LetterAndOctaveOf(note), id).first->second;
}

uint64_t TCAnalyzeEntryIndex::FindKeyOf(const TCNotePitch* note, bool independentOctaves) const {
  uint64_t key = LetterOf(note);
  if (!independentOctaves || PackLetterAndOctave(note, &key)) return key;
  auto found = letterAndOctaveIds_.find(LetterAndOctaveOf(note));
  return found == letterAndOctaveIds_.end() ? kNoKey : kNumberedKeys | found->second;
}

void TCAnalyzeEntryIndex::Build(const TCAnalyzeEntryCollection& collection) {
  collection_ = &collection;
  for (KeyTable& table : tables_) table = KeyTable{};
  letterAndOctaveIds_.clear();
  spellings_.clear();
  spellingsMade_ = false;
}

const TCAnalyzeEntryIndex::KeyTable& TCAnalyzeEntryIndex::TableFor(bool independentOctaves) const {
  KeyTable& table = tables_[independentOctaves ? 1 : 0];
  if (table.made || !collection_) return table;
  table.made = true;
  std::vector<NoteKeyRecord> records;
  records.reserve(static_cast<size_t>(collection_->GetCount()));
  for (int32_t i = 0; i < collection_->GetCount(); ++i) {
    const TCNotePitches* entry = collection_->GetEntryAt(i);
    if (!entry) continue;
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      const TCNotePitch* pitch = entry->GetPitchAt(n);
      if (!pitch) continue;
      records.push_back(NoteKeyRecord{KeyOf(pitch, independentOctaves), entry->GetMeasure(), i, entry->GetPosition(),
                                      entry->IsGrace(), entry->GetGraceRun()});
    }
  }
  SortRecords(&records);
  table.candidates.reserve(records.size());
  table.byPosition.reserve(records.size());
  size_t first = 0;
  for (size_t r = 1; r <= records.size(); ++r) {
    if (r < records.size() && records[r].key == records[first].key && records[r].measure == records[first].measure) {
      continue;
    }
    AddRange(records, first, r, &table);
    first = r;
  }
  return table;
}

// By key, measure and collection index; an entry with two notes of one key
// is a candidate once.
void TCAnalyzeEntryIndex::SortRecords(std::vector<NoteKeyRecord>* records) {
  auto order = [](const NoteKeyRecord& record) { return std::tie(record.key, record.measure, record.index); };
  std::sort(records->begin(), records->end(),
            [&](const NoteKeyRecord& left, const NoteKeyRecord& right) { return order(left) < order(right); });
  records->erase(
      std::unique(records->begin(), records->end(),
                  [&](const NoteKeyRecord& left, const NoteKeyRecord& right) { return order(left) == order(right); }),
      records->end());
}

void TCAnalyzeEntryIndex::AddRange(const std::vector<NoteKeyRecord>& records, size_t first, size_t last,
                                   KeyTable* table) {
  std::vector<Candidate>& candidates = table->candidates;
  auto begin = static_cast<uint32_t>(candidates.size());
  MeasureRange range{records[first].measure, begin, begin, true, false};
  uint32_t runStart = begin;
  int32_t highest = records[first].position;
  for (size_t r = first; r < last; ++r) {
    int32_t position = records[r].position;
    auto place = static_cast<uint32_t>(candidates.size());
    if (r > first && position < records[r - 1].position) {
      range.inTimeOrder = false;
      runStart = place;
    }
    highest = std::max(highest, position);
    range.holdsGrace = range.holdsGrace || records[r].grace;
    candidates.push_back(
        Candidate{records[r].index, position, records[r].grace, records[r].graceRun, highest, runStart});
    table->byPosition.push_back(place);
  }
  range.end = static_cast<uint32_t>(candidates.size());
  if (!range.inTimeOrder) {
    std::sort(table->byPosition.begin() + begin, table->byPosition.end(), [&candidates](uint32_t left, uint32_t right) {
      return std::tie(candidates[left].position, left) < std::tie(candidates[right].position, right);
    });
  }
  uint64_t key = records[first].key;
  auto rangeIndex = static_cast<uint32_t>(table->ranges.size());
  if (table->keys.empty() || table->keys.back().key != key) {
    table->keys.push_back(KeyRanges{key, rangeIndex, rangeIndex + 1});
  } else {
    table->keys.back().last = rangeIndex + 1;
  }
  table->ranges.push_back(range);
}

TCAnalyzeEntryIndex::MeasureRanges TCAnalyzeEntryIndex::EntriesMatching(const TCNotePitch* note,
                                                                        bool independentOctaves) const {
  if (!note) return MeasureRanges{};
  const KeyTable& table = TableFor(independentOctaves);
  uint64_t key = FindKeyOf(note, independentOctaves);
  auto found = std::lower_bound(table.keys.begin(), table.keys.end(), key,
                                [](const KeyRanges& ranges, uint64_t wanted) { return ranges.key < wanted; });
  if (key == kNoKey || found == table.keys.end() || found->key != key) return MeasureRanges{};
  return MeasureRanges{table.ranges.data() + found->first, table.ranges.data() + found->last, table.candidates.data(),
                       table.byPosition.data()};
}

TCAnalyzeEntryIndex::Spelling TCAnalyzeEntryIndex::SpellingOf(const TCNotePitches* entry, const TCNotePitch* note,
                                                              int32_t index) {
  Spelling spelling{entry->GetMeasure(),
                    entry->GetPosition(),
                    entry->IsGrace() ? entry->GetGraceRun() : 0,
                    entry->IsGrace(),
                    LetterOf(note),
                    0,
                    0,
                    nullptr,
                    index};
  const TCString* name = note->GetStoredPitchName();
  if (!name || !name->GetUTF16Pointer()) return spelling;
  uint32_t length = name->GetLength();
  while (length > 0 && IsDigit(name->GetCharAt(static_cast<int32_t>(length) - 1))) --length;
  spelling.units = name->GetUTF16Pointer();
  spelling.length = length;
  for (uint32_t i = 0; i < length && i < kPackedSpellingUnits; ++i) {
    spelling.packed |= static_cast<uint64_t>(spelling.units[i]) << (16 * i);
  }
  return spelling;
}

namespace {

template <typename Spelling>
auto BeatAndLetter(const Spelling& spelling) {
  return std::tie(spelling.measure, spelling.position, spelling.grace, spelling.graceRun, spelling.letter);
}

template <typename Spelling>
bool IsSameSpelling(const Spelling& left, const Spelling& right) {
  if (left.length != right.length || left.packed != right.packed) return false;
  return left.length <= kPackedSpellingUnits ||
         std::memcmp(left.units, right.units, left.length * sizeof(char16_t)) == 0;
}

}  // namespace

void TCAnalyzeEntryIndex::MakeSpellings() const {
  spellingsMade_ = true;
  if (!collection_) return;
  std::vector<Spelling> all;
  for (int32_t i = 0; i < collection_->GetCount(); ++i) {
    const TCNotePitches* entry = collection_->GetEntryAt(i);
    if (!entry) continue;
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      if (const TCNotePitch* pitch = entry->GetPitchAt(n)) all.push_back(SpellingOf(entry, pitch, i));
    }
  }
  // Stable: within a beat and letter the spellings stay in collection order,
  // and only the first entry of each spelling is kept.
  std::stable_sort(all.begin(), all.end(), [](const Spelling& left, const Spelling& right) {
    return BeatAndLetter(left) < BeatAndLetter(right);
  });
  spellings_.clear();
  size_t groupStart = 0;
  for (const Spelling& spelling : all) {
    if (groupStart < spellings_.size() && BeatAndLetter(spellings_[groupStart]) != BeatAndLetter(spelling)) {
      groupStart = spellings_.size();
    }
    bool known = false;
    for (size_t k = groupStart; k < spellings_.size() && !known; ++k) known = IsSameSpelling(spellings_[k], spelling);
    if (!known) spellings_.push_back(spelling);
  }
}

// Spellings are listed in the order of their first entries, so the first
// other one names the earliest entry that has one.
int32_t TCAnalyzeEntryIndex::FirstOtherSpellingOnBeat(const TCNotePitches* entry, const TCNotePitch* note) const {
  if (!entry || !note) return -1;
  if (!spellingsMade_) MakeSpellings();
  Spelling wanted = SpellingOf(entry, note, -1);
  auto first = std::lower_bound(
      spellings_.begin(), spellings_.end(), wanted,
      [](const Spelling& left, const Spelling& right) { return BeatAndLetter(left) < BeatAndLetter(right); });
  for (auto spelling = first; spelling != spellings_.end() && BeatAndLetter(*spelling) == BeatAndLetter(wanted);
       ++spelling) {
    if (!IsSameSpelling(*spelling, wanted)) return spelling->index;
  }
  return -1;
}
