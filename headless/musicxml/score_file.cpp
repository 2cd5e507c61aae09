#include "headless/musicxml/score_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace musicxml {

namespace {

// Names tried before giving up; each is taken only by someone else's file.
constexpr int kNameAttempts = 100;

int CreateExclusive(const std::string& path) {
#ifdef _WIN32
  return _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
#endif
}

std::FILE* OpenDescriptor(int descriptor) {
#ifdef _WIN32
  std::FILE* file = _fdopen(descriptor, "wb");
  if (!file) _close(descriptor);
#else
  std::FILE* file = fdopen(descriptor, "wb");
  if (!file) close(descriptor);
#endif
  return file;
}

std::string RandomSuffix(std::mt19937* random) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int index = 0; index < 8; ++index) suffix += kLetters[(*random)() % (sizeof kLetters - 1)];
  return suffix;
}

}  // namespace

bool ScoreFile::IsRegularFile(const std::string& path, std::string* error) {
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  if (std::filesystem::is_regular_file(status)) return true;
  if (std::filesystem::is_directory(status)) {
    *error = path + " is a folder, not a score file";
  } else if (std::filesystem::exists(status)) {
    *error = path + " is not a regular file (a pipe, socket or device is not read)";
  } else {
    *error = "cannot open " + path + ": " + (code ? code.message() : std::string(std::strerror(ENOENT)));
  }
  return false;
}

std::FILE* ScoreFile::CreateTemporaryBeside(const std::string& path, std::string* temporaryPath) {
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *temporaryPath = path + ".rzacc-" + RandomSuffix(&random);
    int descriptor = CreateExclusive(*temporaryPath);
    if (descriptor >= 0) return OpenDescriptor(descriptor);
    if (errno != EEXIST) break;
  }
  temporaryPath->clear();
  return nullptr;
}

}  // namespace musicxml
