#include "session/scan_run.h"

#include "analysis/accidental_finding.h"
#include "analysis/region_scan.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_change_checked_handler.h"
#include "ui/tc_data_list_row.h"

namespace session {

namespace {

// The report window's "Respace if necessary" is on until the user turns it off.
constexpr bool kRespace = true;

}  // namespace

ScanRun::~ScanRun() { ReleaseFindings(); }

void ScanRun::ReleaseFindings() { ReleaseRowFindings(&rows_); }

bool ScanRun::Scan(const AnalysisSettings& settings, uint32_t layerMask) {
  TCMusicRegion selection;
  selection.ReadCurrentSelection();
  if (selection.IsEmpty() || layerMask == 0) return false;
  ReleaseFindings();
  region_.ReadCurrentSelection();
  return ScanRegion(settings, layerMask, &selection, &rows_);
}

bool ScanRun::ApplyChecked(bool all) {
  if (all) {
    for (int32_t index = 0; index < rows_.GetRowCount(); ++index) rows_.GetRowAt(index)->SetChecked(true);
  }
  if (CheckedCount() == 0) return false;
  return ApplyCheckedFindings(&rows_, &region_, kRespace);
}

bool ScanRun::SetChecked(int32_t index, bool checked) {
  TCDataListRow* row = rows_.GetRowAt(index);
  if (!row) return false;
  row->SetChecked(checked);
  return true;
}

bool ScanRun::SetParentheses(int32_t index, bool parentheses) {
  AccidentalFinding* finding = GetRowFinding(rows_.GetRowAt(index));
  if (!finding) return false;
  finding->parentheses = parentheses;
  return true;
}

const AccidentalFinding* ScanRun::FindingAt(int32_t index) const { return GetRowFinding(rows_.GetRowAt(index)); }

bool ScanRun::IsChecked(int32_t index) const {
  const TCDataListRow* row = rows_.GetRowAt(index);
  return row && row->IsChecked();
}

int32_t ScanRun::CheckedCount() const {
  int32_t count = 0;
  for (int32_t index = 0; index < rows_.GetRowCount(); ++index) count += IsChecked(index) ? 1 : 0;
  return count;
}

int32_t ScanRun::AppliedCount() const {
  int32_t count = 0;
  for (int32_t index = 0; index < rows_.GetRowCount(); ++index) {
    const AccidentalFinding* finding = FindingAt(index);
    count += finding && finding->applied ? 1 : 0;
  }
  return count;
}

}  // namespace session
