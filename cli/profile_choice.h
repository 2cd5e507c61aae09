// The settings profile a run uses: one of a profiles file in the plug-in's
// own format, or the settings of a new profile.
#pragma once

#include <string>
#include <vector>

#include "analysis/analysis_settings.h"

class TCSettingsProfile;

namespace rzacc {

class ProfileChoice {
 public:
  // The name the plug-in gives the profile it adds when there is none.
  static constexpr const char* kDefaultProfileName = "Default Profile";

  // Without a file: a new profile's settings. With one: the named profile,
  // or the file's first when no name is given (a file without profiles gives
  // a new profile's settings, as the plug-in does). False with one message.
  bool Choose(const std::string& profilesFile, const std::string& profileName, std::string* error);

  const AnalysisSettings& Settings() const { return settings_; }
  const std::string& Name() const { return name_; }
  // Values of the chosen profile that the analysis does not take as they are.
  const std::vector<std::string>& Warnings() const { return warnings_; }

 private:
  void CheckValues(const TCSettingsProfile& profile);

  AnalysisSettings settings_;
  std::string name_ = kDefaultProfileName;
  std::vector<std::string> warnings_;
};

}  // namespace rzacc
