#include "analysis/tc_change_checked_handler.h"

#include "analysis/accidental_finding.h"
#include "analysis/pitch_memory.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_spacing_cell_iterator_handler.h"
#include "framework/tc_string.h"
#include "score/tc_music_region.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitches.h"
#include "score/tc_part.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_data_list_rows.h"

namespace {

constexpr int16_t kScorePart = 0;

uint32_t FlagsToApply(const AccidentalFinding& finding) {
  uint32_t flags = host_frame::kNoteAccidentalShown;
  if (finding.parentheses) flags |= host_frame::kNoteParentheses;
  if (finding.showAccidental) flags |= host_frame::kNoteApplied;
  return flags;
}

}  // namespace

TCChangeCheckedHandler::TCChangeCheckedHandler(TCDataListRows* resultList, bool respace)
    : resultList_(resultList), respace_(respace) {}

bool TCChangeCheckedHandler::Execute() {
  cellsToRespace_.ClearAll();
  cellKeys_.clear();
  if (!resultList_ || !region_) return false;
  bool changed = false;
  for (int32_t i = 0; i < resultList_->GetRowCount(); ++i) {
    TCDataListRow* row = resultList_->GetRowAt(i);
    if (!row || !row->IsChecked()) continue;
    AccidentalFinding* finding = GetRowFinding(row);
    if (finding && ApplyFinding(finding)) changed = true;
  }
  if (changed && respace_) {
    TCSpacingCellIteratorHandler byMeasure;
    // One cell per changed measure and staff: a large apply has thousands.
    cellsToRespace_.SortStably(&byMeasure);
    RespaceChangedMeasures(cellsToRespace_);
  }
  return changed;
}

bool TCChangeCheckedHandler::ApplyFinding(AccidentalFinding* finding) {
  if (!IsInRegion(*finding)) return false;
  // Notes are written in the score; the user may be looking at a linked part.
  TCPart score(kScorePart);
  score.SwitchTo();
  bool written = WriteToNote(*finding);
  score.SwitchBack();
  if (!written) return false;
  finding->applied = true;
  AddCellToRespace(finding->measure, finding->staff);
  return true;
}

bool TCChangeCheckedHandler::IsInRegion(const AccidentalFinding& finding) const {
  int32_t slot = TX_InstToSlot(finding.staff, region_->GetStartSlotList());
  return slot > 0 && region_->ContainsSlot(slot) && region_->IsMeasurePositionInside(finding.measure, finding.position);
}

bool TCChangeCheckedHandler::WriteToNote(const AccidentalFinding& finding) const {
  TCNoteEntryCell cell(finding.measure, finding.staff);
  cell.SetLayerMode(TCNoteEntryCell::kLayersShown);
  if (!cell.Load()) return false;
  TCNoteEntry* entry = cell.FindEntryNumber(finding.entryNumber);
  if (!entry || finding.noteIndex < 0 || finding.noteIndex >= entry->GetNoteCount()) return false;
  // A read-only frame is never saved back, so its note would stay as it is.
  if (entry->IsInReadOnlyFrame()) return false;
  TCNote* note = entry->GetNoteAt(finding.noteIndex);
  if (!note || !HasPitchOfScan(entry, &cell, finding)) return false;
  note->SetFlags(note->GetFlags() | FlagsToApply(finding));
  return cell.Save();
}

bool TCChangeCheckedHandler::HasPitchOfScan(TCNoteEntry* entry, TCNoteEntryCell* cell,
                                            const AccidentalFinding& finding) const {
  // Named the way the scan named it, so that an untouched note compares equal.
  TCNotePitches* analyzed = BuildAnalyzedEntry(entry, cell->GetKeySignature());
  if (!analyzed) return false;
  TCNotePitch* pitch = analyzed->GetPitchAt(finding.noteIndex);
  bool unchanged = pitch && pitch->GetStoredPitchName() && pitch->GetStoredPitchName()->IsEqual(&finding.pitchName);
  delete analyzed;
  return unchanged;
}

void TCChangeCheckedHandler::AddCellToRespace(int32_t measure, int32_t staff) {
  if (!cellKeys_.insert({measure, staff}).second) return;
  cellsToRespace_.Add(new TCCell(measure, staff));
}

bool ApplyCheckedFindings(TCDataListRows* resultList, const TCMusicRegion* region, bool respace) {
  TCChangeCheckedHandler handler(resultList, respace);
  handler.SetRegion(region);
  TCUndoBlock block;
  return block.ExecuteHandler(&handler, TCChangeCheckedHandler::kEditName);
}
