#include "musicxml/mxl_archive.h"

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#ifdef RZ_HAVE_LIBZIP
#include <zip.h>
#endif

namespace musicxml {

bool MxlArchive::LooksLikeArchive(const std::string& bytes) {
  return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == '\x03' && bytes[3] == '\x04';
}

#ifdef RZ_HAVE_LIBZIP

namespace {

constexpr const char* kContainerPath = "META-INF/container.xml";
constexpr const char* kMusicXmlMediaType = "application/vnd.recordare.musicxml+xml";

// An archive entry larger than this when uncompressed is refused: a score
// never comes near it, an archive built to exhaust memory does.
constexpr uint64_t kMaxEntrySize = uint64_t(256) << 20;

// The first rootfile whose media type is MusicXML's (or missing); else the first one.
bool FindRootFilePath(const std::string& container, std::string* rootPath) {
  tinyxml2::XMLDocument document;
  if (document.Parse(container.data(), container.size()) != tinyxml2::XML_SUCCESS) return false;
  const tinyxml2::XMLElement* root = document.RootElement();
  const tinyxml2::XMLElement* rootFiles = root ? root->FirstChildElement("rootfiles") : nullptr;
  if (!rootFiles) return false;
  const char* fallback = nullptr;
  for (const tinyxml2::XMLElement* file = rootFiles->FirstChildElement("rootfile"); file;
       file = file->NextSiblingElement("rootfile")) {
    const char* path = file->Attribute("full-path");
    if (!path || !*path) continue;
    const char* mediaType = file->Attribute("media-type");
    if (!mediaType || std::string(mediaType) == kMusicXmlMediaType) {
      *rootPath = path;
      return true;
    }
    if (!fallback) fallback = path;
  }
  if (!fallback) return false;
  *rootPath = fallback;
  return true;
}

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

std::string OpenErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

bool ReadEntry(zip_t* archive, zip_uint64_t index, std::string* content, std::string* error) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    *error = "cannot read the archive's table of contents";
    return false;
  }
  if (stat.size > kMaxEntrySize) {
    *error = std::string("the entry ") + (stat.name ? stat.name : "?") + " is too large";
    return false;
  }
  zip_file_t* file = zip_fopen_index(archive, index, 0);
  if (!file) {
    *error = zip_strerror(archive);
    return false;
  }
  // The text grows with what the entry really holds, never to the size the
  // table of contents claims beforehand.
  content->clear();
  char buffer[64 * 1024];
  zip_int64_t read = 0;
  while ((read = zip_fread(file, buffer, sizeof buffer)) > 0 &&
         static_cast<zip_uint64_t>(content->size()) + static_cast<zip_uint64_t>(read) <= stat.size) {
    content->append(buffer, static_cast<size_t>(read));
  }
  zip_fclose(file);
  if (read != 0 || content->size() != stat.size) {
    *error = "the archive is damaged (an entry cannot be read whole)";
    return false;
  }
  return true;
}

bool ReadNamedEntry(zip_t* archive, const std::string& name, std::string* content, std::string* error) {
  zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
  if (index < 0) {
    *error = "the archive has no " + name;
    return false;
  }
  return ReadEntry(archive, static_cast<zip_uint64_t>(index), content, error);
}

// Every entry keeps its time stamp, the rewritten score too, so that the
// same score written twice gives the same bytes.
void KeepTimeStamp(zip_t* target, zip_int64_t added, const zip_stat_t& stat) {
  if (added >= 0 && (stat.valid & ZIP_STAT_MTIME)) {
    zip_file_set_mtime(target, static_cast<zip_uint64_t>(added), stat.mtime, 0);
  }
}

// Adds one entry of source to target: the replaced score from memory, every
// other entry straight from the source, with its compression and time stamp kept.
bool CopyEntry(zip_t* source, zip_t* target, zip_uint64_t index, const std::string& rootPath,
               const std::string& content, std::string* error) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(source, index, 0, &stat) != 0 || !stat.name) {
    *error = "cannot read the archive's table of contents";
    return false;
  }
  std::string name = stat.name;
  if (!name.empty() && name.back() == '/') {
    zip_int64_t added = zip_dir_add(target, name.c_str(), ZIP_FL_ENC_UTF_8);
    if (added < 0) {
      *error = zip_strerror(target);
      return false;
    }
    KeepTimeStamp(target, added, stat);
    return true;
  }
  zip_source_t* data = name == rootPath ? zip_source_buffer(target, content.data(), content.size(), 0)
                                        : zip_source_zip(target, source, index, 0, 0, -1);
  if (!data) {
    *error = zip_strerror(target);
    return false;
  }
  zip_int64_t added = zip_file_add(target, name.c_str(), data, ZIP_FL_ENC_UTF_8);
  if (added < 0) {
    zip_source_free(data);
    *error = zip_strerror(target);
    return false;
  }
  bool stored = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_STORE;
  zip_set_file_compression(target, static_cast<zip_uint64_t>(added), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
  KeepTimeStamp(target, added, stat);
  return true;
}

