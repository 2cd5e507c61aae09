#include "cli/profile_choice.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "settings/tc_settings_profile.h"
#include "settings/tc_settings_profiles.h"

namespace rzacc {

namespace {

AnalysisSettings SettingsOf(const TCSettingsProfile& profile) {
  AnalysisSettings settings;
  settings.checkOptions = profile.GetCheckOptions();
  settings.parenthesisOptions = profile.GetParenthesisOptions();
  settings.courtesyMeasureRange = profile.GetCourtesyMeasureRange();
  settings.systemTieMode = profile.GetSystemTieMode();
  return settings;
}

std::string NameOf(const TCSettingsProfile& profile) {
  const char* name = profile.GetName()->GetUTF8();
  return name ? name : "";
}

bool LoadProfiles(const std::string& path, TCSettingsProfiles* profiles, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open the profiles file " + path + ": " + std::strerror(errno);
    return false;
  }
  tinyxml2::XMLDocument document;
  tinyxml2::XMLError result = document.LoadFile(file);
  std::fclose(file);
  if (result != tinyxml2::XML_SUCCESS) {
    *error = path + ":" + std::to_string(document.ErrorLineNum()) + ": not well-formed XML (" +
             (document.ErrorName() ? document.ErrorName() : "error") + ")";
    return false;
  }
  const tinyxml2::XMLElement* list = document.FirstChildElement("RZPluginSettings");
  list = list ? list->FirstChildElement("RZAccidentals") : nullptr;
  list = list ? list->FirstChildElement("SettingsProfiles") : nullptr;
  if (!list) {
    *error = path + " holds no RZ Accidentals profiles (no RZPluginSettings/RZAccidentals/SettingsProfiles)";
    return false;
  }
  profiles->LoadElementsFromXml(list);
  return true;
}

}  // namespace

bool ProfileChoice::Choose(const std::string& profilesFile, const std::string& profileName, std::string* error) {
  TCSettingsProfile fresh;
  settings_ = SettingsOf(fresh);
  name_ = kDefaultProfileName;
  if (profilesFile.empty()) return true;
  TCSettingsProfiles profiles;
  if (!LoadProfiles(profilesFile, &profiles, error)) return false;
  if (profileName.empty()) {
    if (TCSettingsProfile* first = profiles.GetProfileAt(0)) {
      settings_ = SettingsOf(*first);
      name_ = NameOf(*first);
    }
    return true;
  }
  std::string names;
  for (int32_t index = 0; index < profiles.GetCount(); ++index) {
    TCSettingsProfile* profile = profiles.GetProfileAt(index);
    if (!profile) continue;
    if (NameOf(*profile) == profileName) {
      settings_ = SettingsOf(*profile);
      name_ = profileName;
      return true;
    }
    names += (names.empty() ? "\"" : ", \"") + NameOf(*profile) + "\"";
  }
  *error = "there is no profile \"" + profileName + "\" in " + profilesFile +
           (names.empty() ? std::string(" (it holds no profiles)") : " (it holds " + names + ")");
  return false;
}

}  // namespace rzacc
