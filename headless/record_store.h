// Records of one document (or of one part) as bytes under (tag, address),
// in address order, with the host's rules for stepping and for new numbers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "headless/map_index.h"
#include "headless/record_layouts.h"

namespace headless {

// A record's address as the host orders it: (number, inci, 0) for "other"
// records, (first, second, inci) for details; compared as signed numbers.
struct RecordKey {
  uint32_t tag = 0;
  int16_t first = 0;
  int16_t second = 0;
  int16_t third = 0;

  bool operator<(const RecordKey& other) const;
  bool operator==(const RecordKey& other) const;
  // The key the 8 host address bytes name for this tag.
  static RecordKey FromAddress(uint32_t tag, const void* address);
  // Writes the address bytes of this key back (only the bytes the form uses).
  void WriteAddress(void* address) const;
  std::string Describe() const;
};

struct RecordKeyHash {
  size_t operator()(const RecordKey& key) const;
};

class RecordStore {
 public:
  RecordStore();

  const RecordBytes* Find(const RecordKey& key) const;
  // Counts as a change: the caller may write through the answer.
  RecordBytes* Find(const RecordKey& key);
  void Put(const RecordKey& key, RecordBytes bytes);
  bool Erase(const RecordKey& key);
  // Removes every record of the tag whose first number is at least firstFrom.
  void EraseFrom(uint32_t tag, int16_t firstFrom);
  // The first record of the same tag strictly after the key.
  bool Next(const RecordKey& after, RecordKey* next) const;
  // Every record key of a tag, in order.
  std::vector<RecordKey> KeysOf(uint32_t tag) const;
  // The record keys of a tag under one first number, in order.
  std::vector<RecordKey> KeysUnder(uint32_t tag, int16_t first) const;
  int Count(uint32_t tag) const;
  // A number above every number in use for the tag (at least 1).
  int16_t FreeFirst(uint32_t tag) const;
  // The next free second number under a first number (0 when none in use).
  int16_t FreeSecond(uint32_t tag, int16_t first) const;
  // The next free third number under (first, second).
  int16_t FreeThird(uint32_t tag, int16_t first, int16_t second) const;

  bool operator==(const RecordStore& other) const { return records_ == other.records_; }
  // Names the store's content: every change gives a stamp no store has had
  // before, and a copy keeps the stamp of the content it copied. Answers
  // derived from a store can be kept as long as its stamp stays the same.
  uint64_t Stamp() const { return stamp_; }
  // A stamp no content has had before.
  static uint64_t NewStamp();
  // Readable lines for every record added, removed or changed from this to other.
  void Diff(const RecordStore& other, const std::string& label, std::vector<std::string>* lines) const;

 private:
  void Changed();
  // The last key not after bound; null when every key is after it.
  const RecordKey* LastKeyAtOrBelow(const RecordKey& bound) const;

  std::map<RecordKey, RecordBytes> records_;
  MapIndex<RecordKey, RecordBytes, RecordKeyHash> index_;
  uint64_t stamp_ = 0;
};

}  // namespace headless
