#include "headless/document.h"

#include <algorithm>
#include <tuple>

#include "headless/host_text.h"

namespace headless {

namespace {

constexpr int16_t kScorePart = 0;

RecordBytes ZeroRecord(uint32_t tag) { return RecordBytes(static_cast<size_t>(LayoutOf(tag, 0x12050000).size), 0); }

std::string CellName(const CellKey& key) {
  return "cell (staff " + std::to_string(key.staff) + ", measure " + std::to_string(key.measure) + ", layer " +
         std::to_string(key.layer + 1) + ")";
}

void DiffCell(const CellKey& key, const std::vector<EntryBytes>& before, const std::vector<EntryBytes>& after,
              std::vector<std::string>* lines) {
  if (before.size() != after.size()) {
    lines->push_back(CellName(key) + ": " + std::to_string(before.size()) + " -> " + std::to_string(after.size()) +
                     " entries");
    return;
  }
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    std::string line = CellName(key) + " entry " + std::to_string(i) + ": bytes";
    for (size_t b = 0; b < before[i].size(); ++b) {
      if (before[i][b] != after[i][b]) line += " " + std::to_string(b);
    }
    lines->push_back(line + " differ");
  }
}

void DiffCells(const CellMap& before, const CellMap& after, std::vector<std::string>* lines) {
  static const std::vector<EntryBytes> kEmpty;
  for (const auto& [key, entries] : before.All()) {
    const std::vector<EntryBytes>* found = after.Find(key);
    DiffCell(key, *entries, found ? *found : kEmpty, lines);
  }
  for (const auto& [key, entries] : after.All()) {
    if (!before.Find(key)) DiffCell(key, kEmpty, *entries, lines);
  }
}

}  // namespace

bool CellKey::operator<(const CellKey& other) const {
  return std::tie(staff, measure, layer) < std::tie(other.staff, other.measure, other.layer);
}

bool CellKey::operator==(const CellKey& other) const {
  return staff == other.staff && measure == other.measure && layer == other.layer;
}

CellMap::CellMap() : stamp_(RecordStore::NewStamp()) {}

size_t CellKeyHash::operator()(const CellKey& key) const {
  return static_cast<size_t>((static_cast<uint64_t>(static_cast<uint16_t>(key.staff)) << 32) |
                             (static_cast<uint64_t>(static_cast<uint16_t>(key.measure)) << 16) |
                             static_cast<uint16_t>(key.layer));
}

void CellMap::Erase(const CellKey& key) {
  // Saving a layer without entries erases a cell that is mostly not there;
  // then nothing changes, and what was read from the cells stays good.
  if (!Find(key)) return;
  stamp_ = RecordStore::NewStamp();
  index_.Erased(key);
  cells_.erase(key);
}

const CellMap::Entries* CellMap::Find(const CellKey& key) const {
  const std::shared_ptr<Entries>* found = index_.Find(cells_, key);
  return found ? found->get() : nullptr;
}

CellMap::Entries& CellMap::ForWriting(const CellKey& key) {
  stamp_ = RecordStore::NewStamp();
  std::shared_ptr<Entries>& cell = cells_[key];
  index_.Added(key, &cell);
  if (!cell) {
    cell = std::make_shared<Entries>();
  } else if (cell.use_count() > 1) {
    cell = std::make_shared<Entries>(*cell);
  }
  return *cell;
}

bool CellMap::operator==(const CellMap& other) const {
  if (cells_.size() != other.cells_.size()) return false;
  auto mine = cells_.begin();
  for (auto theirs = other.cells_.begin(); theirs != other.cells_.end(); ++theirs, ++mine) {
    if (!(mine->first == theirs->first)) return false;
    if (mine->second != theirs->second && *mine->second != *theirs->second) return false;
  }
  return true;
}

bool PartContent::operator==(const PartContent& other) const {
  return name == other.name && records == other.records && systemStarts == other.systemStarts;
}

DocumentContent::DocumentContent() {
  parts[kScorePart] = PartContent{};
  RecordBytes part = ZeroRecord(kPartTag);
  PartRecord::PartId::Set(part, kScorePart);
  records.Put(RecordKey{kPartTag, kScorePart, 0, 0}, part);
  records.Put(RecordKey{kGeneralPrefsTag, 1, 0, 0}, ZeroRecord(kGeneralPrefsTag));
}

bool DocumentContent::operator==(const DocumentContent& other) const {
  return records == other.records && parts == other.parts && cells == other.cells && sourceTags == other.sourceTags &&
         staves == other.staves && measureLengths == other.measureLengths && keyChanges == other.keyChanges &&
         staffFlagsInMeasure == other.staffFlagsInMeasure && nextEntryNumber == other.nextEntryNumber &&
         measuresPerSystem == other.measuresPerSystem && unlaidSystems == other.unlaidSystems;
}

