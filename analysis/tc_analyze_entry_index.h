// Where the entries of a group's memory stand, so that the backward searches
// need not walk the whole group for every note: for each letter, and each
// letter and octave, of a pitch name the entries holding such a note, by
// measure; and for each beat and letter the first entry holding each
// spelling of it. Everything lives in a few flat arrays sorted once, since an
// index is made for every group a scan analyses.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TCAnalyzeEntryCollection;
class TCNotePitch;
class TCNotePitches;

class TCAnalyzeEntryIndex {
 public:
  // An entry holding a note of some key, within the entries of its measure
  // that hold one: its collection index, its position and grace values, the
  // highest position among the measure's candidates up to it, and the first
  // place of its run of candidates whose positions never decrease. Then the
  // chord lines (note indexes) that hold a note of the key, bit n for line
  // n, so that a search on one chord line need not read the entry: chord
  // tells whether the entry has two notes or more, linesKnown whether every
  // such line fits in the bits.
  struct Candidate {
    int32_t index;
    int32_t position;
    bool grace;
    int32_t graceRun;
    int32_t highestPositionUpTo;
    uint32_t runStart;
    uint32_t lines;
    bool chord;
    bool linesKnown;
  };
  // The candidates of one measure for one key: places [begin, end), in
  // collection order.
  struct MeasureRange {
    int32_t measure;
    uint32_t begin;
    uint32_t end;
    bool inTimeOrder;  // positions never decrease along the range
    bool holdsGrace;
  };
  // The measure ranges of one key, ascending by measure, with the
  // candidates they refer to.
  struct MeasureRanges {
    const MeasureRange* first = nullptr;
    const MeasureRange* last = nullptr;
    const Candidate* candidates = nullptr;
    const uint32_t* byPosition = nullptr;
    // For a measure m from firstMeasure on, rangesUpTo[m - firstMeasure] is
    // the number of ranges at or before m; null when the table would be too
    // large for the group, and the ranges are then searched.
    const uint32_t* rangesUpTo = nullptr;
    int32_t firstMeasure = 0;
    int32_t measureCount = 0;

    // The range after the last one at or before the measure.
    const MeasureRange* EndAtMeasure(int32_t measure) const;

    const Candidate& CandidateAt(uint32_t place) const { return candidates[place]; }
    // Within a range out of time order, the places of its candidates sorted
    // by position and then place: the k-th of the range is
    // PlaceByPosition(begin + k).
    uint32_t PlaceByPosition(uint32_t k) const { return byPosition[k]; }
  };

  // Forgets what was made for another collection. The lists by letter, by
  // letter and octave, and by beat are each made when first asked for: a
  // pass searches by one of the first two only.
  void Build(const TCAnalyzeEntryCollection& collection);

  // The entries holding a note that a search for the note may match: one
  // of the same letter or, with independent octaves, of the same letter and
  // octave.
  MeasureRanges EntriesMatching(const TCNotePitch* note, bool independentOctaves) const;

  // The first entry on the entry's beat (same measure, grace state, position
  // and place in a run of grace notes) holding a note of the note's letter
  // spelled otherwise, or -1.
  int32_t FirstOtherSpellingOnBeat(const TCNotePitches* entry, const TCNotePitch* note) const;

 private:
  struct KeyRanges {
    uint64_t key;
    uint32_t first;
    uint32_t last;
  };
  // A note's spelling on its beat: the name without its octave digits. A
  // spelling of up to four code units is packed in the record, so that
  // spellings are compared without reading the names again; a longer one is
  // compared through the name's own text.
  struct Spelling {
    int32_t measure;
    int32_t position;
    int32_t graceRun;  // 0 for a main note
    bool grace;
    char16_t letter;
    uint32_t length;
    uint64_t packed;
    const char16_t* units;
    int32_t index;
  };
  struct NoteKeyRecord;

  // The candidates of every key of one kind.
  struct KeyTable {
    bool made = false;
    std::vector<Candidate> candidates;
    std::vector<uint32_t> byPosition;
    std::vector<MeasureRange> ranges;
    std::vector<KeyRanges> keys;
    // Key by key, each measure's count of ranges up to it (see MeasureRanges).
    int32_t firstMeasure = 0;
    int32_t measureCount = 0;
    std::vector<uint32_t> rangesUpTo;
  };

  // The number standing for what a search matches the note by, made anew
  // for a letter and octave not met before.
  uint64_t KeyOf(const TCNotePitch* note, bool independentOctaves) const;
  uint64_t FindKeyOf(const TCNotePitch* note, bool independentOctaves) const;
  const KeyTable& TableFor(bool independentOctaves) const;
  static void SortRecords(std::vector<NoteKeyRecord>* records);
  static void GroupByKey(std::vector<NoteKeyRecord>* records);
  static void AddRange(const std::vector<NoteKeyRecord>& records, size_t first, size_t last, KeyTable* table);
  static void CountRangesByMeasure(KeyTable* table);
  void MakeSpellings() const;
  static Spelling SpellingOf(const TCNotePitches* entry, const TCNotePitch* note, int32_t index);

  const TCAnalyzeEntryCollection* collection_ = nullptr;
  // Made on first use, through a const index as the collection hands it out.
  mutable KeyTable tables_[2];
  // Names without accidental signs ("C4") by the number that stands for them.
  mutable std::unordered_map<std::u16string, uint32_t> letterAndOctaveIds_;
  // Sorted by beat and letter, then collection order; one per spelling.
  mutable std::vector<Spelling> spellings_;
  // Where the spellings of each measure begin, from the first measure on,
  // with one more start at the end; empty when measures are too sparse for
  // a table, and then the whole list is searched.
  mutable int32_t spellingsFirstMeasure_ = 0;
  mutable std::vector<uint32_t> spellingStarts_;
  mutable bool spellingsMade_ = false;
};
