#include "headless/record_store.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <limits>
#include <tuple>

namespace headless {

namespace {

// Address bytes of the two stored forms.
constexpr size_t kFirstOffset = 0;
constexpr size_t kSecondOffset = 2;
constexpr size_t kThirdOffset = 4;

std::string HexBytes(const RecordBytes& bytes, size_t from, size_t count) {
  std::string text;
  for (size_t i = from; i < from + count && i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
    text += hex;
  }
  return text;
}

void DescribeChange(const RecordKey& key, const RecordBytes& before, const RecordBytes& after, const std::string& label,
                    std::vector<std::string>* lines) {
  std::string line = label + key.Describe() + ": ";
  if (before.size() != after.size()) {
    line += "size " + std::to_string(before.size()) + " -> " + std::to_string(after.size());
    lines->push_back(line);
    return;
  }
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    size_t end = i;
    while (end < before.size() && before[end] != after[end]) ++end;
    line += "bytes " + std::to_string(i) + ".." + std::to_string(end - 1) + " " + HexBytes(before, i, end - i) +
            " -> " + HexBytes(after, i, end - i) + "; ";
    i = end;
  }
  lines->push_back(line);
}

}  // namespace

bool RecordKey::operator<(const RecordKey& other) const {
  return std::tie(tag, first, second, third) < std::tie(other.tag, other.first, other.second, other.third);
}

bool RecordKey::operator==(const RecordKey& other) const {
  return tag == other.tag && first == other.first && second == other.second && third == other.third;
}

size_t RecordKeyHash::operator()(const RecordKey& key) const {
  uint64_t address = (static_cast<uint64_t>(static_cast<uint16_t>(key.first)) << 32) |
                     (static_cast<uint64_t>(static_cast<uint16_t>(key.second)) << 16) |
                     static_cast<uint16_t>(key.third);
  return static_cast<size_t>((key.tag * 0x9E3779B97F4A7C15ull) ^ address);
}

RecordKey RecordKey::FromAddress(uint32_t tag, const void* address) {
  RecordKey key;
  key.tag = tag;
  if (!address) return key;
  key.first = host_frame::Read<int16_t>(address, kFirstOffset);
  key.second = host_frame::Read<int16_t>(address, kSecondOffset);
  if (AddressFormOf(tag) == AddressForm::Detail) {
    key.third = host_frame::Read<int16_t>(address, kThirdOffset);
  }
  return key;
}

void RecordKey::WriteAddress(void* address) const {
  if (!address) return;
  host_frame::Write<int16_t>(address, kFirstOffset, first);
  host_frame::Write<int16_t>(address, kSecondOffset, second);
  if (AddressFormOf(tag) == AddressForm::Detail) host_frame::Write<int16_t>(address, kThirdOffset, third);
}

std::string RecordKey::Describe() const {
  std::string text = "\"" + TagName(tag) + "\" (" + std::to_string(first) + ", " + std::to_string(second);
  if (AddressFormOf(tag) == AddressForm::Detail) text += ", " + std::to_string(third);
  return text + ")";
}

uint64_t RecordStore::NewStamp() {
  static std::atomic<uint64_t> lastStamp{0};
  return ++lastStamp;
}

RecordStore::RecordStore() : stamp_(NewStamp()) {}

void RecordStore::Changed() { stamp_ = NewStamp(); }

const RecordBytes* RecordStore::Find(const RecordKey& key) const { return index_.Find(records_, key); }

RecordBytes* RecordStore::Find(const RecordKey& key) {
  Changed();
  // The store's own map, so its values may be written.
  return const_cast<RecordBytes*>(index_.Find(records_, key));
}

void RecordStore::Put(const RecordKey& key, RecordBytes bytes) {
  Changed();
  RecordBytes& stored = records_[key];
  stored = std::move(bytes);
  index_.Added(key, &stored);
}

bool RecordStore::Erase(const RecordKey& key) {
  Changed();
  index_.Erased(key);
  return records_.erase(key) > 0;
}

void RecordStore::EraseFrom(uint32_t tag, int16_t firstFrom) {
  Changed();
  auto it = records_.lower_bound(
      RecordKey{tag, firstFrom, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::min()});
  while (it != records_.end() && it->first.tag == tag) {
    index_.Erased(it->first);
    it = records_.erase(it);
  }
}

bool RecordStore::Next(const RecordKey& after, RecordKey* next) const {
  auto found = records_.upper_bound(after);
  if (found == records_.end() || found->first.tag != after.tag) return false;
  *next = found->first;
  return true;
}

std::vector<RecordKey> RecordStore::KeysOf(uint32_t tag) const {
  std::vector<RecordKey> keys;
  RecordKey lowest{tag, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::min(),
                   std::numeric_limits<int16_t>::min()};
  for (auto it = records_.lower_bound(lowest); it != records_.end() && it->first.tag == tag; ++it) {
    keys.push_back(it->first);
  }
  return keys;
}

std::vector<RecordKey> RecordStore::KeysUnder(uint32_t tag, int16_t first) const {
  std::vector<RecordKey> keys;
  RecordKey lowest{tag, first, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::min()};
  for (auto it = records_.lower_bound(lowest); it != records_.end() && it->first.tag == tag && it->first.first == first;
       ++it) {
    keys.push_back(it->first);
  }
  return keys;
}

int RecordStore::Count(uint32_t tag) const { return static_cast<int>(KeysOf(tag).size()); }

const RecordKey* RecordStore::LastKeyAtOrBelow(const RecordKey& bound) const {
  auto after = records_.upper_bound(bound);
  return after == records_.begin() ? nullptr : &std::prev(after)->first;
}

// The keys are in order, so the highest number in use is the one of the last
// key with the same leading numbers: one look-up, not a walk over the tag.
int16_t RecordStore::FreeFirst(uint32_t tag) const {
  constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();
  const RecordKey* last = LastKeyAtOrBelow(RecordKey{tag, kHighest, kHighest, kHighest});
  int16_t highest = last && last->tag == tag ? std::max<int16_t>(last->first, 0) : 0;
  return highest == kHighest ? 0 : static_cast<int16_t>(highest + 1);
}

int16_t RecordStore::FreeSecond(uint32_t tag, int16_t first) const {
  constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();
  const RecordKey* last = LastKeyAtOrBelow(RecordKey{tag, first, kHighest, kHighest});
  if (!last || last->tag != tag || last->first != first) return 0;
  return last->second == kHighest ? -1 : static_cast<int16_t>(last->second + 1);
}

int16_t RecordStore::FreeThird(uint32_t tag, int16_t first, int16_t second) const {
  constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();
  const RecordKey* last = LastKeyAtOrBelow(RecordKey{tag, first, second, kHighest});
  if (!last || last->tag != tag || last->first != first || last->second != second) return 0;
  return last->third == kHighest ? -1 : static_cast<int16_t>(last->third + 1);
}

void RecordStore::Diff(const RecordStore& other, const std::string& label, std::vector<std::string>* lines) const {
  for (const auto& [key, bytes] : records_) {
    const RecordBytes* changed = other.Find(key);
    if (!changed) {
      lines->push_back(label + key.Describe() + ": removed");
    } else if (*changed != bytes) {
      DescribeChange(key, bytes, *changed, label, lines);
    }
  }
  for (const auto& [key, bytes] : other.records_) {
    if (!Find(key)) lines->push_back(label + key.Describe() + ": added, " + std::to_string(bytes.size()) + " bytes");
  }
}

}  // namespace headless
