#include "analysis/tc_change_checked_handler.h"

#include <algorithm>

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

// A loaded cell's entries by entry number; the first entry of a number
// wins, as a walk through the cell would find it.
class EntriesByNumber {
 public:
  explicit EntriesByNumber(const TCNoteEntryCell& cell) {
    entries_.reserve(static_cast<size_t>(cell.GetCount()));
    for (int32_t i = 0; i < cell.GetCount(); ++i) {
      if (TCNoteEntry* entry = cell.GetEntryAt(i)) entries_.push_back({entry->GetEntryNumber(), i, entry});
    }
    std::sort(entries_.begin(), entries_.end(), [](const Numbered& left, const Numbered& right) {
      return left.number != right.number ? left.number < right.number : left.position < right.position;
    });
  }

  TCNoteEntry* Find(uint32_t number) const {
    auto found = std::lower_bound(entries_.begin(), entries_.end(), number,
                                  [](const Numbered& entry, uint32_t wanted) { return entry.number < wanted; });
    return found != entries_.end() && found->number == number ? found->entry : nullptr;
  }

 private:
  struct Numbered {
    uint32_t number;
    int32_t position;
    TCNoteEntry* entry;
  };
  std::vector<Numbered> entries_;
};

}  // namespace

TCChangeCheckedHandler::TCChangeCheckedHandler(TCDataListRows* resultList, bool respace)
    : resultList_(resultList), respace_(respace) {}

bool TCChangeCheckedHandler::Execute() {
  cellsToRespace_.ClearAll();
  cellKeys_.clear();
  if (!resultList_ || !region_) return false;
  bool changed = false;
  // The findings of one cell come one after another in the list; they are
  // written with one load and one save of the cell, which leaves the notes
  // as writing them one at a time would. A measure of thousands of notes is
  // then read once, not once for every finding in it.
  std::vector<AccidentalFinding*> sameCell;
  for (int32_t i = 0; i < resultList_->GetRowCount(); ++i) {
    TCDataListRow* row = resultList_->GetRowAt(i);
    if (!row || !row->IsChecked()) continue;
    AccidentalFinding* finding = GetRowFinding(row);
    if (!finding || !IsInRegion(*finding)) continue;
    if (!sameCell.empty() && !IsSameCell(*sameCell.front(), *finding)) {
      changed = ApplyCellFindings(sameCell) || changed;
      sameCell.clear();
    }
    sameCell.push_back(finding);
  }
  if (!sameCell.empty()) changed = ApplyCellFindings(sameCell) || changed;
  if (changed && respace_) {
    TCSpacingCellIteratorHandler byMeasure;
    // One cell per changed measure and staff: a large apply has thousands.
    cellsToRespace_.SortStably(&byMeasure);
    RespaceChangedMeasures(cellsToRespace_);
  }
  return changed;
}

bool TCChangeCheckedHandler::IsSameCell(const AccidentalFinding& left, const AccidentalFinding& right) {
  return left.measure == right.measure && left.staff == right.staff;
}

bool TCChangeCheckedHandler::ApplyCellFindings(const std::vector<AccidentalFinding*>& findings) {
  // Notes are written in the score; the user may be looking at a linked part.
  TCPart score(kScorePart);
  score.SwitchTo();
  std::vector<AccidentalFinding*> written = WriteToCell(findings);
  score.SwitchBack();
  if (written.empty()) return false;
  for (AccidentalFinding* finding : written) finding->applied = true;
  AddCellToRespace(findings.front()->measure, findings.front()->staff);
  return true;
}

bool TCChangeCheckedHandler::IsInRegion(const AccidentalFinding& finding) const {
  int32_t slot = TX_InstToSlot(finding.staff, region_->GetStartSlotList());
  return slot > 0 && region_->ContainsSlot(slot) && region_->IsMeasurePositionInside(finding.measure, finding.position);
}

std::vector<AccidentalFinding*> TCChangeCheckedHandler::WriteToCell(
    const std::vector<AccidentalFinding*>& findings) const {
  std::vector<AccidentalFinding*> written;
  TCNoteEntryCell cell(findings.front()->measure, findings.front()->staff);
  cell.SetLayerMode(TCNoteEntryCell::kLayersShown);
  if (!cell.Load()) return written;
  EntriesByNumber entries(cell);
  for (AccidentalFinding* finding : findings) {
    if (WriteToNote(entries.Find(finding->entryNumber), &cell, *finding)) written.push_back(finding);
  }
  if (!written.empty() && !cell.Save()) written.clear();
  return written;
}

bool TCChangeCheckedHandler::WriteToNote(TCNoteEntry* entry, TCNoteEntryCell* cell,
                                         const AccidentalFinding& finding) const {
  if (!entry || finding.noteIndex < 0 || finding.noteIndex >= entry->GetNoteCount()) return false;
  // A read-only frame is never saved back, so its note would stay as it is.
  if (entry->IsInReadOnlyFrame()) return false;
  TCNote* note = entry->GetNoteAt(finding.noteIndex);
  if (!note || !HasPitchOfScan(entry, cell, finding)) return false;
  note->SetFlags(note->GetFlags() | FlagsToApply(finding));
  return true;
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
