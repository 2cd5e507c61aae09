// The settings profile a scan uses: one of the text of a profiles file in
// the plug-in's own format (its rzpluginstorage.xml), or a new profile's.
#pragma once

#include <string>
#include <vector>

#include "analysis/analysis_settings.h"

class TCSettingsProfile;
struct Preset;

namespace session {

class ProfileChoice {
 public:
  // The name the plug-in gives the profile it adds when there is none.
  static constexpr const char* kDefaultProfileName = "Default Profile";

  // A new profile's settings until a profile is chosen.
  ProfileChoice();

  // The named profile of the text, or its first when no name is given (a
  // text without profiles gives a new profile's settings, as the plug-in
  // does). fileName stands for the file in messages. False with one
  // message, the choice left as it was.
  bool ChooseFromText(const std::string& text, const std::string& fileName, const std::string& profileName,
                      std::string* error);

  // The preset's settings, under its name.
  void ChoosePreset(const Preset& preset);

  const AnalysisSettings& Settings() const { return settings_; }
  const std::string& Name() const { return name_; }
  // Values of the chosen profile that the analysis does not take as they are.
  const std::vector<std::string>& Warnings() const { return warnings_; }

 private:
  void Take(const TCSettingsProfile& profile, const std::string& name);

  AnalysisSettings settings_;
  std::string name_ = kDefaultProfileName;
  std::vector<std::string> warnings_;
};

}  // namespace session
