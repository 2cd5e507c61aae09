// The notes a run has reported, by entry number and note index. The host
// numbers entries from 1 upwards with few gaps, so the notes of an entry are
// bits in a table by entry number: one test is one look at a small array,
// where a hash set of a large score missed the cache on nearly every test.
// Numbers past the table's limit and note indexes past its bits are kept in a
// set instead.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

class ReportedNotes {
 public:
  // The table never grows past this many entries (4 MiB).
  static constexpr uint32_t kTableEntries = 1u << 20;

  void Clear();
  void Add(uint32_t entryNumber, int32_t noteIndex);
  bool Contains(uint32_t entryNumber, int32_t noteIndex) const;

 private:
  static bool InTable(uint32_t entryNumber, int32_t noteIndex) {
    return entryNumber < kTableEntries && noteIndex >= 0 && noteIndex < 32;
  }
  static uint64_t SetKey(uint32_t entryNumber, int32_t noteIndex) {
    return (static_cast<uint64_t>(entryNumber) << 32) | static_cast<uint32_t>(noteIndex);
  }

  std::vector<uint32_t> noteBits_;
  std::unordered_set<uint64_t> others_;
};
