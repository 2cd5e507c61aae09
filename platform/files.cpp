#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/win32.h"

#ifndef _WIN32

namespace {

std::string LinuxPath(const char* fileName) {
  std::string path(fileName);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

FILE* PlatformOpenFile(const char* fileName, const char* mode) {
  if (!fileName || !mode) return nullptr;
  return std::fopen(LinuxPath(fileName).c_str(), mode);
}

FILE* PlatformCreateNewFile(const char* fileName) {
  if (!fileName) return nullptr;
  int descriptor = open(LinuxPath(fileName).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (descriptor < 0) return nullptr;
  FILE* file = fdopen(descriptor, "wb");
  if (!file) close(descriptor);
  return file;
}

bool PlatformRemoveFile(const char* fileName) { return fileName && std::remove(LinuxPath(fileName).c_str()) == 0; }

errno_t fopen_s(FILE** file, const char* fileName, const char* mode) {
  if (!file) return EINVAL;
  *file = PlatformOpenFile(fileName, mode);
  return *file ? 0 : (errno ? errno : ENOENT);
}

BOOL MessageBeep(UINT) { return 1; }

#endif
