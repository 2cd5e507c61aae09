// The plug-in's Scan and Change Checked on the host's current selection, as
// the report window runs them: the analyzer over the selected region with
// the profile's settings, then the change handler for the checked rows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/analysis_settings.h"
#include "score/tc_music_region.h"
#include "ui/tc_data_list_rows.h"

class AccidentalFinding;

namespace session {

// A finding kept from a round of apply, once its rows are gone.
struct RoundFinding {
  std::unique_ptr<AccidentalFinding> finding;
  bool checked = false;
  int round = 1;  // the round of scan and apply that found it
};

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

  int32_t FindingCount() const { return rows_.GetRowCount(); }
  // The finding of a row in report order, or null.
  const AccidentalFinding* FindingAt(int32_t index) const;
  bool IsChecked(int32_t index) const;
  int32_t CheckedCount() const;
  // The findings that ApplyChecked(all) would apply.
  int32_t PendingCount(bool all) const { return all ? FindingCount() : CheckedCount(); }
  int32_t AppliedCount() const;

  // Hands the findings of the rows (the checked ones only when asked) to
  // kept, in report order, marked with their round; the rows keep no hold
  // on them.
  void TakeFindings(int round, bool checkedOnly, std::vector<RoundFinding>* kept);

 private:
  void ReleaseFindings();

  TCDataListRows rows_;
  TCMusicRegion region_;
};

}  // namespace session
