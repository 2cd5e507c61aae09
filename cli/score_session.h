// One score in the headless host: read from its file, built into a fresh
// host document, with the region to scan selected in it, and written back
// after an apply.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/rzacc_options.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_exporter.h"

namespace headless {
class ScoreBuilder;
}

namespace rzacc {

// The region as the user counts it: host measures and staves from the top.
struct RegionChoice {
  int firstMeasure = 0;
  int lastMeasure = 0;
  int firstStaff = 0;
  int lastStaff = 0;
};

class ScoreSession {
 public:
  ScoreSession();
  ~ScoreSession();
  ScoreSession(const ScoreSession&) = delete;
  ScoreSession& operator=(const ScoreSession&) = delete;

  // Resets and installs the headless host, reads the score and builds it.
  // False with one message naming the file.
  bool Open(const std::string& path, std::string* error);

  // Selects the measures and staves (all when not given) in the host. False
  // with a message when a range lies outside the score.
  bool Select(const NumberRange& measures, const NumberRange& staves, std::string* error);
  const RegionChoice& Region() const { return region_; }

  // Lets go of the score's XML and text when nothing will be written: a
  // scan needs only what was imported, and the memory the document held
  // serves the analysis instead of new pages. Writing is then refused.
  void ReleaseScore();

  // Adds the accidentals the host now shows to the document and writes it,
  // once: the document is let go of as it is written. Answers how many
  // notes were written, or -1 with a message.
  int WriteChanges(const std::string& path, const musicxml::AccidentalStyle& style, std::string* error);
  // Whether a host note that the host now shows an accidental on could not
  // be given one in the file (no accidental shows its alteration).
  bool IsUnwritten(uint32_t entryNumber, int noteIndex) const {
    return unwritten_.count(std::make_pair(entryNumber, noteIndex)) != 0;
  }

  // The written pitch of a host note on a transposing staff ("Eb5"); empty
  // for a note written at the pitch it sounds.
  std::string WrittenPitchName(uint32_t entryNumber, int noteIndex);

  const musicxml::ImportedScore& Imported() const { return imported_; }
  const std::vector<std::string>& Warnings() const { return imported_.warnings; }
  const std::vector<std::string>& ExportWarnings() const { return exportWarnings_; }
  int MeasureCount() const { return static_cast<int>(imported_.measureNumbers.size()); }
  int StaffCount() const { return static_cast<int>(imported_.staves.size()); }

 private:
  // Null once released.
  std::unique_ptr<musicxml::MusicXmlDocument> document_;
  musicxml::ImportedScore imported_;
  std::unique_ptr<headless::ScoreBuilder> builder_;
  RegionChoice region_;
  std::vector<std::string> exportWarnings_;
  std::set<musicxml::MusicXmlExporter::NoteAddress> unwritten_;
  // (entry number, note index) -> source tag, made when first asked for.
  std::map<std::pair<uint32_t, int>, uint64_t> noteTags_;
  bool noteTagsRead_ = false;
};

}  // namespace rzacc
