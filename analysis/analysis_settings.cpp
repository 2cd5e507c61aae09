#include "analysis/analysis_settings.h"

namespace {

AnalysisSettings activeSettings;

}  // namespace

AnalysisSettings AnalysisSettings::WithKnownValues() const {
  AnalysisSettings known = *this;
  if (!IsKnownCourtesyMeasureRange(courtesyMeasureRange)) known.courtesyMeasureRange = kDefaultCourtesyMeasureRange;
  if (!IsKnownSystemTieMode(systemTieMode)) known.systemTieMode = kDefaultSystemTieMode;
  return known;
}

const AnalysisSettings& GetActiveAnalysisSettings() { return activeSettings; }

void SetActiveAnalysisSettings(const AnalysisSettings& settings) { activeSettings = settings.WithKnownValues(); }
