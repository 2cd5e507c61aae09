// Analysed copies of the entries of one cell, for tests that hand notes to
// the analysis directly.
#pragma once

#include <memory>
#include <vector>

#include "analysis/pitch_memory.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitches.h"

namespace scan_test {

// Every note entry of the cell's layers (all of them by default), in cell order.
inline std::vector<std::unique_ptr<TCNotePitches>> AnalyzedEntriesOf(int16_t staff, int16_t measure,
                                                                     int32_t layerMode = TCNoteEntryCell::kLayersAll) {
  std::vector<std::unique_ptr<TCNotePitches>> entries;
  TCNoteEntryCell cell(measure, staff);
  cell.SetLayerMode(layerMode);
  if (!cell.Load()) return entries;
  for (int32_t i = 0; i < cell.GetCount(); ++i) {
    if (TCNotePitches* analyzed = BuildAnalyzedEntry(cell.GetEntryAt(i), cell.GetKeySignature())) {
      entries.emplace_back(analyzed);
    }
  }
  return entries;
}

}  // namespace scan_test
