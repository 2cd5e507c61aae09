// Compressed MusicXML (.mxl): a zip archive whose META-INF/container.xml names
// the score inside it. Reading takes the score out; writing copies the archive
// entry by entry with the score replaced, so that everything else in it
// (images, other files, the mimetype entry first and stored) stays as it was.
#pragma once

#include <string>

namespace musicxml {

class MxlArchive {
 public:
  // Without libzip in the build every operation fails with a message.
  static bool IsAvailable();

  // Whether bytes begin like a zip archive.
  static bool LooksLikeArchive(const std::string& bytes);

  // The path inside the archive and the content of the score that
  // META-INF/container.xml names first, read from the archive's bytes.
  // False with a message.
  static bool ReadRootFile(const std::string& archiveBytes, std::string* rootPath, std::string* content,
                           std::string* error);

  // The bytes of a copy of the archive sourceBytes in which the entry
  // rootPath holds content, made in memory so that the caller decides how
  // the copy is written; sourceName stands for the archive in messages.
  // False with a message.
  static bool MakeCopy(const std::string& sourceName, const std::string& sourceBytes, const std::string& rootPath,
                       const std::string& content, std::string* archive, std::string* error);
};

}  // namespace musicxml
