// Shared helpers of the apply tests: a result list that releases its findings
// as the main window does, a scan of the host's selection, and ways to look at
// and change notes in the headless host.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_undo_block.h"
#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "score/tc_music_region.h"
#include "score/tc_note_entry_cell.h"
#include "shell/host_frame.h"
#include "tests/headless/host_fixture.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_data_list_rows.h"

// The flags that applying a finding may set on a note.
constexpr uint32_t kAppliedFlagBits =
    host_frame::kNoteAccidentalShown | host_frame::kNoteParentheses | host_frame::kNoteApplied;

class FindingList : public TCDataListRows {
 public:
  ~FindingList() override { Clear(); }

  void Clear() { ReleaseRowFindings(this); }

  AccidentalFinding* FindingAt(int32_t position) const { return GetRowFinding(GetRowAt(position)); }

  // The row of a note, or -1.
  int32_t RowOfNote(uint32_t entryNumber, int32_t noteIndex) const {
    for (int32_t i = 0; i < GetRowCount(); ++i) {
      const AccidentalFinding* finding = FindingAt(i);
      if (finding && finding->entryNumber == entryNumber && finding->noteIndex == noteIndex) return i;
    }
    return -1;
  }

  AccidentalFinding* FindingOfNote(uint32_t entryNumber, int32_t noteIndex = 0) const {
    int32_t row = RowOfNote(entryNumber, noteIndex);
    return row < 0 ? nullptr : FindingAt(row);
  }

  // Removes the rows whose findings were applied, as the window does after a change.
  void RemoveApplied() {
    for (int32_t i = GetRowCount() - 1; i >= 0; --i) {
      AccidentalFinding* finding = FindingAt(i);
      if (!finding || !finding->applied) continue;
      delete finding;
      RemoveRowAt(i);
    }
  }
};

class ApplyTest : public headless::HostFixture {
 protected:
  void TearDown() override {
    for (const std::string& error : Host().Misuse().CallErrors()) ADD_FAILURE() << "host call misuse: " << error;
    EXPECT_EQ(Host().Edits().OpenCount(), 0) << "an edit was left open";
    headless::HostFixture::TearDown();
  }

  // Scans the host's current selection as the Scan command does; the region
  // is what the apply later works on.
  static bool ScanSelection(FindingList* list, TCMusicRegion* region,
                            const AnalysisSettings& settings = AnalysisSettings()) {
    list->Clear();
    region->ReadCurrentSelection();
    TCAccidentalsAnalyzer analyzer(list, settings);
    analyzer.SetRegion(region);
    TCUndoBlock block;
    return block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName);
  }

  static headless::NoteInfo StoredNote(uint32_t entryNumber, int noteIndex = 0) {
    headless::EntryInfo entry;
    EXPECT_TRUE(Host().Queries().FindEntry(entryNumber, &entry)) << "no entry " << entryNumber;
    if (noteIndex < 0 || noteIndex >= static_cast<int>(entry.notes.size())) {
      ADD_FAILURE() << "entry " << entryNumber << " has no note " << noteIndex;
      return headless::NoteInfo();
    }
    return entry.notes[static_cast<size_t>(noteIndex)];
  }

  static uint32_t AppliedBits(uint32_t entryNumber, int noteIndex = 0) {
    return StoredNote(entryNumber, noteIndex).flags & kAppliedFlagBits;
  }

  // Changes a stored note through the host's frames, as the user editing the
  // score after the scan would.
  static void ChangeNote(uint32_t entryNumber, int16_t displacementSteps, int16_t raiseLowerSteps) {
    headless::EntryInfo info;
    ASSERT_TRUE(Host().Queries().FindEntry(entryNumber, &info));
    TCNoteEntryCell cell(info.measure, info.staff);
    cell.SetLayerMode(TCNoteEntryCell::kLayersAll);
    ASSERT_TRUE(cell.Load());
    TCNoteEntry* entry = cell.FindEntryNumber(entryNumber);
    ASSERT_NE(entry, nullptr);
    TCNote* note = entry->GetNoteAt(0);
    ASSERT_NE(note, nullptr);
    note->SetDisplacement(static_cast<int16_t>(note->GetDisplacement() + displacementSteps));
    note->SetRaiseLower(static_cast<int16_t>(note->GetRaiseLower() + raiseLowerSteps));
    ASSERT_TRUE(cell.Save());
  }

  static int CountAppliedFindings(const FindingList& list) {
    int count = 0;
    for (int32_t i = 0; i < list.GetRowCount(); ++i) {
      const AccidentalFinding* finding = list.FindingAt(i);
      if (finding && finding->applied) ++count;
    }
    return count;
  }
};
