#include "settings/tc_settings_profiles.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"
#include "settings/plugin_folder.h"

namespace {

constexpr const char* kStorageFileName = "rzpluginstorage.xml";
constexpr const char* kRootName = "RZPluginSettings";
constexpr const char* kPluginName = "RZAccidentals";
constexpr const char* kProfileListName = "SettingsProfiles";

// What loading the file gave.
enum class StorageLoad {
  Parsed,       // well-formed XML
  Missing,      // no file, or an empty one: nothing in it can be lost
  Unusable      // unreadable or not well-formed
};

bool HoldsOnlyWhiteSpace(FILE* file) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  for (int byte = std::fgetc(file); byte != EOF; byte = std::fgetc(file)) {
    if (byte != ' ' && byte != '\t' && byte != '\r' && byte != '\n') return false;
  }
  return std::ferror(file) == 0;
}

StorageLoad LoadStorageFile(const char* path, tinyxml2::XMLDocument* document) {
  FILE* file = nullptr;
  errno_t error = fopen_s(&file, path, "rb");
  if (error != 0 || !file) return error == ENOENT ? StorageLoad::Missing : StorageLoad::Unusable;
  tinyxml2::XMLError result = document->LoadFile(file);
  StorageLoad load = StorageLoad::Unusable;
  if (result == tinyxml2::XML_SUCCESS) {
    load = StorageLoad::Parsed;
  } else if (result == tinyxml2::XML_ERROR_EMPTY_DOCUMENT && HoldsOnlyWhiteSpace(file)) {
    document->Clear();
    load = StorageLoad::Missing;
  }
  std::fclose(file);
  return load;
}

tinyxml2::XMLElement* FindOrAppendChild(tinyxml2::XMLElement* parent, const char* name) {
  tinyxml2::XMLElement* child = parent->FirstChildElement(name);
  if (child) return child;
  child = parent->GetDocument()->NewElement(name);
  parent->InsertEndChild(child);
  return child;
}

bool PrintToFile(const char* path, tinyxml2::XMLDocument* document) {
  FILE* file = nullptr;
  if (fopen_s(&file, path, "w") != 0 || !file) return false;
  // The document's own error code still tells how the load went, so the
  // stream is asked whether the printing reached the file.
  document->SaveFile(file, false);
  bool written = std::ferror(file) == 0;
  if (std::fclose(file) != 0) written = false;
  return written;
}

}  // namespace

TCSettingsProfile* TCSettingsProfiles::GetProfileAt(int32_t index) const {
  return dynamic_cast<TCSettingsProfile*>(GetItemAt(index));
}

bool TCSettingsProfiles::GetStorageFilePath(char* path) {
  if (!path) return false;
  path[0] = 0;
  std::string joined;
  if (!GetPluginFilePath(kStorageFileName, &joined)) return false;
  if (joined.size() >= static_cast<size_t>(kStorageFilePathSize)) return false;
  std::memcpy(path, joined.c_str(), joined.size() + 1);
  return true;
}

tinyxml2::XMLElement* TCSettingsProfiles::GetPluginElement(tinyxml2::XMLDocument* document,
                                                           bool* rootCreated) {
  if (rootCreated) *rootCreated = false;
  if (!document) return nullptr;
  tinyxml2::XMLElement* root = document->FirstChildElement(kRootName);
  if (!root) {
    root = document->NewElement(kRootName);
    tinyxml2::XMLElement* author = document->NewElement("Author");
    author->InsertEndChild(document->NewText("Anno Kvellar"));
    root->InsertEndChild(author);
    if (rootCreated) *rootCreated = true;
  }
  return FindOrAppendChild(root, kPluginName);
}

bool TCSettingsProfiles::LoadProfiles() {
  ClearAll();
  char path[kStorageFilePathSize];
  if (!GetStorageFilePath(path)) return false;
  tinyxml2::XMLDocument document(true);
  if (LoadStorageFile(path, &document) != StorageLoad::Parsed) return false;
  const tinyxml2::XMLElement* root = document.FirstChildElement(kRootName);
  const tinyxml2::XMLElement* plugin = root ? root->FirstChildElement(kPluginName) : nullptr;
  const tinyxml2::XMLElement* list =
      plugin ? plugin->FirstChildElement(kProfileListName) : nullptr;
  if (!list) return false;
  LoadElementsFromXml(list);
  return true;
}

bool TCSettingsProfiles::SaveProfiles() const {
  char path[kStorageFilePathSize];
  if (!GetStorageFilePath(path)) return false;
  tinyxml2::XMLDocument document(true);
  if (LoadStorageFile(path, &document) == StorageLoad::Unusable) return false;
  bool rootCreated = false;
  tinyxml2::XMLElement* plugin = GetPluginElement(&document, &rootCreated);
  if (!plugin) return false;
  SaveElementsToXml(FindOrAppendChild(plugin, kProfileListName));
  if (rootCreated) document.InsertEndChild(plugin->Parent());
  return PrintToFile(path, &document);
}

void TCSettingsProfiles::CopyFrom(const TCSettingsProfiles* other) {
  if (!other || other == this) return;
  ClearAll();
  for (int32_t index = 0; index < other->GetCount(); ++index) {
    const TCSettingsProfile* source = other->GetProfileAt(index);
    if (!source) continue;
    auto* copy = new TCSettingsProfile;
    copy->CopyValuesFrom(source);
    Add(copy);
  }
}
