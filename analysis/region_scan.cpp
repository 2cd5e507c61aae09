#include "analysis/region_scan.h"

#include "analysis/analysis_settings.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_undo_block.h"
#include "framework/tc_string.h"

bool ScanRegion(const AnalysisSettings& settings, uint32_t layerMask, const TCMusicRegion* region,
                TCDataListRows* rows) {
  TCAccidentalsAnalyzer analyzer(rows, settings);
  analyzer.SetLayerMask(layerMask);
  analyzer.SetRegion(region);
  TCUndoBlock block;
  return block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName);
}
