#include "headless/document_queries.h"

#include "headless/document.h"
#include "headless/headless_host.h"

namespace headless {

namespace {

NoteInfo DescribeNote(const uint8_t* note, uint64_t sourceTag) {
  using namespace host_frame;
  NoteInfo info;
  info.displacement = Read<int16_t>(note, kDisplacementOffset);
  info.raiseLower = Read<int16_t>(note, kRaiseLowerOffset);
  info.id = Read<int16_t>(note, kNoteIdOffset);
  info.flags = Read<uint32_t>(note, kNoteFlagsOffset);
  info.sourceTag = sourceTag;
  return info;
}

EntryInfo DescribeEntry(const DocumentContent& content, const CellKey& key, int index, const EntryBytes& bytes) {
  using namespace host_frame;
  EntryBytes entry = bytes;
  EntryInfo info;
  info.number = Read<uint32_t>(entry.data(), kEntryNumberOffset);
  info.staff = key.staff;
  info.measure = key.measure;
  info.layer = key.layer + 1;
  info.index = index;
  info.position = Read<int32_t>(entry.data(), kPositionOffset);
  info.secondPosition = Read<int32_t>(entry.data(), kSecondPositionOffset);
  info.flags = Read<uint32_t>(entry.data(), kEntryFlagsOffset);
  int notes = NoteCount(entry.data());
  for (int i = 0; i < notes; ++i) {
    const uint8_t* note = NoteAt(entry.data(), i);
    auto tag = content.sourceTags.find(NoteKey{info.number, Read<int16_t>(note, kNoteIdOffset)});
    info.notes.push_back(DescribeNote(note, tag != content.sourceTags.end() ? tag->second : 0));
  }
  return info;
}

}  // namespace

int DocumentQueries::EntryCount(int16_t staff, int16_t measure, int layer) const {
  const Document* document = host_.CurrentDocumentData();
  if (!document) return 0;
  const std::vector<EntryBytes>* cell =
      document->content.Cell(CellKey{staff, measure, static_cast<int16_t>(layer - 1)});
  return cell ? static_cast<int>(cell->size()) : 0;
}

bool DocumentQueries::EntryAt(int16_t staff, int16_t measure, int layer, int index, EntryInfo* entry) const {
  const Document* document = host_.CurrentDocumentData();
  if (!document || !entry) return false;
  CellKey key{staff, measure, static_cast<int16_t>(layer - 1)};
  const std::vector<EntryBytes>* cell = document->content.Cell(key);
  if (!cell || index < 0 || index >= static_cast<int>(cell->size())) return false;
  *entry = DescribeEntry(document->content, key, index, (*cell)[static_cast<size_t>(index)]);
  return true;
}

bool DocumentQueries::FindEntry(uint32_t entryNumber, EntryInfo* entry) const {
  const Document* document = host_.CurrentDocumentData();
  if (!document || !entry || entryNumber == 0) return false;
  for (const auto& [key, cell] : document->content.cells.All()) {
    for (size_t i = 0; i < cell->size(); ++i) {
      const EntryBytes& bytes = (*cell)[i];
      if (host_frame::Read<uint32_t>(bytes.data(), host_frame::kEntryNumberOffset) != entryNumber) continue;
      *entry = DescribeEntry(document->content, key, static_cast<int>(i), bytes);
      return true;
    }
  }
  return false;
}

std::vector<TaggedNote> DocumentQueries::NotesWithTags() const {
  std::vector<TaggedNote> notes;
  VisitNotesWithTags([&notes](const TaggedNote& note) { notes.push_back(note); });
  return notes;
}

void DocumentQueries::VisitNotesWithTags(const std::function<void(const TaggedNote&)>& visit) const {
  using namespace host_frame;
  const Document* document = host_.CurrentDocumentData();
  if (!document) return;
  const auto& sourceTags = document->content.sourceTags;
  for (const auto& [key, cell] : document->content.cells.All()) {
    for (EntryBytes entry : *cell) {
      TaggedNote tagged;
      tagged.entryNumber = Read<uint32_t>(entry.data(), kEntryNumberOffset);
      tagged.staff = key.staff;
      tagged.measure = key.measure;
      tagged.layer = key.layer + 1;
      for (int n = 0; n < NoteCount(entry.data()); ++n) {
        const uint8_t* note = NoteAt(entry.data(), n);
        auto tag = sourceTags.find(NoteKey{tagged.entryNumber, Read<int16_t>(note, kNoteIdOffset)});
        if (tag == sourceTags.end() || tag->second == 0) continue;
        tagged.sourceTag = tag->second;
        tagged.noteIndex = n;
        tagged.note = DescribeNote(note, tag->second);
        visit(tagged);
      }
    }
  }
}

bool DocumentQueries::ReadRecord(uint32_t tag, int16_t first, int16_t second, int16_t third,
                                 std::vector<uint8_t>* bytes) const {
  const Document* document = host_.CurrentDocumentData();
  if (!document || !bytes) return false;
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (AddressFormOf(tag) != AddressForm::Detail) third = 0;
  const RecordBytes* record = store ? store->Find(RecordKey{tag, first, second, third}) : nullptr;
  if (!record) return false;
  *bytes = *record;
  return true;
}

bool DocumentQueries::WriteRecord(uint32_t tag, int16_t first, int16_t second, int16_t third,
                                  const std::vector<uint8_t>& bytes) {
  Document* document = host_.CurrentDocumentData();
  if (!document || AddressFormOf(tag) == AddressForm::StaffAtPosition) return false;
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (!store) return false;
  if (AddressFormOf(tag) != AddressForm::Detail) third = 0;
  store->Put(RecordKey{tag, first, second, third}, bytes);
  return true;
}

int DocumentQueries::RecordCount(uint32_t tag) const {
  const Document* document = host_.CurrentDocumentData();
  if (!document) return 0;
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  return store ? store->Count(tag) : 0;
}

}  // namespace headless
