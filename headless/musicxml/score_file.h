// The file operations of a score path that must not surprise the user: only
// regular files are read, and a write goes through a temporary file that was
// made for it alone.
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

  // Creates a new file beside path under a unique name, open for binary
  // writing. Nothing that already exists is opened, links included. Null
  // when no file could be made.
  static std::FILE* CreateTemporaryBeside(const std::string& path, std::string* temporaryPath);
};

}  // namespace musicxml
