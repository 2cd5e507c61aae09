// A headless host with a score builder, and a scan of the host's selection
// into a result list whose findings the fixture releases.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_undo_block.h"
#include "headless/score_builder.h"
#include "score/tc_music_region.h"
#include "tests/headless/host_fixture.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_data_list_rows.h"

namespace scan_test {

class ScanFixture : public headless::HostFixture {
 protected:
  void TearDown() override {
    ReleaseFindings();
    HostFixture::TearDown();
  }

  // Changes the settings of the next scans.
  AnalysisSettings& Settings() { return settings_; }
  void CheckOff(uint32_t option) { settings_.checkOptions &= ~option; }
  void CheckOn(uint32_t option) { settings_.checkOptions |= option; }

  // Scans the host's current selection (everything when nothing is selected)
  // as the Scan command does: in an undo block named "Accidentals".
  const std::vector<const AccidentalFinding*>& Scan(uint32_t layerMask = TCAccidentalsAnalyzer::kAllLayers) {
    ReleaseFindings();
    if (Host().Selection().Record().startMeasure == 0 && Host().Selection().Record().endMeasure == 0)
      Host().Selection().SelectAll();
    TCMusicRegion region;
    region.ReadCurrentSelection();
    TCAccidentalsAnalyzer analyzer(&rows_, settings_);
    analyzer.SetRegion(&region);
    analyzer.SetLayerMask(layerMask);
    TCUndoBlock block;
    scanResult_ = block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName);
    for (int32_t i = 0; i < rows_.GetRowCount(); ++i) findings_.push_back(GetRowFinding(rows_.GetRowAt(i)));
    return findings_;
  }

  // The findings of the last scan on the note of that entry.
  std::vector<const AccidentalFinding*> FindingsOn(uint32_t entryNumber, int32_t noteIndex = 0) const {
    std::vector<const AccidentalFinding*> found;
    for (const AccidentalFinding* finding : findings_) {
      if (finding && finding->entryNumber == entryNumber && finding->noteIndex == noteIndex) found.push_back(finding);
    }
    return found;
  }
  // The one finding on the note; null (and a test failure) when there is not exactly one.
  const AccidentalFinding* OnlyFindingOn(uint32_t entryNumber, int32_t noteIndex = 0) const {
    std::vector<const AccidentalFinding*> found = FindingsOn(entryNumber, noteIndex);
    EXPECT_EQ(found.size(), 1u) << "findings on entry " << entryNumber << " note " << noteIndex;
    return found.size() == 1 ? found.front() : nullptr;
  }
  std::string Description(uint32_t entry, int32_t note = 0) const {
    const AccidentalFinding* finding = OnlyFindingOn(entry, note);
    return finding ? Text(finding->description) : "(none)";
  }
  FindingKind KindOn(uint32_t entry, int32_t note = 0) const {
    const AccidentalFinding* finding = OnlyFindingOn(entry, note);
    return finding ? finding->kind : static_cast<FindingKind>(-1);
  }
  const TCDataListRow* RowOf(const AccidentalFinding* finding) const {
    for (int32_t i = 0; i < rows_.GetRowCount(); ++i) {
      if (GetRowFinding(rows_.GetRowAt(i)) == finding) return rows_.GetRowAt(i);
    }
    return nullptr;
  }

  static std::string Text(const TCString& text) { return text.GetUTF8(); }

  void ReleaseFindings() {
    ReleaseRowFindings(&rows_);
    findings_.clear();
  }

  TCDataListRows rows_;
  std::vector<const AccidentalFinding*> findings_;
  AnalysisSettings settings_;
  bool scanResult_ = false;
};

}  // namespace scan_test
