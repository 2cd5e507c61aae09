// The analysis settings that a settings profile stands for: the five values
// a scan reads, taken from the profile the user chose.
#pragma once

#include "analysis/analysis_settings.h"

class TCSettingsProfile;

AnalysisSettings AnalysisSettingsOf(const TCSettingsProfile& profile);
