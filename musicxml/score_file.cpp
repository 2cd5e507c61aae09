#include "musicxml/score_file.h"

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

namespace fs = std::filesystem;

// A score file larger than this is refused before it is read whole.
constexpr long kMaxFileSize = 512L << 20;

// Names tried before giving up; each is taken only by someone else's file.
constexpr int kNameAttempts = 100;
// The temporary name does not grow with the output's: an output named near
// the file-name limit leaves no room for a suffix.
constexpr const char* kTemporaryPrefix = ".rzacc-";

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

// A pipe or device is opened as it stands: never created, never emptied.
std::FILE* OpenExisting(const std::string& path) {
#ifdef _WIN32
  return std::fopen(path.c_str(), "wb");
#else
  int descriptor = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  return descriptor < 0 ? nullptr : OpenDescriptor(descriptor);
#endif
}

std::string RandomSuffix(std::mt19937* random) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int index = 0; index < 8; ++index) suffix += kLetters[(*random)() % (sizeof kLetters - 1)];
  return suffix;
}

// The system's reason for the last failure; a write that failed without
// setting one is an input/output error.
int LastReason() { return errno != 0 ? errno : EIO; }

std::string CannotWrite(const std::string& path, const std::string& reason) {
  return "cannot write " + path + ": " + reason;
}

std::string CannotWrite(const std::string& path, int reason) { return CannotWrite(path, std::strerror(reason)); }

// Whether anyone may write the file at all, and this process in particular.
bool MayWrite(const std::string& path, const fs::file_status& status) {
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & kWrite) == fs::perms::none) return false;
#ifdef _WIN32
  return _access(path.c_str(), 2) == 0;
#else
  return access(path.c_str(), W_OK) == 0;
#endif
}

// Writes bytes and closes the file; 0, or the reason it failed.
int WriteAndClose(std::FILE* file, const std::string& bytes) {
  errno = 0;
  int failure = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() ? 0 : LastReason();
  errno = 0;
  if (std::fclose(file) != 0 && failure == 0) failure = LastReason();
  return failure;
}

}  // namespace

bool ScoreFile::IsRegularFile(const std::string& path, std::string* error) {
  std::error_code code;
  fs::file_status status = fs::status(path, code);
  if (fs::is_regular_file(status)) return true;
  if (fs::is_directory(status)) {
    *error = path + " is a folder, not a score file";
  } else if (fs::exists(status)) {
    *error = path + " is not a regular file (a pipe, socket or device is not read)";
  } else {
    *error = "cannot open " + path + ": " + (code ? code.message() : std::string(std::strerror(ENOENT)));
  }
  return false;
}

bool ScoreFile::Read(const std::string& path, std::string* bytes, std::string* error) {
  if (!IsRegularFile(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (!ok) {
    std::fclose(file);
    *error = "cannot read " + path;
    return false;
  }
  if (size > kMaxFileSize) {
    std::fclose(file);
    *error = path + ": the file is too large to be a score";
    return false;
  }
  bytes->assign(static_cast<size_t>(size), '\0');
  size_t read = size > 0 ? std::fread(&(*bytes)[0], 1, bytes->size(), file) : 0;
  std::fclose(file);
  if (read != bytes->size()) {
    *error = "cannot read " + path + " whole";
    return false;
  }
  return true;
}

bool ScoreFile::Write(const std::string& path, const std::string& bytes, std::string* error) {
  std::error_code code;
  fs::file_status link = fs::symlink_status(path, code);
  fs::file_status status = fs::status(path, code);
  if (!fs::exists(status)) {
    if (fs::is_symlink(link)) {
      *error = CannotWrite(path, "it is a link to nothing");
      return false;
    }
    return ReplaceWhole(path, path, bytes, error);
  }
  if (fs::is_fifo(status) || fs::is_character_file(status)) return WriteInPlace(path, bytes, error);
  if (fs::is_directory(status)) {
    *error = CannotWrite(path, "it is a folder");
    return false;
  }
  if (!fs::is_regular_file(status)) {
    *error = CannotWrite(path, "it is a socket or block device, which a score is not written to");
    return false;
  }
  std::string target = fs::is_symlink(link) ? fs::canonical(path, code).string() : path;
  if (code || target.empty()) {
    *error = CannotWrite(path, "the file its link leads to cannot be found (" + code.message() + ")");
    return false;
  }
  if (!MayWrite(target, status)) {
    *error = CannotWrite(path, "it is read-only");
    return false;
  }
  return ReplaceWhole(path, target, bytes, error);
}

bool ScoreFile::ReplaceWhole(const std::string& path, const std::string& target, const std::string& bytes,
                             std::string* error) {
  std::string temporary;
  errno = 0;
  std::FILE* file = CreateTemporaryBeside(target, &temporary);
  if (!file) {
    *error = CannotWrite(path, LastReason());
    return false;
  }
  int failure = WriteAndClose(file, bytes);
  std::error_code code;
  fs::file_status old = fs::status(target, code);
  if (failure == 0 && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), code);
  if (failure == 0) {
#ifdef _WIN32
    std::remove(target.c_str());  // rename does not replace a file there
#endif
    errno = 0;
    if (std::rename(temporary.c_str(), target.c_str()) != 0) failure = LastReason();
  }
  if (failure == 0) return true;
  std::remove(temporary.c_str());
  *error = CannotWrite(path, failure);
  return false;
}

bool ScoreFile::WriteInPlace(const std::string& path, const std::string& bytes, std::string* error) {
  errno = 0;
  std::FILE* file = OpenExisting(path);
  int failure = file ? WriteAndClose(file, bytes) : LastReason();
  if (failure == 0) return true;
  *error = CannotWrite(path, failure);
  return false;
}

std::FILE* ScoreFile::CreateTemporaryBeside(const std::string& path, std::string* temporaryPath) {
  std::mt19937 random(std::random_device{}());
  fs::path folder = fs::path(path).parent_path();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *temporaryPath = (folder / (kTemporaryPrefix + RandomSuffix(&random))).string();
    int descriptor = CreateExclusive(*temporaryPath);
    if (descriptor >= 0) return OpenDescriptor(descriptor);
    if (errno != EEXIST) break;
  }
  temporaryPath->clear();
  return nullptr;
}

}  // namespace musicxml
