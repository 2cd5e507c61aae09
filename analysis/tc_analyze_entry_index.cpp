#include "analysis/tc_analyze_entry_index.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "analysis/group_by_measure.h"
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
constexpr int32_t kLineBits = 32;

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

// A measure of one group holds few notes: sorted by insertion, in place,
// where a stable sort would take a buffer from the heap for each measure.
template <typename Iterator, typename Less>
void SortStably(Iterator begin, Iterator end, Less less) {
  constexpr std::ptrdiff_t kInsertionLimit = 24;
  if (end - begin > kInsertionLimit) {
    std::stable_sort(begin, end, less);
    return;
  }
  for (Iterator next = begin; next != end; ++next) {
    auto item = std::move(*next);
    Iterator place = next;
    for (; place != begin && less(item, *(place - 1)); --place) *place = std::move(*(place - 1));
    *place = std::move(item);
  }
}

}  // namespace

struct TCAnalyzeEntryIndex::NoteKeyRecord {
  uint64_t key;
  int32_t measure;
  int32_t index;
  int32_t position;
  bool grace;
  int32_t graceRun;
  uint32_t lines;
  bool chord;
  bool linesKnown;
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
  spellingStarts_.clear();
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
      bool lineFits = n < kLineBits;
      records.push_back(NoteKeyRecord{KeyOf(pitch, independentOctaves), entry->GetMeasure(), i, entry->GetPosition(),
                                      entry->IsGrace(), entry->GetGraceRun(), lineFits ? 1u << n : 0u,
                                      entry->GetCount() >= 2, lineFits});
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
  CountRangesByMeasure(&table);
  return table;
}

// A search starts at the note's measure in its key's ranges; counted once
// per key and measure, that place is found without a search through ranges
// that lie far apart in memory in a long group. Made only while the table
// stays within a few times the group's size.
void TCAnalyzeEntryIndex::CountRangesByMeasure(KeyTable* table) {
  if (table->ranges.empty()) return;
  auto [low, high] = std::minmax_element(
      table->ranges.begin(), table->ranges.end(),
      [](const MeasureRange& left, const MeasureRange& right) { return left.measure < right.measure; });
  int64_t measures = static_cast<int64_t>(high->measure) - low->measure + 1;
  int64_t size = measures * static_cast<int64_t>(table->keys.size());
  if (size > 4 * static_cast<int64_t>(table->candidates.size()) + 1024) return;
  table->firstMeasure = low->measure;
  table->measureCount = static_cast<int32_t>(measures);
  table->rangesUpTo.assign(static_cast<size_t>(size), 0);
  for (size_t k = 0; k < table->keys.size(); ++k) {
    uint32_t* counts = table->rangesUpTo.data() + k * static_cast<size_t>(measures);
    const KeyRanges& key = table->keys[k];
    for (uint32_t r = key.first; r < key.last; ++r) {
      ++counts[static_cast<size_t>(table->ranges[r].measure - table->firstMeasure)];
    }
    for (int64_t m = 1; m < measures; ++m) counts[m] += counts[m - 1];
  }
}

const TCAnalyzeEntryIndex::MeasureRange* TCAnalyzeEntryIndex::MeasureRanges::EndAtMeasure(int32_t measure) const {
  if (!rangesUpTo) {
    return std::upper_bound(first, last, measure,
                            [](int32_t wanted, const MeasureRange& range) { return wanted < range.measure; });
  }
  int64_t m = static_cast<int64_t>(measure) - firstMeasure;
  if (m < 0) return first;
  if (m >= measureCount) return last;
  return first + rangesUpTo[m];
}

// By key, measure and collection index; an entry with two notes of one key
// is a candidate once. Records come in collection order, so grouping them by
// measure and then, keeping that order, by key gives the whole order.
void TCAnalyzeEntryIndex::SortRecords(std::vector<NoteKeyRecord>* records) {
  auto order = [](const NoteKeyRecord& record) { return std::tie(record.key, record.measure, record.index); };
  int32_t firstMeasure = 0;
  std::vector<uint32_t> starts;
  if (GroupByMeasure(
          records, [](const NoteKeyRecord& record) { return record.measure; }, &firstMeasure, &starts)) {
    GroupByKey(records);
  } else {
    std::sort(records->begin(), records->end(),
              [&](const NoteKeyRecord& left, const NoteKeyRecord& right) { return order(left) < order(right); });
  }
  size_t kept = 0;
  for (const NoteKeyRecord& record : *records) {
    NoteKeyRecord* last = kept > 0 ? &(*records)[kept - 1] : nullptr;
    if (last && order(*last) == order(record)) {
      last->lines |= record.lines;
      last->linesKnown = last->linesKnown && record.linesKnown;
      continue;
    }
    (*records)[kept++] = record;
  }
  records->resize(kept);
}

