// The plug-in's Scan and Change Checked on the host's current selection, as
// the report window runs them: the analyzer over the selected region with
// the profile's settings, then the change handler for the checked rows.
#pragma once

#include <cstdint>

#include "analysis/analysis_settings.h"
#include "score/tc_music_region.h"
#include "ui/tc_data_list_rows.h"

class AccidentalFinding;

namespace session {

class ScanRun {
 public:
  ScanRun() = default;
  ~ScanRun();
  ScanRun(const ScanRun&) = delete;
  ScanRun& operator=(const ScanRun&) = delete;

  // False when the selection is empty or the analyzer fails.
  bool Scan(const AnalysisSettings& settings, uint32_t layerMask);

  // Checks every row first when all is set. Answers whether a note changed.
  bool ApplyChecked(bool all);
  // False for an index that is not a row's.
  bool SetChecked(int32_t index, bool checked);
  // Whether applying the finding shows its accidental in parentheses.
  bool SetParentheses(int32_t index, bool parentheses);

  int32_t FindingCount() const { return rows_.GetRowCount(); }
  // The finding of a row in report order, or null.
  const AccidentalFinding* FindingAt(int32_t index) const;
  bool IsChecked(int32_t index) const;
  int32_t CheckedCount() const;
  // The findings that ApplyChecked(all) would apply.
  int32_t PendingCount(bool all) const { return all ? FindingCount() : CheckedCount(); }
  int32_t AppliedCount() const;

 private:
  void ReleaseFindings();

  TCDataListRows rows_;
  TCMusicRegion region_;
};

}  // namespace session
