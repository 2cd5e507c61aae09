#include "headless/host_call_handler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "headless/document.h"
#include "headless/frame_registry.h"
#include "headless/headless_host.h"
#include "headless/host_text.h"
#include "headless/record_layouts.h"
#include "headless/score_layout.h"
#include "shell/host_version.h"

namespace headless {

namespace {

// No host record comes near this; a larger size is a damaged argument.
constexpr int32_t kLargestRecord = 1 << 20;

constexpr size_t kStaffOffset = 0;
constexpr size_t kMeasureOffset = 2;

const RecordBytes& StaffAtMeasure(const RecordBytes& staffRecord, const DocumentContent& content, int16_t staff,
                                  int16_t measure, RecordBytes* flagged) {
  auto flags = content.staffFlagsInMeasure.find({staff, measure});
  if (flags == content.staffFlagsInMeasure.end()) return staffRecord;
  *flagged = staffRecord;
  StaffRecord::Flags::Set(*flagged, flags->second);
  return *flagged;
}

std::string FrameName(const void* frame) {
  char text[40];
  std::snprintf(text, sizeof text, "frame %p", frame);
  return text;
}

constexpr int32_t kNoNextPart = 0xFFFF;
constexpr size_t kPathBufferSize = 520;

}  // namespace

Document* HostCallHandler::Current() { return host_.CurrentDocumentData(); }

bool HostCallHandler::CheckLayoutVersion(const char* function, uint32_t tag, uint32_t version) {
  RecordLayout layout = LayoutOf(tag, host_.HostVersion());
  if (!layout.known || layout.version == version) return true;
  char text[160];
  std::snprintf(text, sizeof text, "%s \"%s\": layout version 0x%08X, the host expects 0x%08X", function,
                TagName(tag).c_str(), version, layout.version);
  host_.Misuse().ReportCallError(text);
  return false;
}

int32_t HostCallHandler::LoadStaffAtPosition(const void* address, void* buffer, int32_t* size) {
  Document* document = Current();
  int16_t staff = host_frame::Read<int16_t>(address, kStaffOffset);
  int16_t measure = host_frame::Read<int16_t>(address, kMeasureOffset);
  if (!document->content.HasMeasure(measure)) return 0;
  const RecordBytes* staffRecord = document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0});
  if (!staffRecord) return 0;
  // The staff record as it stands in this measure: a copy only where the
  // measure changes its flags.
  RecordBytes flagged;
  const RecordBytes& answer = StaffAtMeasure(*staffRecord, document->content, staff, measure, &flagged);
  if (!buffer) {
    if (*size != 0) return 0;
    *size = static_cast<int32_t>(answer.size());
    return 1;
  }
  int32_t count = std::min<int32_t>(*size, static_cast<int32_t>(answer.size()));
  std::memcpy(buffer, answer.data(), static_cast<size_t>(count));
  *size = count;
  return 1;
}