struct SourceReleaser {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceHandle = std::unique_ptr<zip_source_t, SourceReleaser>;

// An archive written into memory: its buffer outlives the archive, which
// lets go of its own hold on it when it is closed or discarded.
class MemoryArchive {
 public:
  bool Open(std::string* error) {
    zip_error_t failure;
    zip_error_init(&failure);
    buffer_.reset(zip_source_buffer_create(nullptr, 0, 0, &failure));
    if (buffer_) {
      zip_source_keep(buffer_.get());
      archive_.reset(zip_open_from_source(buffer_.get(), ZIP_TRUNCATE, &failure));
      if (!archive_) zip_source_free(buffer_.get());
    }
    if (!archive_) *error = std::string("cannot make the archive (") + zip_error_strerror(&failure) + ")";
    zip_error_fini(&failure);
    return archive_ != nullptr;
  }

  zip_t* Archive() const { return archive_.get(); }

  // Finishes the archive and copies its bytes out.
  bool CloseInto(std::string* bytes, std::string* error) {
    if (zip_close(archive_.get()) != 0) {
      *error = std::string("cannot make the archive (") + zip_strerror(archive_.get()) + ")";
      return false;
    }
    archive_.release();
    zip_stat_t stat;
    zip_stat_init(&stat);
    bool read = zip_source_open(buffer_.get()) == 0;
    if (read && zip_source_stat(buffer_.get(), &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
      bytes->assign(static_cast<size_t>(stat.size), '\0');
      read = stat.size == 0 ||
             zip_source_read(buffer_.get(), &(*bytes)[0], stat.size) == static_cast<zip_int64_t>(stat.size);
    } else {
      read = false;
    }
    zip_source_close(buffer_.get());
    if (!read) *error = "cannot read back the archive made in memory";
    return read;
  }

 private:
  SourceHandle buffer_;
  ArchiveHandle archive_;
};

// Opens an archive for reading from bytes that outlive it; null with the
// libzip error code that zip_open would have given for the same file.
zip_t* OpenInMemory(const std::string& bytes, int* code) {
  zip_error_t failure;
  zip_error_init(&failure);
  zip_t* archive = nullptr;
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &failure);
  if (source) {
    archive = zip_open_from_source(source, ZIP_RDONLY, &failure);
    if (!archive) zip_source_free(source);
  }
  *code = zip_error_code_zip(&failure);
  zip_error_fini(&failure);
  return archive;
}

bool FindNameGivenTwice(zip_t* archive, zip_int64_t count, std::string* name) {
  std::set<std::string> names;
  for (zip_int64_t index = 0; index < count; ++index) {
    const char* entry = zip_get_name(archive, static_cast<zip_uint64_t>(index), 0);
    if (entry && !names.insert(entry).second) {
      *name = entry;
      return true;
    }
  }
  return false;
}

}  // namespace

bool MxlArchive::IsAvailable() { return true; }

bool MxlArchive::ReadRootFile(const std::string& archiveBytes, std::string* rootPath, std::string* content,
                              std::string* error) {
  int code = 0;
  ArchiveHandle archive(OpenInMemory(archiveBytes, &code));
  if (!archive) {
    *error = "not a readable compressed MusicXML file (" + OpenErrorText(code) + ")";
    return false;
  }
  std::string container;
  if (!ReadNamedEntry(archive.get(), kContainerPath, &container, error)) return false;
  if (!FindRootFilePath(container, rootPath)) {
    *error = std::string(kContainerPath) + " names no score (no rootfile with a full-path)";
    return false;
  }
  if (!ReadNamedEntry(archive.get(), *rootPath, content, error)) return false;
  return true;
}

bool MxlArchive::MakeCopy(const std::string& sourceName, const std::string& sourceBytes, const std::string& rootPath,
                          const std::string& content, std::string* archive, std::string* error) {
  int code = 0;
  ArchiveHandle source(OpenInMemory(sourceBytes, &code));
  if (!source) {
    *error = "cannot read " + sourceName + " again (" + OpenErrorText(code) + ")";
    return false;
  }
  zip_int64_t count = zip_get_num_entries(source.get(), 0);
  std::string twice;
  if (FindNameGivenTwice(source.get(), count, &twice)) {
    *error = sourceName + " holds two entries named " + twice + ", which no archive may; no copy of it is written";
    return false;
  }
  MemoryArchive target;
  if (!target.Open(error)) return false;
  bool rootWritten = false;
  for (zip_int64_t index = 0; index < count; ++index) {
    if (!CopyEntry(source.get(), target.Archive(), static_cast<zip_uint64_t>(index), rootPath, content, error))
      return false;
    const char* name = zip_get_name(source.get(), static_cast<zip_uint64_t>(index), 0);
    if (name && rootPath == name) rootWritten = true;
  }
  if (!rootWritten) {
    *error = "the archive no longer holds " + rootPath;
    return false;
  }
  return target.CloseInto(archive, error);
}

#else

bool MxlArchive::IsAvailable() { return false; }

bool MxlArchive::ReadRootFile(const std::string&, std::string*, std::string*, std::string* error) {
  *error = "compressed MusicXML (.mxl) cannot be read by this build (it was made without libzip)";
  return false;
}

bool MxlArchive::MakeCopy(const std::string&, const std::string&, const std::string&, const std::string&, std::string*,
                          std::string* error) {
  *error = "compressed MusicXML (.mxl) cannot be written by this build (it was made without libzip)";
  return false;
}

#endif

}  // namespace musicxml
