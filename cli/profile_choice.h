// The settings profile a run uses: one of a profiles file in the plug-in's
// own format, or the settings of a new profile.
#pragma once

#include <string>
#include <vector>

#include "session/profile_choice.h"

namespace rzacc {

class ProfileChoice {
 public:
  // The name the plug-in gives the profile it adds when there is none.
  static constexpr const char* kDefaultProfileName = session::ProfileChoice::kDefaultProfileName;

  // Without a file: a new profile's settings. With one: the named profile,
  // or the file's first when no name is given (a file without profiles gives
  // a new profile's settings, as the plug-in does). False with one message.
  bool Choose(const std::string& profilesFile, const std::string& profileName, std::string* error);
  // The preset of that name (rzacc presets lists them); false with one
  // message naming the presets there are.
  bool ChoosePreset(const std::string& presetName, std::string* error);

  const AnalysisSettings& Settings() const { return chosen_.Settings(); }
  const std::string& Name() const { return chosen_.Name(); }
  // Values of the chosen profile that the analysis does not take as they are.
  const std::vector<std::string>& Warnings() const { return chosen_.Warnings(); }

 private:
  session::ProfileChoice chosen_;
};

}  // namespace rzacc