void DocumentContent::Diff(const DocumentContent& other, std::vector<std::string>* lines) const {
  records.Diff(other.records, "record ", lines);
  for (const auto& [id, part] : parts) {
    auto found = other.parts.find(id);
    std::string label = "part " + std::to_string(id) + " ";
    if (found == other.parts.end()) {
      lines->push_back(label + "removed");
      continue;
    }
    part.records.Diff(found->second.records, label + "record ", lines);
    if (part.name != found->second.name) lines->push_back(label + "name changed");
    if (part.systemStarts != found->second.systemStarts) lines->push_back(label + "system starts changed");
  }
  for (const auto& entry : other.parts) {
    if (!parts.count(entry.first)) lines->push_back("part " + std::to_string(entry.first) + " added");
  }
  DiffCells(cells, other.cells, lines);
  if (sourceTags != other.sourceTags) lines->push_back("source tags differ");
  if (staves != other.staves) lines->push_back("staff list differs");
  if (measureLengths != other.measureLengths) lines->push_back("measures differ");
  if (keyChanges != other.keyChanges) lines->push_back("key changes differ");
  if (staffFlagsInMeasure != other.staffFlagsInMeasure) lines->push_back("per-measure staff flags differ");
  if (nextEntryNumber != other.nextEntryNumber) lines->push_back("next entry number differs");
  if (measuresPerSystem != other.measuresPerSystem || unlaidSystems != other.unlaidSystems) {
    lines->push_back("layout settings differ");
  }
}

RecordStore* DocumentContent::StoreFor(uint32_t tag, int16_t part) {
  if (!IsPartOwnedTag(tag)) return &records;
  auto found = parts.find(part);
  return found == parts.end() ? nullptr : &found->second.records;
}

const RecordStore* DocumentContent::StoreFor(uint32_t tag, int16_t part) const {
  if (!IsPartOwnedTag(tag)) return &records;
  auto found = parts.find(part);
  return found == parts.end() ? nullptr : &found->second.records;
}

std::vector<int16_t> DocumentContent::SlotOrder(int16_t part) const {
  std::vector<int16_t> order;
  const RecordStore* store = StoreFor(kSystemStaffTag, part);
  if (!store) return order;
  for (const RecordKey& key : store->KeysUnder(kSystemStaffTag, 0)) {
    order.push_back(SystemStaffRecord::Staff::Get(*store->Find(key)));
  }
  return order;
}

void DocumentContent::SetSlotOrder(int16_t part, const std::vector<int16_t>& order) {
  RecordStore* store = StoreFor(kSystemStaffTag, part);
  if (!store) return;
  for (const RecordKey& key : store->KeysUnder(kSystemStaffTag, 0)) store->Erase(key);
  for (size_t slot = 0; slot < order.size(); ++slot) {
    RecordBytes record = ZeroRecord(kSystemStaffTag);
    SystemStaffRecord::Staff::Set(record, order[slot]);
    store->Put(RecordKey{kSystemStaffTag, 0, static_cast<int16_t>(slot), 0}, record);
  }
}

void DocumentContent::AppendSlot(int16_t part, int16_t staff) {
  RecordStore* store = StoreFor(kSystemStaffTag, part);
  int16_t slot = store ? store->FreeSecond(kSystemStaffTag, 0) : -1;
  if (slot < 0) return;
  RecordBytes record = ZeroRecord(kSystemStaffTag);
  SystemStaffRecord::Staff::Set(record, staff);
  store->Put(RecordKey{kSystemStaffTag, 0, slot, 0}, record);
}

bool DocumentContent::HasStaff(int16_t staff) const { return std::binary_search(staves.begin(), staves.end(), staff); }

const std::vector<EntryBytes>* DocumentContent::Cell(const CellKey& key) const { return cells.Find(key); }

std::vector<EntryBytes>& DocumentContent::CellForWriting(const CellKey& key) { return cells.ForWriting(key); }

int16_t DocumentContent::AddTextBlock(const std::string& utf8, uint32_t hostVersion) {
  int16_t number = records.FreeFirst(kTextBlockTag);
  if (number <= 0) return 0;
  RecordBytes block = ZeroRecord(kTextBlockTag);
  TextBlockRecord::RawTextNumber::Set(block, number);
  TextBlockRecord::RawTextInci::Set(block, 0);
  TextBlockRecord::Value8::Set(block, 100);
  TextBlockRecord::Flags::Set(block, 0x1A08);
  TextBlockRecord::TextKind::Set(block, kBlockTextKind);
  records.Put(RecordKey{kTextBlockTag, number, 0, 0}, block);
  records.Put(RecordKey{kBlockTextTag, number, 0, 0}, EncodeHostText(utf8, hostVersion));
  return number;
}

std::string DocumentContent::TextOfBlock(int16_t block, uint32_t hostVersion) const {
  const RecordBytes* blockRecord = records.Find(RecordKey{kTextBlockTag, block, 0, 0});
  if (!blockRecord) return std::string();
  uint32_t tag = kRawTextHigh | TextBlockRecord::TextKind::Get(*blockRecord);
  const RecordBytes* text = records.Find(RecordKey{tag, TextBlockRecord::RawTextNumber::Get(*blockRecord),
                                                   TextBlockRecord::RawTextInci::Get(*blockRecord), 0});
  return text ? DecodeHostText(*text, hostVersion) : std::string();
}

}  // namespace headless
