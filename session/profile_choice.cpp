#include "session/profile_choice.h"

#include <tinyxml2.h>

#include "analysis/profile_settings.h"
#include "settings/presets.h"
#include "settings/tc_settings_profile.h"
#include "settings/tc_settings_profiles.h"

namespace session {

namespace {

std::string NameOf(const TCSettingsProfile& profile) {
  const char* name = profile.GetName()->GetUTF8();
  return name ? name : "";
}

bool ParseProfiles(const std::string& text, const std::string& fileName, TCSettingsProfiles* profiles,
                   std::string* error) {
  tinyxml2::XMLDocument document;
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
    *error = fileName + ":" + std::to_string(document.ErrorLineNum()) + ": not well-formed XML (" +
             (document.ErrorName() ? document.ErrorName() : "error") + ")";
    return false;
  }
  const tinyxml2::XMLElement* list = document.FirstChildElement("RZPluginSettings");
  list = list ? list->FirstChildElement("RZAccidentals") : nullptr;
  list = list ? list->FirstChildElement("SettingsProfiles") : nullptr;
  if (!list) {
    *error = fileName + " holds no RZ Accidentals profiles (no RZPluginSettings/RZAccidentals/SettingsProfiles)";
    return false;
  }
  profiles->LoadElementsFromXml(list);
  return true;
}

}  // namespace

ProfileChoice::ProfileChoice() : settings_(AnalysisSettingsOf(TCSettingsProfile())) {}

void ProfileChoice::Take(const TCSettingsProfile& profile, const std::string& name) {
  std::string prefix = "profile \"" + NameOf(profile) + "\": ";
  warnings_.clear();
  if (!IsKnownCourtesyMeasureRange(profile.GetCourtesyMeasureRange())) {
    warnings_.push_back(prefix + "CourtesyMeasureRange " + std::to_string(profile.GetCourtesyMeasureRange()) +
                        " is not one of 0 to 6; the default " + std::to_string(kDefaultCourtesyMeasureRange) +
                        " is used");
  }
  if (!IsKnownSystemTieMode(profile.GetSystemTieMode())) {
    warnings_.push_back(prefix + "SystemTieMode " + std::to_string(profile.GetSystemTieMode()) +
                        " is not one of 0 to 7; the default " + std::to_string(kDefaultSystemTieMode) + " is used");
  }
  settings_ = AnalysisSettingsOf(profile);
  name_ = name;
}

void ProfileChoice::ChoosePreset(const Preset& preset) {
  TCSettingsProfile profile;
  FillProfileFromPreset(preset, &profile);
  Take(profile, preset.name);
}

bool ProfileChoice::ChooseFromText(const std::string& text, const std::string& fileName, const std::string& profileName,
                                   std::string* error) {
  TCSettingsProfiles profiles;
  if (!ParseProfiles(text, fileName, &profiles, error)) return false;
  if (profileName.empty()) {
    if (TCSettingsProfile* first = profiles.GetProfileAt(0)) {
      Take(*first, NameOf(*first));
    } else {
      *this = ProfileChoice();
    }
    return true;
  }
  std::string names;
  for (int32_t index = 0; index < profiles.GetCount(); ++index) {
    TCSettingsProfile* profile = profiles.GetProfileAt(index);
    if (!profile) continue;
    if (NameOf(*profile) == profileName) {
      Take(*profile, profileName);
      return true;
    }
    names += (names.empty() ? "\"" : ", \"") + NameOf(*profile) + "\"";
  }
  *error = "there is no profile \"" + profileName + "\" in " + fileName +
           (names.empty() ? std::string(" (it holds no profiles)") : " (it holds " + names + ")");
  return false;
}

}  // namespace session
