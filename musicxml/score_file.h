// The file operations of a score path that must not surprise the user: only
// regular files are read, and a write never replaces what is not a regular
// file.
#pragma once

#include <cstdio>
#include <string>

namespace musicxml {

class ScoreFile {
 public:
  // True when path names a regular file (a link to one counts). Otherwise
  // false with a message that says what the path is instead: a folder, a
  // pipe or device, or nothing.
  static bool IsRegularFile(const std::string& path, std::string* error);

  // The whole of a regular file no larger than a score can be. False with
  // a message naming path.
  static bool Read(const std::string& path, std::string* bytes, std::string* error);

  // Writes bytes to path as what stands there asks, or refuses with a
  // message naming path and the reason:
  // - nothing, or a regular file: a temporary file beside it, renamed over
  //   it once written whole, with the old file's permissions;
  // - a symbolic link: the same for the file it leads to; the link stays,
  //   and a link that leads nowhere is refused;
  // - a pipe (FIFO) or character device: written to as it is, never replaced;
  // - a folder, socket or block device: refused;
  // - a regular file that may not be written (read-only): refused.
  static bool Write(const std::string& path, const std::string& bytes, std::string* error);

  // Creates a new file beside path under a short unique name, open for
  // binary writing. Nothing that already exists is opened, links included.
  // Null when no file could be made.
  static std::FILE* CreateTemporaryBeside(const std::string& path, std::string* temporaryPath);

 private:
  static bool ReplaceWhole(const std::string& path, const std::string& target, const std::string& bytes,
                           std::string* error);
  static bool WriteInPlace(const std::string& path, const std::string& bytes, std::string* error);
};

}  // namespace musicxml
