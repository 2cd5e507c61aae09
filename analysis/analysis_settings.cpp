#include "analysis/analysis_settings.h"

namespace {

AnalysisSettings activeSettings;

}  // namespace

const AnalysisSettings& GetActiveAnalysisSettings() { return activeSettings; }

void SetActiveAnalysisSettings(const AnalysisSettings& settings) {
  activeSettings = settings;
  if (!IsKnownCourtesyMeasureRange(settings.courtesyMeasureRange)) {
    activeSettings.courtesyMeasureRange = kDefaultCourtesyMeasureRange;
  }
  if (!IsKnownSystemTieMode(settings.systemTieMode)) activeSettings.systemTieMode = kDefaultSystemTieMode;
}
