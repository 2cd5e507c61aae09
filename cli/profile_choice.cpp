#include "cli/profile_choice.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "settings/storage_file.h"
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

// Only a regular file of a sane size is read, as the plug-in does.
bool CanReadProfilesFile(const std::string& path, std::string* error) {
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  if (std::filesystem::is_directory(status)) {
    *error = "the profiles file " + path + " is a folder";
    return false;
  }
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    *error = "the profiles file " + path + " is not a regular file";
    return false;
  }
  uintmax_t size = std::filesystem::is_regular_file(status) ? std::filesystem::file_size(path, code) : 0;
  if (!code && size > static_cast<uintmax_t>(kMaxStorageFileBytes)) {
    *error = "the profiles file " + path + " is larger than " + std::to_string(kMaxStorageFileBytes >> 20) +
             " MiB; the plug-in does not read it either";
    return false;
  }
  return true;
}

bool LoadProfiles(const std::string& path, TCSettingsProfiles* profiles, std::string* error) {
  if (!CanReadProfilesFile(path, error)) return false;
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

void ProfileChoice::CheckValues(const TCSettingsProfile& profile) {
  std::string name = "profile \"" + NameOf(profile) + "\": ";
  if (!IsKnownCourtesyMeasureRange(profile.GetCourtesyMeasureRange())) {
    warnings_.push_back(name + "CourtesyMeasureRange " + std::to_string(profile.GetCourtesyMeasureRange()) +
                        " is not one of 0 to 6; the default " + std::to_string(kDefaultCourtesyMeasureRange) +
                        " is used");
  }
  if (!IsKnownSystemTieMode(profile.GetSystemTieMode())) {
    warnings_.push_back(name + "SystemTieMode " + std::to_string(profile.GetSystemTieMode()) +
                        " is not one of 0 to 7; the default " + std::to_string(kDefaultSystemTieMode) + " is used");
  }
}

bool ProfileChoice::Choose(const std::string& profilesFile, const std::string& profileName, std::string* error) {
  TCSettingsProfile fresh;
  settings_ = SettingsOf(fresh);
  name_ = kDefaultProfileName;
  if (profilesFile.empty()) return true;
  TCSettingsProfiles profiles;
  if (!LoadProfiles(profilesFile, &profiles, error)) return false;
  if (profileName.empty()) {
    if (TCSettingsProfile* first = profiles.GetProfileAt(0)) {
      CheckValues(*first);
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
      CheckValues(*profile);
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
