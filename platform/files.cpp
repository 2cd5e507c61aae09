#include <string>

#include "platform/win32.h"

#ifndef _WIN32

FILE* PlatformOpenFile(const char* fileName, const char* mode) {
  if (!fileName || !mode) return nullptr;
  std::string path(fileName);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return std::fopen(path.c_str(), mode);
}

errno_t fopen_s(FILE** file, const char* fileName, const char* mode) {
  if (!file) return EINVAL;
  *file = PlatformOpenFile(fileName, mode);
  return *file ? 0 : (errno ? errno : ENOENT);
}

BOOL MessageBeep(UINT) { return 1; }

#endif
