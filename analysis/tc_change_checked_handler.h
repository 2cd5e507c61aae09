// Applies the checked findings of a result list: each finding's note is found
// again in its cell and, when its pitch is still the one of the scan, given
// its accidental (optionally in parentheses). The measures changed can then be
// respaced in the score and every linked part.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "analysis/tc_undo_block.h"
#include "score/tc_cells.h"

class AccidentalFinding;
class TCDataListRows;
class TCMusicRegion;
class TCNoteEntry;
class TCNoteEntryCell;

class TCChangeCheckedHandler : public __TCUndoBlockHandler {
 public:
  static constexpr const char* kEditName = "Accidentals";

  // The result list is not owned.
  TCChangeCheckedHandler(TCDataListRows* resultList, bool respace);

  const char* ClassName() const override { return "TCChangeCheckedHandler"; }

  // Applies every checked finding that can still be applied and marks it
  // applied; true when at least one note was changed.
  bool Execute() override;

  // Not owned; must outlive the run.
  void SetRegion(const TCMusicRegion* region) { region_ = region; }
  const TCMusicRegion* GetRegion() const { return region_; }
  void SetRespace(bool respace) { respace_ = respace; }
  bool GetRespace() const { return respace_; }
  // One cell per changed staff and measure, as the last run left them.
  const TCCells& GetCellsToRespace() const { return cellsToRespace_; }

 private:
  static bool IsSameCell(const AccidentalFinding& left, const AccidentalFinding& right);
  // Applies findings of one cell, in their order, and marks those written
  // applied; true when the cell was changed.
  bool ApplyCellFindings(const std::vector<AccidentalFinding*>& findings);
  bool IsInRegion(const AccidentalFinding& finding) const;
  // Loads the findings' cell, writes each finding's flags to its note and
  // saves the cell once. Answers the findings written: none when the cell
  // could not be loaded or saved.
  std::vector<AccidentalFinding*> WriteToCell(const std::vector<AccidentalFinding*>& findings) const;
  // False when the note is gone, read-only or was changed since the scan.
  bool WriteToNote(TCNoteEntry* entry, TCNoteEntryCell* cell, const AccidentalFinding& finding) const;
  bool HasPitchOfScan(TCNoteEntry* entry, TCNoteEntryCell* cell, const AccidentalFinding& finding) const;
  void AddCellToRespace(int32_t measure, int32_t staff);

  TCDataListRows* resultList_;
  const TCMusicRegion* region_ = nullptr;
  bool respace_;
  TCCells cellsToRespace_;
  // (measure, staff) of every cell to respace, for the duplicate test.
  std::set<std::pair<int32_t, int32_t>> cellKeys_;
};

// Runs a change handler for the result list on the region as one host edit
// named "Accidentals"; the edit is cancelled when nothing was applied.
// Answers whether anything was applied.
bool ApplyCheckedFindings(TCDataListRows* resultList, const TCMusicRegion* region, bool respace);
