// The host's side of every plug-in API function, as the exported functions
// call it after logging. Each answers as Tavrel does; results are 16-bit
// values, nonzero for success.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>

#include "headless/document.h"

namespace headless {

class HeadlessHost;

class HostCallHandler {
 public:
  explicit HostCallHandler(HeadlessHost& host) : host_(host) {}

  // Document records.
  int32_t LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version);
  int32_t SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version);
  int32_t CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version);
  int32_t DeleteEData(uint32_t tag, void* address, uint32_t version);
  int32_t NextEData(uint32_t tag, void* address, uint32_t version);

  // Note-entry frames, entry metrics, slots and layers.
  void* LoadTGF(int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex);
  int32_t SaveTGF(void* frame);
  int32_t FreeTGF(void* frame);
  int32_t GetEntryMetrics(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, bool newLayout);
  int32_t FreeEntryMetrics(void* metrics);
  int32_t SlotToInst(int32_t slot);
  int32_t InstToSlot(int32_t staff);
  int32_t GetMaxLayers();
  int32_t GetShowLayer(int32_t layerIndex);

  // Documents, parts, edits.
  int32_t GetCurrentDocument();
  int32_t GetCurrentPartID();
  int32_t SetCurrentPartID(int32_t part);
  int32_t GetNextPartID(int32_t part);
  int32_t StartEdit(const char* utf8Name);
  int32_t EndEdit();
  int32_t CancelEdit();

  // Selection, view, layout, commands, folders, names.
  int32_t GetCurERegions(void* first, void* region, void* third);
  int32_t SetCurERegion(const void* region);
  int32_t RedrawMusic();
  int32_t UpdateLayout();
  int32_t ScrollTo();
  int32_t GetCurrentWindowInfo(void* record);
  int32_t GetTavrelPath(int32_t folderKind, void* buffer);
  int32_t AutoNumberedName(int32_t textBlock, char16_t* buffer, int32_t size);
  int32_t ExecuteMenuItem(int32_t command);

 private:
  Document* Current();
  bool CheckLayoutVersion(const char* function, uint32_t tag, uint32_t version);
  int32_t LoadStaffAtPosition(const void* address, void* buffer, int32_t* size);
  // The entry of the number in the first layers of a staff in a measure, or null.
  const EntryBytes* FindEntryInMeasure(const DocumentContent& content, int16_t staff, int16_t measure,
                                       uint32_t entryNumber, int layers);

  // Where each entry number of one staff in one measure stands (layer and
  // index), kept while the document's cells stay unchanged: entry metrics
  // are asked for entry after entry of the same measure.
  struct MeasureEntries {
    uint64_t cellsStamp = 0;
    int16_t staff = 0;
    int16_t measure = 0;
    int layers = 0;
    std::unordered_map<uint32_t, std::pair<int16_t, size_t>> places;
  };

  HeadlessHost& host_;
  MeasureEntries measureEntries_;
};

}  // namespace headless
