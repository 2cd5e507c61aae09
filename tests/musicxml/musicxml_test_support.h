// Small MusicXML scores written in the tests themselves, and their import
// into the headless host.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_importer.h"
#include "tests/headless/host_fixture.h"

namespace musicxml_test {

// A folder of its own under the system's temporary folder, removed with all
// it holds when the object goes.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("rz_musicxml_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What saving the document would write, or a marker when it would not.
inline std::string SavedTextOf(const musicxml::MusicXmlDocument& document) {
  std::string text;
  return document.SavedText(&text) ? text : "<no text: the document cannot be saved>";
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// UTF-8 text as UTF-16 code units in bytes, with a byte-order mark when asked.
inline std::string Utf16(const std::string& utf8, bool bigEndian, bool mark = true) {
  std::u16string units;
  for (size_t index = 0; index < utf8.size();) {
    unsigned char first = static_cast<unsigned char>(utf8[index]);
    char32_t code = first;
    size_t length = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
    if (length > 1) code = first & (0xFF >> (length + 1));
    for (size_t more = 1; more < length; ++more) code = (code << 6) | (utf8[index + more] & 0x3F);
    index += length;
    if (code >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(code);
    }
  }
  std::string bytes;
  if (mark) units.insert(units.begin(), u'\xFEFF');
  for (char16_t unit : units) {
    char high = static_cast<char>(unit >> 8);
    char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// A <note> with a pitch; alter 0 writes no <alter>. extra goes after <type>.
inline std::string PitchNote(char step, int alter, int octave, int duration, const std::string& voice = "1",
                             const std::string& extra = "", const std::string& type = "quarter") {
  std::string text = "<note><pitch><step>" + std::string(1, step) + "</step>";
  if (alter != 0) text += "<alter>" + std::to_string(alter) + "</alter>";
  text += "<octave>" + std::to_string(octave) + "</octave></pitch>";
  text += "<duration>" + std::to_string(duration) + "</duration>";
  text += "<voice>" + voice + "</voice><type>" + type + "</type>" + extra + "</note>";
  return text;
}

inline std::string Rest(int duration, const std::string& voice = "1", const std::string& extra = "") {
  return "<note><rest/><duration>" + std::to_string(duration) + "</duration><voice>" + voice + "</voice>" + extra +
         "</note>";
}

inline std::string Attributes(int divisions, int fifths = 0, const std::string& extra = "") {
  return "<attributes><divisions>" + std::to_string(divisions) + "</divisions><key><fifths>" + std::to_string(fifths) +
         "</fifths></key><time><beats>4</beats><beat-type>4</beat-type></time>" + extra + "</attributes>";
}

struct PartText {
  std::string id;
  std::string name;
  std::vector<std::string> measures;  // the content of each <measure>
};

// A score-partwise document; measures are numbered from 1 unless numbers are given.
inline std::string Score(const std::vector<PartText>& parts, const std::string& partListExtra = "",
                         const std::vector<std::string>& numbers = {}) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"4.0\">\n<part-list>";
  text += partListExtra;
  for (const PartText& part : parts) {
    text += "<score-part id=\"" + part.id + "\"><part-name>" + part.name + "</part-name></score-part>";
  }
  text += "</part-list>\n";
  for (const PartText& part : parts) {
    text += "<part id=\"" + part.id + "\">\n";
    for (size_t index = 0; index < part.measures.size(); ++index) {
      std::string number = index < numbers.size() ? numbers[index] : std::to_string(index + 1);
      text += "<measure number=\"" + number + "\">" + part.measures[index] + "</measure>\n";
    }
    text += "</part>\n";
  }
  return text + "</score-partwise>\n";
}

// Parses and imports a score into a new document of the installed host.
class Imported {
 public:
  bool Import(const std::string& text, std::string* error = nullptr) {
    std::string message;
    bool ok = document.Parse(text, "test.musicxml", &message) &&
              musicxml::MusicXmlImporter(&builder).Import(&document, &score, &message);
    if (error) *error = message;
    if (!ok && !error) ADD_FAILURE() << message;
    return ok;
  }

  int16_t Staff(size_t index) const { return index < score.staves.size() ? score.staves[index].staffNumber : 0; }
  headless::HeadlessHost& Host() { return builder.Host(); }
  bool Entry(size_t staffIndex, int16_t measure, int layer, int index, headless::EntryInfo* entry) {
    return Host().Queries().EntryAt(Staff(staffIndex), measure, layer, index, entry);
  }

  headless::ScoreBuilder builder;
  musicxml::MusicXmlDocument document;
  musicxml::ImportedScore score;
};

}  // namespace musicxml_test
