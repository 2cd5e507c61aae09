// The user's settings profiles, in user order, and their file
// "rzpluginstorage.xml" in the host's plug-in folder. The file is shared with
// the other plug-ins of the family: each owns one child of the root
// RZPluginSettings, and a save leaves everything but this plug-in's
// SettingsProfiles element as it was.
#pragma once

#include <cstdint>

#include "settings/tc_collection_tinyxml.h"
#include "settings/tc_settings_profile.h"

namespace tinyxml2 {
class XMLDocument;
}

constexpr int32_t kStorageFilePathSize = 2048;

class TCSettingsProfiles : public __TCCollectionTinyXML {
 public:
  const char* ClassName() const override { return "TCSettingsProfiles"; }
  __TCBase* CreateElement() override { return new TCSettingsProfile; }
  const char* GetChildElementName() const override { return "SettingsProfile"; }

  TCSettingsProfile* GetProfileAt(int32_t index) const;

  // Clears the collection and loads it from the file. A missing, unreadable or
  // malformed file, or one without this plug-in's profile list, leaves the
  // collection empty; then false.
  bool LoadProfiles();
  // Writes the collection into the file; false when nothing was written: no
  // usable path, a file that exists but is not readable XML (it is kept as it
  // is, since other plug-ins' settings may be in it), or a failed write.
  bool SaveProfiles() const;
  // Clears this collection and appends a copy of every profile of other.
  // Copying from itself or from null changes nothing.
  void CopyFrom(const TCSettingsProfiles* other);

  // Fills path (kStorageFilePathSize bytes) with the file's full 8-bit path;
  // false, with an empty path, when the host names no usable folder.
  static bool GetStorageFilePath(char* path);
  // This plug-in's RZAccidentals element, created where missing. A created
  // root is not yet linked into the document: *rootCreated tells the caller
  // to insert it.
  static tinyxml2::XMLElement* GetPluginElement(tinyxml2::XMLDocument* document, bool* rootCreated);
};
