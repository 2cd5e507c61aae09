// One document of the headless host. Its content (everything an edit can
// change and a snapshot copies) is kept apart from its view (current part,
// selections, test controls, undo history), which edits do not roll back.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "headless/document_snapshot.h"
#include "headless/record_store.h"
#include "headless/selection_record.h"
#include "shell/host_frame.h"

namespace headless {

// One staff in one measure, one layer (0-based layer index).
struct CellKey {
  int16_t staff = 0;
  int16_t measure = 0;
  int16_t layer = 0;

  bool operator<(const CellKey& other) const;
  bool operator==(const CellKey& other) const;
};

struct CellKeyHash {
  size_t operator()(const CellKey& key) const;
};

using EntryBytes = std::array<uint8_t, host_frame::kEntrySize>;

// A note is named by its entry number and note ID; the pair survives saving frames.
using NoteKey = std::pair<uint32_t, int16_t>;

// The note-entry cells of a document. A copy shares every cell with the
// original until one of them writes it: taking a snapshot costs a pointer a
// cell, and an edit copies only the cells it changes.
class CellMap {
 public:
  using Entries = std::vector<EntryBytes>;
  using Cells = std::map<CellKey, std::shared_ptr<Entries>>;

  CellMap();

  const Entries* Find(const CellKey& key) const;
  // Creates the cell when absent; the entries are this map's own afterwards.
  Entries& ForWriting(const CellKey& key);
  void Erase(const CellKey& key);
  // Every cell in key order; the pointers are never null.
  const Cells& All() const { return cells_; }

  bool operator==(const CellMap& other) const;
  // Names the content as RecordStore::Stamp does: new on every change, kept by copies.
  uint64_t Stamp() const { return stamp_; }

 private:
  Cells cells_;
  MapIndex<CellKey, std::shared_ptr<Entries>, CellKeyHash> index_;
  uint64_t stamp_;
};

struct PartContent {
  std::string name;
  RecordStore records;                // staff systems, system staves, staff reductions
  std::vector<int16_t> systemStarts;  // own system breaks; empty: every N measures

  bool operator==(const PartContent& other) const;
};

class DocumentContent {
 public:
  DocumentContent();

  bool operator==(const DocumentContent& other) const;
  void Diff(const DocumentContent& other, std::vector<std::string>* lines) const;

  // The store that holds a tag's records in a part (part-owned tags) or in the document.
  RecordStore* StoreFor(uint32_t tag, int16_t part);
  const RecordStore* StoreFor(uint32_t tag, int16_t part) const;
  bool HasPart(int16_t part) const { return parts.count(part) > 0; }
  // Staff numbers of a part in slot order, from its system staves of system 0.
  std::vector<int16_t> SlotOrder(int16_t part) const;
  // Rewrites a part's system staves of system 0 to this order.
  void SetSlotOrder(int16_t part, const std::vector<int16_t>& staves);
  // Adds a slot after a part's last one; without rewriting the others, so
  // that a score of thousands of staves is not made in quadratic time.
  void AppendSlot(int16_t part, int16_t staff);

  int16_t MeasureCount() const { return static_cast<int16_t>(measureLengths.size()); }
  bool HasMeasure(int16_t measure) const { return measure >= 1 && measure <= MeasureCount(); }
  bool HasStaff(int16_t staff) const;

  const std::vector<EntryBytes>* Cell(const CellKey& key) const;
  std::vector<EntryBytes>& CellForWriting(const CellKey& key);
  void EraseCell(const CellKey& key) { cells.Erase(key); }

  // A text block with its raw text (8-bit below host 0x11000000, else UTF-16); answers its number.
  int16_t AddTextBlock(const std::string& utf8, uint32_t hostVersion);
  // The raw text of a text block as UTF-8, empty when there is none.
  std::string TextOfBlock(int16_t block, uint32_t hostVersion) const;

  RecordStore records;
  std::map<int16_t, PartContent> parts;  // 0 is the score
  CellMap cells;
  std::map<NoteKey, uint64_t> sourceTags;
  std::vector<int16_t> staves;             // staff numbers in creation order, which is rising order
  std::vector<int32_t> measureLengths;     // measure m at index m - 1
  std::map<int16_t, uint16_t> keyChanges;  // measure -> key value in force from it
  std::map<std::pair<int16_t, int16_t>, uint16_t> staffFlagsInMeasure;  // (staff, measure)
  uint32_t nextEntryNumber = 1;
  int measuresPerSystem = 4;
  bool unlaidSystems = false;
};

class Document {
 public:
  explicit Document(int16_t id) : id_(id) {}

  int16_t Id() const { return id_; }

  struct UndoStep {
    std::string name;
    DocumentSnapshot before;
  };

  DocumentContent content;
  int16_t currentPart = 0;
  std::map<int16_t, SelectionRecord> selections;  // per part
  std::set<CellKey> readOnlyCells;
  std::vector<UndoStep> undoHistory;

 private:
  int16_t id_;
};

}  // namespace headless
