// The host functions for note-entry frames, entry metrics, slots and layers.
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "headless/document.h"
#include "headless/frame_registry.h"
#include "headless/headless_host.h"
#include "headless/host_call_handler.h"
#include "shell/host_version.h"

namespace headless {

namespace {

std::string FrameName(const void* frame) {
  char text[40];
  std::snprintf(text, sizeof text, "frame %p", frame);
  return text;
}

}  // namespace

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

}  // namespace headless
