#include "cli/profile_choice.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "settings/presets.h"
#include "settings/storage_file.h"

namespace rzacc {

namespace {

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

bool ReadProfilesFile(const std::string& path, std::string* text, std::string* error) {
  if (!CanReadProfilesFile(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open the profiles file " + path + ": " + std::strerror(errno);
    return false;
  }
  char buffer[64 * 1024];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, read);
  bool whole = std::ferror(file) == 0;
  std::fclose(file);
  if (!whole) *error = "cannot read the profiles file " + path;
  return whole;
}

}  // namespace

bool ProfileChoice::Choose(const std::string& profilesFile, const std::string& profileName, std::string* error) {
  chosen_ = session::ProfileChoice();
  if (profilesFile.empty()) return true;
  std::string text;
  return ReadProfilesFile(profilesFile, &text, error) && chosen_.ChooseFromText(text, profilesFile, profileName, error);
}

bool ProfileChoice::ChoosePreset(const std::string& presetName, std::string* error) {
  const Preset* preset = FindPreset(presetName);
  if (preset) {
    chosen_.ChoosePreset(*preset);
    return true;
  }
  std::string names;
  for (size_t index = 0; index < kPresetCount; ++index) {
    names += std::string(index == 0 ? "\"" : ", \"") + kPresets[index].name + "\"";
  }
  *error = "there is no preset \"" + presetName + "\" (the presets are " + names + ")";
  return false;
}

}  // namespace rzacc
