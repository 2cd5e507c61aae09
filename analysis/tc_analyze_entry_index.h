// Where the entries of a group's memory stand, so that the backward searches
// need not walk the whole group for every note: the entries of each beat,
// and for each first letter of a pitch name the entries holding such a note,
// by measure. Lists keep the collection's order.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class TCAnalyzeEntryCollection;

class TCAnalyzeEntryIndex {
 public:
  // Collection indices in ascending order, per measure.
  using MeasureLists = std::map<int32_t, std::vector<int32_t>>;

  void Build(const TCAnalyzeEntryCollection& collection);

  // The entries at a measure and position, or null.
  const std::vector<int32_t>* EntriesAt(int32_t measure, int32_t position) const;
  // The entries holding a note whose name starts with the letter, or null.
  const MeasureLists* EntriesWithLetter(char16_t letter) const;

 private:
  std::map<std::pair<int32_t, int32_t>, std::vector<int32_t>> beats_;
  std::map<char16_t, MeasureLists> letters_;
};