// A stable sort by key: a group holds few keys (seven letters, or each
// letter in a few octaves), so the records are counted into their key's place.
void TCAnalyzeEntryIndex::GroupByKey(std::vector<NoteKeyRecord>* records) {
  std::vector<uint64_t> keys;
  for (const NoteKeyRecord& record : *records) {
    auto place = std::lower_bound(keys.begin(), keys.end(), record.key);
    if (place == keys.end() || *place != record.key) keys.insert(place, record.key);
  }
  auto rankOf = [&keys](uint64_t key) {
    return static_cast<size_t>(std::lower_bound(keys.begin(), keys.end(), key) - keys.begin());
  };
  std::vector<uint32_t> next(keys.size() + 1, 0);
  std::vector<uint32_t> ranks(records->size());
  for (size_t r = 0; r < records->size(); ++r) {
    ranks[r] = static_cast<uint32_t>(rankOf((*records)[r].key));
    ++next[ranks[r] + 1];
  }
  for (size_t k = 1; k < next.size(); ++k) next[k] += next[k - 1];
  std::vector<NoteKeyRecord> grouped(records->size());
  for (size_t r = 0; r < records->size(); ++r) grouped[next[ranks[r]]++] = (*records)[r];
  records->swap(grouped);
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
    const NoteKeyRecord& record = records[r];
    candidates.push_back(Candidate{record.index, position, record.grace, record.graceRun, highest, runStart,
                                   record.lines, record.chord, record.linesKnown});
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
  MeasureRanges ranges{table.ranges.data() + found->first, table.ranges.data() + found->last, table.candidates.data(),
                       table.byPosition.data()};
  if (!table.rangesUpTo.empty()) {
    size_t key = static_cast<size_t>(found - table.keys.begin());
    ranges.rangesUpTo = table.rangesUpTo.data() + key * static_cast<size_t>(table.measureCount);
    ranges.firstMeasure = table.firstMeasure;
    ranges.measureCount = table.measureCount;
  }
  return ranges;
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
  all.reserve(static_cast<size_t>(collection_->GetCount()));
  for (int32_t i = 0; i < collection_->GetCount(); ++i) {
    const TCNotePitches* entry = collection_->GetEntryAt(i);
    if (!entry) continue;
    for (int32_t n = 0; n < entry->GetCount(); ++n) {
      if (const TCNotePitch* pitch = entry->GetPitchAt(n)) all.push_back(SpellingOf(entry, pitch, i));
    }
  }
  // Stable: within a beat and letter the spellings stay in collection order,
  // and only the first entry of each spelling is kept. Grouped by measure
  // first, each measure's spellings are sorted on their own.
  auto byBeat = [](const Spelling& left, const Spelling& right) { return BeatAndLetter(left) < BeatAndLetter(right); };
  auto measureOf = [](const Spelling& spelling) { return spelling.measure; };
  std::vector<uint32_t> starts;
  if (GroupByMeasure(&all, measureOf, &spellingsFirstMeasure_, &starts)) {
    for (size_t m = 0; m + 1 < starts.size(); ++m) {
      SortStably(all.begin() + starts[m], all.begin() + starts[m + 1], byBeat);
    }
  } else {
    std::stable_sort(all.begin(), all.end(), byBeat);
  }
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
  // Where each measure's spellings begin, now that repeated ones are gone.
  spellingStarts_.assign(starts.size(), 0);
  for (const Spelling& spelling : spellings_) {
    if (!starts.empty()) ++spellingStarts_[static_cast<size_t>(spelling.measure - spellingsFirstMeasure_) + 1];
  }
  for (size_t m = 1; m < spellingStarts_.size(); ++m) spellingStarts_[m] += spellingStarts_[m - 1];
}

// Spellings are listed in the order of their first entries, so the first
// other one names the earliest entry that has one.
int32_t TCAnalyzeEntryIndex::FirstOtherSpellingOnBeat(const TCNotePitches* entry, const TCNotePitch* note) const {
  if (!entry || !note) return -1;
  if (!spellingsMade_) MakeSpellings();
  Spelling wanted = SpellingOf(entry, note, -1);
  auto begin = spellings_.begin();
  auto end = spellings_.end();
  if (!spellingStarts_.empty()) {
    int64_t m = static_cast<int64_t>(wanted.measure) - spellingsFirstMeasure_;
    if (m < 0 || m + 1 >= static_cast<int64_t>(spellingStarts_.size())) return -1;
    end = begin + spellingStarts_[static_cast<size_t>(m) + 1];
    begin += spellingStarts_[static_cast<size_t>(m)];
  }
  auto first = std::lower_bound(begin, end, wanted, [](const Spelling& left, const Spelling& right) {
    return BeatAndLetter(left) < BeatAndLetter(right);
  });
  for (auto spelling = first; spelling != end && BeatAndLetter(*spelling) == BeatAndLetter(wanted); ++spelling) {
    if (!IsSameSpelling(*spelling, wanted)) return spelling->index;
  }
  return -1;
}
