// The settings-profile file on disk: how reading it went, backups beside it
// (which the preferences file uses as well), and printing a document into it.
#pragma once

#include <string>

namespace tinyxml2 {
class XMLDocument;
}

// A profile file is a few kilobytes; one beyond this size is not read at all.
constexpr long kMaxStorageFileBytes = 16L * 1024 * 1024;

enum class StorageLoad {
  Parsed,      // well-formed XML
  Missing,     // no file, or one of white space only: nothing in it can be lost
  Unreadable,  // cannot be opened or read whole, or too large: left alone
  Damaged      // read whole but not well-formed XML
};

// Loads the file at path into document, which is left empty unless Parsed.
StorageLoad LoadStorageFile(const char* path, tinyxml2::XMLDocument* document);

// Copies the file at path to the first free name of path + ".bak1",
// ".bak2", ..., created new so that no earlier backup is overwritten. False,
// with no backup left behind, when the copy could not be made whole.
bool CopyToBackup(const char* path, std::string* backupPath);

// Puts the bytes of the backup back into the file at path; the backup stays.
bool RestoreFromBackup(const std::string& backupPath, const char* path);

bool RemoveBackup(const std::string& backupPath);

// Prints the document, indented, into the file at path (created or emptied);
// false when the printing did not reach the file whole.
bool PrintToFile(const char* path, tinyxml2::XMLDocument* document);
