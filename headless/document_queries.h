// What tests and exporters read back from the host's current document, and
// the records they put into it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace headless {

class HeadlessHost;

// A note as stored by the host.
struct NoteInfo {
  int16_t displacement = 0;
  int16_t raiseLower = 0;
  int16_t id = 0;
  uint32_t flags = 0;
  uint64_t sourceTag = 0;  // what the builder was given for this note, 0 if nothing

  bool AccidentalShown() const { return (flags & 0x01000000u) != 0; }
  bool Parenthesised() const { return (flags & 0x00800000u) != 0; }
  bool TiedFromPrevious() const { return (flags & 0x20000000u) != 0; }
};

// An entry as stored by the host, with where it stands.
struct EntryInfo {
  uint32_t number = 0;
  int16_t staff = 0;
  int16_t measure = 0;
  int layer = 0;  // 1 to the host's layer count
  int index = 0;  // index in its cell (staff, measure, layer)
  int32_t position = 0;
  int32_t secondPosition = 0;
  uint32_t flags = 0;
  std::vector<NoteInfo> notes;

  bool IsNote() const { return (flags & 0x40000000u) != 0; }
  bool IsGrace() const { return (flags & 0x00800000u) != 0; }
};

// A note with a source tag and where it is now, for exporters.
struct TaggedNote {
  uint64_t sourceTag = 0;
  uint32_t entryNumber = 0;
  int16_t staff = 0;
  int16_t measure = 0;
  int layer = 0;
  int noteIndex = 0;
  NoteInfo note;
};

class DocumentQueries {
 public:
  explicit DocumentQueries(HeadlessHost& host) : host_(host) {}

  int EntryCount(int16_t staff, int16_t measure, int layer) const;
  bool EntryAt(int16_t staff, int16_t measure, int layer, int index, EntryInfo* entry) const;
  bool FindEntry(uint32_t entryNumber, EntryInfo* entry) const;
  // Every note that carries a source tag, in staff, measure, layer, entry, note order.
  std::vector<TaggedNote> NotesWithTags() const;
  // The same notes handed to the visitor one by one, without a list.
  void VisitNotesWithTags(const std::function<void(const TaggedNote&)>& visit) const;
  // A stored record of the current document (part-owned records: of the current part).
  // For "other" records the address is (number, inci); for detail records (first, second, inci).
  bool ReadRecord(uint32_t tag, int16_t first, int16_t second, int16_t third, std::vector<uint8_t>* bytes) const;
  bool WriteRecord(uint32_t tag, int16_t first, int16_t second, int16_t third, const std::vector<uint8_t>& bytes);
  int RecordCount(uint32_t tag) const;

 private:
  HeadlessHost& host_;
};

}  // namespace headless
