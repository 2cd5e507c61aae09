#include "settings/storage_file.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>

#include "platform/win32.h"

namespace {

// Enough numbered backups for years of damaged files; past them none is made.
constexpr int kMaxBackupNumber = 999;

bool HoldsOnlyWhiteSpace(FILE* file) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  for (int byte = std::fgetc(file); byte != EOF; byte = std::fgetc(file)) {
    if (byte != ' ' && byte != '\t' && byte != '\r' && byte != '\n') return false;
  }
  return std::ferror(file) == 0;
}

bool FitsTheSizeLimit(FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return false;
  long size = std::ftell(file);
  if (size < 0 || size > kMaxStorageFileBytes) return false;
  return std::fseek(file, 0, SEEK_SET) == 0;
}

StorageLoad ParseOpenFile(FILE* file, tinyxml2::XMLDocument* document) {
  if (!FitsTheSizeLimit(file)) return StorageLoad::Unreadable;
  tinyxml2::XMLError result = document->LoadFile(file);
  if (result == tinyxml2::XML_SUCCESS) return StorageLoad::Parsed;
  document->Clear();
  if (result == tinyxml2::XML_ERROR_FILE_READ_ERROR) return StorageLoad::Unreadable;
  if (result == tinyxml2::XML_ERROR_EMPTY_DOCUMENT && HoldsOnlyWhiteSpace(file)) return StorageLoad::Missing;
  return std::ferror(file) ? StorageLoad::Unreadable : StorageLoad::Damaged;
}

bool CopyBytes(FILE* from, FILE* to) {
  char buffer[16 * 1024];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, from)) > 0) {
    if (std::fwrite(buffer, 1, count, to) != count) return false;
  }
  return std::ferror(from) == 0;
}

// Closes the file; false when it was null or the close lost data.
bool CloseWritten(FILE* file, bool written) {
  if (!file) return false;
  if (std::fclose(file) != 0) return false;
  return written;
}

}  // namespace

StorageLoad LoadStorageFile(const char* path, tinyxml2::XMLDocument* document) {
  FILE* file = nullptr;
  errno_t error = fopen_s(&file, path, "rb");
  if (error != 0 || !file) return error == ENOENT ? StorageLoad::Missing : StorageLoad::Unreadable;
  StorageLoad load = ParseOpenFile(file, document);
  std::fclose(file);
  return load;
}

bool CopyToBackup(const char* path, std::string* backupPath) {
  FILE* source = PlatformOpenFile(path, "rb");
  if (!source) return false;
  FILE* backup = nullptr;
  for (int number = 1; !backup && number <= kMaxBackupNumber; ++number) {
    *backupPath = std::string(path) + ".bak" + std::to_string(number);
    backup = PlatformCreateNewFile(backupPath->c_str());
  }
  bool copied = backup && CloseWritten(backup, CopyBytes(source, backup));
  std::fclose(source);
  if (!copied && backup) PlatformRemoveFile(backupPath->c_str());
  return copied;
}

bool RestoreFromBackup(const std::string& backupPath, const char* path) {
  FILE* backup = PlatformOpenFile(backupPath.c_str(), "rb");
  if (!backup) return false;
  FILE* file = PlatformOpenFile(path, "wb");
  bool restored = file && CloseWritten(file, CopyBytes(backup, file));
  std::fclose(backup);
  return restored;
}

bool RemoveBackup(const std::string& backupPath) { return PlatformRemoveFile(backupPath.c_str()); }

bool PrintToFile(const char* path, tinyxml2::XMLDocument* document) {
  FILE* file = nullptr;
  if (fopen_s(&file, path, "w") != 0 || !file) return false;
  // The document's own error code still tells how the load went, so the
  // stream is asked whether the printing reached the file.
  document->SaveFile(file, false);
  return CloseWritten(file, std::ferror(file) == 0);
}
