// Where the entries of a group's memory stand, so that the backward searches
// need not walk the whole group for every note: for each first letter of a pitch name the entries holding such a note,
// by measure; and for each beat and letter the first entry holding each
// spelling of it. Lists keep the collection's order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class TCAnalyzeEntryCollection;
class TCNotePitch;
class TCNotePitches;

class TCAnalyzeEntryIndex {
 public:
  // The entries of one measure holding a letter: collection indices in
  // ascending order, the position of each, and the highest position among
  // the first k + 1 of them.
  struct MeasureList {
    std::vector<int32_t> entries;
    std::vector<int32_t> positions;
    std::vector<int32_t> highestPositionUpTo;
    bool inTimeOrder = true;  // positions never decrease along the list

    void Append(int32_t index, int32_t position);
  };
  using MeasureLists = std::map<int32_t, MeasureList>;

  void Build(const TCAnalyzeEntryCollection& collection);

  // The entries holding a note whose name starts with the letter, or null.
  const MeasureLists* EntriesWithLetter(char16_t letter) const;
  // The first entry on the entry's beat (same measure, grace state, position
  // and place in a run of grace notes) holding a note of the note's letter
  // spelled otherwise, or -1.
  int32_t FirstOtherSpellingOnBeat(const TCNotePitches* entry, const TCNotePitch* note) const;

 private:
  // Measure, position, grace, place in a run of grace notes (0 for main notes).
  using BeatKey = std::tuple<int32_t, int32_t, bool, int32_t>;
  // A spelling of one letter (the name without its octave) and the first entry holding it.
  using FirstSpellings = std::vector<std::pair<std::u16string, int32_t>>;

  static BeatKey BeatOf(const TCNotePitches* entry);
  void AddSpellings(const TCNotePitches* entry, int32_t index);

  std::map<char16_t, MeasureLists> letters_;
  std::map<BeatKey, std::map<char16_t, FirstSpellings>> spellings_;
};
