#include "analysis/tc_analyzed_cells.h"

#include <algorithm>
#include <cstdint>

#include "analysis/pitch_memory.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitches.h"
#include "shell/tx_api.h"

namespace {

constexpr int32_t kFirstSingleLayer = 1;
constexpr int32_t kLastSingleLayer = 4;

void AppendAll(const std::vector<TCNotePitches*>& entries, std::vector<TCNotePitches*>* group) {
  group->insert(group->end(), entries.begin(), entries.end());
}

}  // namespace

TCAnalyzedCells::TCAnalyzedCells(uint32_t layerMask)
    : layerMask_(layerMask), layerCount_(std::min(GetHostLayerCount(), TCNoteEntryCell::kMaxFrames)) {
  for (int32_t layer = 0; layer < layerCount_; ++layer) shownLayers_.push_back(TX_GetShowLayer(layer) != 0);
}

TCAnalyzedCells::~TCAnalyzedCells() {
  // Each note pitch deletes its own pitch name.
  for (TCNotePitches* entry : owned_) delete entry;
}

void TCAnalyzedCells::Own(const std::vector<TCNotePitches*>& entries) {
  owned_.insert(owned_.end(), entries.begin(), entries.end());
}

TCAnalyzedCells::Cell& TCAnalyzedCells::CellAt(int32_t measure, int32_t staff) {
  Cell& cell = PlaceOf(measure, staff);
  if (!cell.built) {
    cell.built = true;
    Build(measure, staff, &cell);
  }
  return cell;
}

TCAnalyzedCells::Cell& TCAnalyzedCells::PlaceOf(int32_t measure, int32_t staff) {
  // Host measures are 16-bit numbers; any other is kept apart, so that no
  // table grows past the host's measures.
  if (measure < INT16_MIN || measure > INT16_MAX) {
    return otherCells_[(static_cast<uint64_t>(static_cast<uint32_t>(measure)) << 32) | static_cast<uint32_t>(staff)];
  }
  StaffCells& cells = staves_[staff];
  if (cells.byMeasure.empty()) cells.firstMeasure = measure;
  if (measure < cells.firstMeasure) {
    cells.byMeasure.insert(cells.byMeasure.begin(), static_cast<size_t>(cells.firstMeasure - measure), Cell{});
    cells.firstMeasure = measure;
  }
  auto place = static_cast<size_t>(measure - cells.firstMeasure);
  if (place >= cells.byMeasure.size()) cells.byMeasure.resize(place + 1);
  return cells.byMeasure[place];
}

void TCAnalyzedCells::Build(int32_t measure, int32_t staff, Cell* cell) {
  TCNoteEntryCell loaded(measure, staff);
  loaded.SetLayerMode(TCNoteEntryCell::kLayersAll);
  if (!loaded.Load()) return;
  cell->loaded = true;
  cell->firstBound = static_cast<uint32_t>(bounds_.size());
  bounds_.push_back(static_cast<uint32_t>(owned_.size()));
  int32_t frame = 0;
  int16_t firstLayer = loaded.GetCount() > 0 ? loaded.GetEntryAt(0)->GetLayerIndex() : 0;
  for (int32_t i = 0; i < loaded.GetCount(); ++i) {
    TCNoteEntry* entry = loaded.GetEntryAt(i);
    if (!entry) continue;
    cell->severalLayers = cell->severalLayers || entry->GetLayerIndex() != firstLayer;
    // The cell lists the entries frame by frame.
    for (; frame < layerCount_ && loaded.GetFrame(frame) != entry->GetFrame(); ++frame) {
      bounds_.push_back(static_cast<uint32_t>(owned_.size()));
    }
    if (frame >= layerCount_) break;
    TCNotePitches* analyzed = BuildCollectedEntry(layerMask_, entry, &loaded);
    if (analyzed) owned_.push_back(analyzed);
  }
  for (; frame < layerCount_; ++frame) bounds_.push_back(static_cast<uint32_t>(owned_.size()));
}

void TCAnalyzedCells::AppendFrame(const Cell& cell, int32_t frame, std::vector<TCNotePitches*>* group) const {
  size_t bound = cell.firstBound + static_cast<size_t>(frame);
  group->insert(group->end(), owned_.begin() + bounds_[bound], owned_.begin() + bounds_[bound + 1]);
}

void TCAnalyzedCells::AppendLoadedAlone(int32_t measure, int32_t staff, int32_t layerMode,
                                        std::vector<TCNotePitches*>* group) {
  TCNoteEntryCell loaded(measure, staff);
  loaded.SetLayerMode(layerMode);
  if (!loaded.Load()) return;
  std::vector<TCNotePitches*> entries;
  CollectCellEntries(layerMask_, &loaded, &entries);
  Own(entries);
  AppendAll(entries, group);
}

void TCAnalyzedCells::AppendShownLayers(int32_t measure, int32_t staff, std::vector<TCNotePitches*>* group) {
  const Cell& cell = CellAt(measure, staff);
  if (!cell.loaded) {
    AppendLoadedAlone(measure, staff, TCNoteEntryCell::kLayersShown, group);
    return;
  }
  for (int32_t layer = 0; layer < layerCount_; ++layer) {
    if (shownLayers_[static_cast<size_t>(layer)]) AppendFrame(cell, layer, group);
  }
}

void TCAnalyzedCells::AppendLayer(int32_t measure, int32_t staff, int32_t layer, std::vector<TCNotePitches*>* group) {
  // A cell loaded for one layer selects nothing beyond the fourth.
  if (layer < kFirstSingleLayer || layer > kLastSingleLayer || layer > layerCount_) return;
  const Cell& cell = CellAt(measure, staff);
  if (!cell.loaded) {
    AppendLoadedAlone(measure, staff, layer, group);
    return;
  }
  AppendFrame(cell, layer - 1, group);
}

bool TCAnalyzedCells::UsesSeveralLayers(int32_t measure, int32_t staff) { return CellAt(measure, staff).severalLayers; }
