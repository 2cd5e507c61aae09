// Respacing the measures that an apply changed: the host's note-spacing
// command run once per changed measure in every part, the score included,
// that shows one of the changed staves.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"

class TCCells;
class TCSystemStaves;

// The host's menu command that respaces the notes of the selected measures.
constexpr int32_t kNoteSpacingMenuCommand = 12106;

// Orders cells by measure number, so that the cells of one measure follow
// each other.
class TCSpacingCellIteratorHandler : public TCIteratorHandler {
 public:
  const char* ClassName() const override { return "TCSpacingCellIteratorHandler"; }
  // -1 when the first cell's measure is lower, 1 when higher, 0 when equal.
  int32_t Compare(__TCBase* first, __TCBase* second) override;
};

// Respaces the measures of the cells, sorted by measure, in the score and in
// every linked part that shows their staves. The selection of every part is
// put back afterwards.
void RespaceChangedMeasures(const TCCells& cells);

// In the current part, whose staves are the staff list: one note-spacing
// command for each measure that has a cell on one of those staves.
void RespaceCells(const TCCells& cells, const TCSystemStaves& staffList);
