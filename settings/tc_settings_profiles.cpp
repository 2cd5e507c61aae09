#include "settings/tc_settings_profiles.h"

#include <tinyxml2.h>

#include <cstring>
#include <string>

#include "platform/win32.h"
#include "settings/plugin_folder.h"
#include "settings/storage_file.h"

namespace {

constexpr const char* kStorageFileName = "rzpluginstorage.xml";
constexpr const char* kRootName = "RZPluginSettings";
constexpr const char* kPluginName = "RZAccidentals";
constexpr const char* kProfileListName = "SettingsProfiles";

tinyxml2::XMLElement* FindOrAppendChild(tinyxml2::XMLElement* parent, const char* name) {
  tinyxml2::XMLElement* child = parent->FirstChildElement(name);
  if (child) return child;
  child = parent->GetDocument()->NewElement(name);
  parent->InsertEndChild(child);
  return child;
}

const tinyxml2::XMLElement* FindProfileList(const tinyxml2::XMLDocument& document) {
  const tinyxml2::XMLElement* root = document.FirstChildElement(kRootName);
  const tinyxml2::XMLElement* plugin = root ? root->FirstChildElement(kPluginName) : nullptr;
  return plugin ? plugin->FirstChildElement(kProfileListName) : nullptr;
}

bool HaveSameProfiles(const TCSettingsProfiles& some, const TCSettingsProfiles& others) {
  if (some.GetCount() != others.GetCount()) return false;
  for (int32_t index = 0; index < some.GetCount(); ++index) {
    const TCSettingsProfile* profile = some.GetProfileAt(index);
    if (!profile || !profile->HasSameValues(others.GetProfileAt(index))) return false;
  }
  return true;
}

// Whether the file at path now loads with exactly these profiles.
bool ReadsBackAs(const char* path, const TCSettingsProfiles& profiles) {
  tinyxml2::XMLDocument document(true);
  if (LoadStorageFile(path, &document) != StorageLoad::Parsed) return false;
  const tinyxml2::XMLElement* list = FindProfileList(document);
  if (!list) return false;
  TCSettingsProfiles reread;
  reread.LoadElementsFromXml(list);
  return HaveSameProfiles(reread, profiles);
}

// Undoes a write that did not read back: the previous file comes back from
// its backup, or a file that was not there before goes again.
void UndoWrite(const char* path, const std::string& backup, bool keepBackup) {
  if (backup.empty()) {
    PlatformRemoveFile(path);
  } else if (RestoreFromBackup(backup, path) && !keepBackup) {
    RemoveBackup(backup);
  }
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

tinyxml2::XMLElement* TCSettingsProfiles::GetPluginElement(tinyxml2::XMLDocument* document, bool* rootCreated) {
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
  const tinyxml2::XMLElement* list = FindProfileList(document);
  if (!list) return false;
  LoadElementsFromXml(list);
  return true;
}

bool TCSettingsProfiles::SaveProfiles() const {
  char path[kStorageFilePathSize];
  if (!GetStorageFilePath(path)) return false;
  tinyxml2::XMLDocument document(true);
  StorageLoad load = LoadStorageFile(path, &document);
  if (load == StorageLoad::Unreadable) return false;
  // The file as it was stays under a backup name until the new one has read
  // back. A damaged file keeps its backup for good: it may hold the settings
  // of the family's other plug-ins, and a fresh file takes its place.
  std::string backup;
  if (load != StorageLoad::Missing && !CopyToBackup(path, &backup)) return false;
  bool rootCreated = false;
  tinyxml2::XMLElement* plugin = GetPluginElement(&document, &rootCreated);
  if (!plugin) return false;
  SaveElementsToXml(FindOrAppendChild(plugin, kProfileListName));
  if (rootCreated) document.InsertEndChild(plugin->Parent());
  if (!PrintToFile(path, &document) || !ReadsBackAs(path, *this)) {
    UndoWrite(path, backup, load == StorageLoad::Damaged);
    return false;
  }
  if (load == StorageLoad::Parsed) RemoveBackup(backup);
  return true;
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
