// Zip archives made and read by the tests themselves, for compressed MusicXML.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace musicxml_test {

// Writes an archive with these entries in this order; stored ones uncompressed.
inline void WriteArchive(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
                         const std::vector<std::string>& stored = {}) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    zip_int64_t index = zip_file_add(archive, name.c_str(), source, 0);
    ASSERT_GE(index, 0);
    bool store = std::find(stored.begin(), stored.end(), name) != stored.end();
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

struct ArchiveEntry {
  std::string name;
  std::string content;
  bool stored;
};

inline std::vector<ArchiveEntry> ReadArchive(const std::string& path) {
  std::vector<ArchiveEntry> entries;
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!archive) return entries;
  for (zip_int64_t index = 0; index < zip_get_num_entries(archive, 0); ++index) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat);
    std::string content(static_cast<size_t>(stat.size), '\0');
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (file && stat.size > 0) zip_fread(file, &content[0], stat.size);
    if (file) zip_fclose(file);
    entries.push_back({stat.name, content, stat.comp_method == ZIP_CM_STORE});
  }
  zip_discard(archive);
  return entries;
}

}  // namespace musicxml_test
