#include "analysis/profile_settings.h"

#include "settings/tc_settings_profile.h"

AnalysisSettings AnalysisSettingsOf(const TCSettingsProfile& profile) {
  AnalysisSettings settings;
  settings.checkOptions = profile.GetCheckOptions();
  settings.parenthesisOptions = profile.GetParenthesisOptions();
  settings.engravingRules = profile.GetEngravingRules();
  settings.courtesyMeasureRange = profile.GetCourtesyMeasureRange();
  settings.systemTieMode = profile.GetSystemTieMode();
  return settings;
}
