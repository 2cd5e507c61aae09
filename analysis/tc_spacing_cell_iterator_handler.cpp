#include "analysis/tc_spacing_cell_iterator_handler.h"

#include <cstdint>
#include <limits>

#include "score/tc_cells.h"
#include "score/tc_music_region.h"
#include "score/tc_parts.h"
#include "score/tc_system_staves.h"
#include "shell/tx_api.h"

namespace {

constexpr int16_t kScoreStaffOrderSystem = 0;
constexpr int32_t kEndOfMeasure = std::numeric_limits<int32_t>::max();

bool IsMeasureNumber(int32_t measure) { return measure >= 1 && measure <= std::numeric_limits<int16_t>::max(); }

// Whether the selection names staves that the part has. A part that was never
// selected in answers no staves, and the host's command would then respace
// nothing.
bool SelectsStavesOfPart(const TCMusicRegion& selection, const TCSystemStaves& staffList) {
  return selection.GetStartSlot() >= 1 && selection.GetEndSlot() >= selection.GetStartSlot() &&
         selection.GetEndSlot() <= staffList.GetCount();
}

// Selects the whole of one measure, on the selected staves, and runs the
// host's note spacing on it.
void RespaceMeasure(int32_t measure, int32_t staff, const TCSystemStaves& staffList) {
  TCMusicRegion region;
  region.ReadCurrentSelection();
  if (!SelectsStavesOfPart(region, staffList)) {
    auto slot = static_cast<int16_t>(TX_InstToSlot(staff, region.GetStartSlotList()));
    region.SetStartSlot(slot);
    region.SetEndSlot(slot);
  }
  region.SetStartMeasure(static_cast<int16_t>(measure));
  region.SetEndMeasure(static_cast<int16_t>(measure));
  region.SetStartPosition(0);
  region.SetEndPosition(kEndOfMeasure);
  region.SetInDocument();
  TX_ExecuteMenuItem(kNoteSpacingMenuCommand);
}

int32_t MeasureOf(const TCCells& cells, int32_t index) {
  const TCCell* cell = cells.GetCellAt(index);
  return cell ? cell->GetMeasure() : 0;
}

}  // namespace

int32_t TCSpacingCellIteratorHandler::Compare(__TCBase* first, __TCBase* second) {
  auto* firstCell = dynamic_cast<TCCell*>(first);
  auto* secondCell = dynamic_cast<TCCell*>(second);
  if (!firstCell || !secondCell) return 0;
  if (firstCell->GetMeasure() < secondCell->GetMeasure()) return -1;
  if (firstCell->GetMeasure() > secondCell->GetMeasure()) return 1;
  return 0;
}

void RespaceCells(const TCCells& cells, const TCSystemStaves& staffList) {
  int32_t index = 0;
  while (index < cells.GetCount()) {
    const TCCell* cell = cells.GetCellAt(index);
    if (!cell || !IsMeasureNumber(cell->GetMeasure()) || !staffList.FindStaff(cell->GetStaff())) {
      ++index;
      continue;
    }
    int32_t measure = cell->GetMeasure();
    RespaceMeasure(measure, cell->GetStaff(), staffList);
    // Once per measure and part, however many of its staves changed.
    while (index < cells.GetCount() && MeasureOf(cells, index) == measure) ++index;
  }
}

void RespaceChangedMeasures(const TCCells& cells) {
  TCMusicRegion remembered;
  remembered.ReadCurrentSelection();
  TCParts parts;
  parts.LoadAll();
  for (int32_t i = 0; i < parts.GetCount(); ++i) {
    TCPart* part = parts.GetPartAt(i);
    if (!part) continue;
    part->SwitchTo();
    // A part the host did not switch to is left alone rather than respacing
    // the one that stayed current.
    if (TX_GetCurrentPartID() == part->GetPartNumber()) {
      // A part may keep a selection of its own, which respacing changes.
      TCMusicRegion partSelection;
      partSelection.ReadCurrentSelection();
      TCSystemStaves staffList;
      staffList.LoadAllForSystem(kScoreStaffOrderSystem);
      RespaceCells(cells, staffList);
      partSelection.SetInDocument();
    }
    part->SwitchBack();
  }
  remembered.SetInDocument();
}