int32_t HostCallHandler::LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !size || *size < 0) return 0;
  if (!CheckLayoutVersion("TX_LoadEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return LoadStaffAtPosition(address, buffer, size);
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  const RecordBytes* record = store ? store->Find(RecordKey::FromAddress(tag, address)) : nullptr;
  if (!record) return 0;
  if (!buffer) {
    // Asking for the size of a record: null buffer and size 0.
    if (*size != 0) return 0;
    *size = static_cast<int32_t>(record->size());
    return 1;
  }
  // The host writes no more than the caller has room for and tells how much it wrote.
  int32_t count = std::min<int32_t>(*size, static_cast<int32_t>(record->size()));
  std::memcpy(buffer, record->data(), static_cast<size_t>(count));
  *size = count;
  return 1;
}

int32_t HostCallHandler::SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !buffer || size <= 0 || size > kLargestRecord) return 0;
  if (!CheckLayoutVersion("TX_SaveEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordLayout layout = LayoutOf(tag, host_.HostVersion());
  if (layout.known && layout.size > 0 && size != layout.size) {
    host_.Misuse().ReportCallError("TX_SaveEData \"" + TagName(tag) + "\": " + std::to_string(size) +
                                   " bytes, the layout has " + std::to_string(layout.size));
    return 0;
  }
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (!store) return 0;
  RecordKey key = RecordKey::FromAddress(tag, address);
  if (!store->Find(key) && !SaveMayCreate(tag)) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  store->Put(key, RecordBytes(bytes, bytes + size));
  return 1;
}

int32_t HostCallHandler::CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !buffer || size <= 0 || size > kLargestRecord) return 0;
  if (!CheckLayoutVersion("TX_CreateEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (!store) return 0;
  RecordKey key = RecordKey::FromAddress(tag, address);
  bool detail = AddressFormOf(tag) == AddressForm::Detail;
  // -1 in a part of the address asks the host for the next free number there.
  if (key.first == -1) {
    key.first = store->FreeFirst(tag);
    if (key.second == -1) key.second = 0;
    if (key.first <= 0) return 0;
  }
  if (key.second == -1) {
    key.second = store->FreeSecond(tag, key.first);
    if (key.second < 0) return 0;
  }
  if (detail && key.third == -1) {
    key.third = store->FreeThird(tag, key.first, key.second);
    if (key.third < 0) return 0;
  }
  if (store->Find(key)) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  store->Put(key, RecordBytes(bytes, bytes + size));
  key.WriteAddress(address);
  return 1;
}

int32_t HostCallHandler::DeleteEData(uint32_t tag, void* address, uint32_t version) {
  Document* document = Current();
  if (!document || !address) return 0;
  if (!CheckLayoutVersion("TX_DeleteEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  return store && store->Erase(RecordKey::FromAddress(tag, address)) ? 1 : 0;
}

int32_t HostCallHandler::NextEData(uint32_t tag, void* address, uint32_t version) {
  Document* document = Current();
  if (!document || !address) return 0;
  if (!CheckLayoutVersion("TX_NextEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  RecordKey next;
  if (!store || !store->Next(RecordKey::FromAddress(tag, address), &next)) return 0;
  next.WriteAddress(address);
  return 1;
}

const EntryBytes* HostCallHandler::FindEntryInMeasure(const DocumentContent& content, int16_t staff, int16_t measure,
                                                      uint32_t entryNumber, int layers) {
  MeasureEntries& known = measureEntries_;
  if (known.cellsStamp != content.cells.Stamp() || known.staff != staff || known.measure != measure ||
      known.layers != layers) {
    known = MeasureEntries{content.cells.Stamp(), staff, measure, layers, {}};
    for (int16_t layer = 0; layer < layers; ++layer) {
      const std::vector<EntryBytes>* cell = content.Cell(CellKey{staff, measure, layer});
      for (size_t i = 0; cell && i < cell->size(); ++i) {
        // An entry number found twice keeps its first place, in layer order.
        uint32_t number = host_frame::Read<uint32_t>((*cell)[i].data(), host_frame::kEntryNumberOffset);
        known.places.emplace(number, std::make_pair(layer, i));
      }
    }
  }
  auto found = known.places.find(entryNumber);
  if (found == known.places.end()) return nullptr;
  const std::vector<EntryBytes>* cell = content.Cell(CellKey{staff, measure, found->second.first});
  return cell && found->second.second < cell->size() ? &(*cell)[found->second.second] : nullptr;
}

void* HostCallHandler::LoadTGF(int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex) {
  Document* document = Current();
  if (!document) return nullptr;
  if (zero != 0) host_.Misuse().ReportCallError("TX_LoadTGF: first argument " + std::to_string(zero) + ", not 0");
  int16_t staff = host_.StaffAtSlot(document->currentPart, slot);
  if (staff == 0 || measure < 1 || measure > document->content.MeasureCount()) return nullptr;
  if (layerIndex < 0 || layerIndex >= host_.Layers().MaxLayers()) return nullptr;
  CellKey key{staff, static_cast<int16_t>(measure), static_cast<int16_t>(layerIndex)};
  static const std::vector<EntryBytes> kEmptyCell;
  const std::vector<EntryBytes>* cell = document->content.Cell(key);
  if (!cell) cell = &kEmptyCell;
  if (cell->size() > static_cast<size_t>(host_frame::kMaxEntries)) return nullptr;
  bool readOnly = document->readOnlyCells.count(key) > 0;
  return host_.Frames().Create(document->Id(), key, HostSelection::SlotListValue(), static_cast<int16_t>(slot),
                               readOnly, *cell);
}

int32_t HostCallHandler::SaveTGF(void* frame) {
  switch (host_.Frames().StateOf(frame)) {
    case FrameRegistry::FrameState::Freed:
      host_.Misuse().ReportFrameError("TX_SaveTGF of a freed " + FrameName(frame));
      return 0;
    case FrameRegistry::FrameState::Unknown:
      host_.Misuse().ReportFrameError("TX_SaveTGF of an unknown " + FrameName(frame));
      return 0;
    case FrameRegistry::FrameState::Live:
      break;
  }
  const FrameInfo* info = host_.Frames().Live(frame);
  if (info->readOnly) {
    host_.Misuse().ReportFrameError("TX_SaveTGF of a read-only " + FrameName(frame));
    return 0;
  }
  int count = host_frame::FrameEntryCount(frame);
  if (host_frame::FrameEntries(frame) != info->entries || count < 0 || count > info->allocatedEntries) {
    host_.Misuse().ReportFrameError("TX_SaveTGF of a " + FrameName(frame) + " with a damaged header");
    return 0;
  }
  Document* document = host_.DocumentData(info->document);
  if (!document) return 0;
  if (count == 0) {
    document->content.EraseCell(info->cell);
    return 1;
  }
  std::vector<EntryBytes>& cell = document->content.CellForWriting(info->cell);
  cell.assign(static_cast<size_t>(count), EntryBytes{});
  for (int i = 0; i < count; ++i) {
    std::memcpy(cell[static_cast<size_t>(i)].data(), host_frame::EntryAt(frame, i), host_frame::kEntrySize);
  }
  return 1;
}

int32_t HostCallHandler::FreeTGF(void* frame) {
  if (host_.Frames().Release(frame)) return 1;
  if (host_.Frames().StateOf(frame) == FrameRegistry::FrameState::Freed) {
    host_.Misuse().ReportFrameError("TX_FreeTGF of a " + FrameName(frame) + " freed before");
  } else {
    host_.Misuse().ReportFrameError("TX_FreeTGF of an unknown " + FrameName(frame));
  }
  return 0;
}

int32_t HostCallHandler::GetEntryMetrics(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics,
                                         bool newLayout) {
  Document* document = Current();
  if (!document || !metrics) return 0;
  if (newLayout && host_.HostVersion() < kHostVersion2012) {
    host_.Misuse().ReportCallError("TX_GetEntryMetrics2014 called on a host before 0x12000000");
    return 0;
  }
  if (measure < std::numeric_limits<int16_t>::min() || measure > std::numeric_limits<int16_t>::max() ||
      staff < std::numeric_limits<int16_t>::min() || staff > std::numeric_limits<int16_t>::max()) {
    return 0;
  }
  const EntryBytes* entry = FindEntryInMeasure(document->content, static_cast<int16_t>(staff),
                                               static_cast<int16_t>(measure), entryNumber, host_.Layers().MaxLayers());
  if (!entry) return 0;
  if (host_.Frames().MetricsLive(metrics)) {
    host_.Misuse().ReportFrameError("entry metrics loaded again into a buffer that was not freed");
  }
  RecordBytes answer(static_cast<size_t>(newLayout ? kMetrics2014Size : kMetrics2009Size), 0);
  int notes = host_frame::NoteCount(entry->data());
  if ((host_frame::Read<uint32_t>(entry->data(), host_frame::kEntryFlagsOffset) & host_frame::kEntryIsNote) == 0) {
    notes = 0;
  }
  EntryMetricsRecord::NoteCount::Set(answer, static_cast<int16_t>(notes));
  EntryBytes copy = *entry;
  for (int i = 0; i < notes; ++i) {
    const uint8_t* note = host_frame::NoteAt(copy.data(), i);
    EntryMetricsRecord::SetNoteId(answer, i, host_frame::Read<int16_t>(note, host_frame::kNoteIdOffset));
    uint32_t flags = host_frame::Read<uint32_t>(note, host_frame::kNoteFlagsOffset);
    if (newLayout) EntryMetricsRecord::SetVisible(answer, i, (flags & host_frame::kNoteAccidentalShown) != 0);
  }
  std::memcpy(metrics, answer.data(), answer.size());
  host_.Frames().AddMetrics(metrics);
  return 1;
}

int32_t HostCallHandler::FreeEntryMetrics(void* metrics) {
  if (host_.Frames().ReleaseMetrics(metrics)) return 1;
  host_.Misuse().ReportFrameError("TX_FreeEntryMetrics of metrics the host did not fill");
  return 0;
}

int32_t HostCallHandler::SlotToInst(int32_t slot) {
  Document* document = Current();
  return document ? host_.StaffAtSlot(document->currentPart, slot) : 0;
}

int32_t HostCallHandler::InstToSlot(int32_t staff) {
  Document* document = Current();
  if (!document || staff < std::numeric_limits<int16_t>::min() || staff > std::numeric_limits<int16_t>::max()) {
    return 0;
  }
  return host_.SlotOfStaff(document->currentPart, static_cast<int16_t>(staff));
}

int32_t HostCallHandler::GetMaxLayers() { return host_.Layers().MaxLayers(); }

int32_t HostCallHandler::GetShowLayer(int32_t layerIndex) { return host_.Layers().Shown(layerIndex) ? 1 : 0; }

int32_t HostCallHandler::GetCurrentDocument() { return host_.CurrentDocument(); }

int32_t HostCallHandler::GetCurrentPartID() {
  Document* document = Current();
  return document ? document->currentPart : 0;
}

int32_t HostCallHandler::SetCurrentPartID(int32_t part) {
  Document* document = Current();
  if (!document || part < 0 || part > 0x7FFF || !document->content.HasPart(static_cast<int16_t>(part))) return 0;
  document->currentPart = static_cast<int16_t>(part);
  return 1;
}

int32_t HostCallHandler::GetNextPartID(int32_t part) {
  Document* document = Current();
  if (!document || part < 0 || part > 0x7FFF) return kNoNextPart;
  const auto& parts = document->content.parts;
  if (!parts.count(static_cast<int16_t>(part))) return kNoNextPart;
  auto next = parts.upper_bound(static_cast<int16_t>(part));
  return next == parts.end() ? kNoNextPart : next->first;
}

int32_t HostCallHandler::StartEdit(const char* utf8Name) { return host_.Edits().Start(utf8Name) ? 1 : 0; }

int32_t HostCallHandler::EndEdit() {
  if (host_.Edits().OpenCount() == 0) {
    host_.Misuse().ReportCallError("TX_EndTavrelEdit without an open edit");
    return 0;
  }
  return host_.Edits().End() ? 1 : 0;
}

int32_t HostCallHandler::CancelEdit() {
  if (host_.Edits().OpenCount() == 0) {
    host_.Misuse().ReportCallError("TX_CancelTavrelEdit without an open edit");
    return 0;
  }
  return host_.Edits().Cancel() ? 1 : 0;
}

int32_t HostCallHandler::GetCurERegions(void* first, void* region, void* third) {
  (void)third;  // the plug-in only hands it back to TX_RedrawMusic
  Document* document = Current();
  if (first) host_frame::Write<int32_t>(first, 0, 0);
  if (region) std::memset(region, 0, kSelectionRecordSize);
  if (!document || !region) return 0;
  host_.Selection().Record().WriteTo(region);
  return 1;
}

int32_t HostCallHandler::SetCurERegion(const void* region) {
  if (!Current() || !region) return 0;
  host_.Selection().SetRecord(SelectionRecord::ReadFrom(region));
  return 1;
}

int32_t HostCallHandler::RedrawMusic() { return Current() ? 1 : 0; }

int32_t HostCallHandler::UpdateLayout() {
  Document* document = Current();
  if (!document) return 0;
  document->content.unlaidSystems = false;
  LayOutSystems(document->content, true);
  return 1;
}

int32_t HostCallHandler::ScrollTo() { return Current() ? 1 : 0; }

int32_t HostCallHandler::GetCurrentWindowInfo(void* record) {
  const HostEnvironment& environment = host_.Environment();
  if (!record || !Current() || !environment.WindowInfoAnswers()) return 0;
  RecordBytes info(static_cast<size_t>(kWindowInfoSize), 0);
  WindowInfoRecord::PageView::Set(info, environment.PageView());
  WindowInfoRecord::Zoom::Set(info, environment.Zoom());
  std::memcpy(record, info.data(), info.size());
  return 1;
}

int32_t HostCallHandler::GetTavrelPath(int32_t folderKind, void* buffer) {
  uint32_t version = host_.HostVersion();
  int32_t expected = version < kHostVersion2010 ? kOldPluginFolderKind : kPluginFolderKind;
  if (folderKind != expected) {
    host_.Misuse().ReportCallError("TX_GetTavrelPath: folder kind " + std::to_string(folderKind) +
                                   ", the host expects " + std::to_string(expected));
    return 0;
  }
  if (!buffer || host_.Environment().PluginFolder().empty()) return 0;
  std::vector<uint8_t> path = EncodeHostText(host_.Environment().PluginFolder(), version);
  if (path.size() > kPathBufferSize) return 0;
  std::memcpy(buffer, path.data(), path.size());
  return 1;
}

int32_t HostCallHandler::AutoNumberedName(int32_t textBlock, char16_t* buffer, int32_t size) {
  Document* document = Current();
  if (!document || !buffer || size <= 0) return 0;
  if (host_.HostVersion() < kHostVersion2011) {
    host_.Misuse().ReportCallError("TX_AutoNumberedName_UTF16 called on a host before 0x11000000");
    return 0;
  }
  if (textBlock < 1 || textBlock > 0x7FFF ||
      !document->content.records.Find(RecordKey{kTextBlockTag, static_cast<int16_t>(textBlock), 0, 0})) {
    return 0;
  }
  std::u16string name =
      Utf8ToUtf16(PlainName(document->content.TextOfBlock(static_cast<int16_t>(textBlock), host_.HostVersion())));
  // A real host may use every unit it is told of; filling them all makes a
  // caller that overstates its buffer fail under the sanitizers.
  size_t units = std::min(name.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, name.data(), units * sizeof(char16_t));
  std::fill(buffer + units, buffer + size, u'\0');
  return 1;
}

int32_t HostCallHandler::ExecuteMenuItem(int32_t command) {
  Document* document = Current();
  host_.Environment().AddMenuCommand(command);
  if (!document) return 0;
  if (command == kNoteSpacingCommand) {
    host_.Environment().AddSpacingCommand(
        SpacingCommand{document->Id(), document->currentPart, host_.Selection().Record()});
  }
  return 1;
}

}  // namespace headless
