#include "analysis/analysis_settings.h"

namespace {

AnalysisSettings activeSettings;

}  // namespace

const AnalysisSettings& GetActiveAnalysisSettings() { return activeSettings; }

void SetActiveAnalysisSettings(const AnalysisSettings& settings) { activeSettings = settings; }
