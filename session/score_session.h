// One score in the headless host, from the bytes of its file to the bytes of
// the file written back: read and built into a fresh host document, a region
// selected, scanned, chosen findings applied (in rounds when asked), and the
// accidentals the host now shows written into a copy of the file. No file
// is read or written here, nothing is printed and the process is never
// left: messages and warnings are values, and the name given with the bytes
// stands for the file in them.
//
// The headless host is one per process, so one session is open at a time:
// opening resets the host and installs it for this session's score.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_settings.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_exporter.h"
#include "session/scan_run.h"

namespace headless {
class ScoreBuilder;
}

namespace session {

// The region as the user counts it: host measures and staves from the top.
struct RegionChoice {
  int firstMeasure = 0;
  int lastMeasure = 0;
  int firstStaff = 0;
  int lastStaff = 0;
};

// What an apply in rounds did.
struct AppliedRounds {
  int rounds = 1;  // rounds of scan and apply that applied something
  std::vector<std::string> warnings;
};

// Called after each round's apply with the round's scan, whose findings
// live until the next scan; checkedOnly says that only the checked ones
// (those that were applied) are the round's to report.
using RoundObserver = std::function<void(const ScanRun& run, int round, bool checkedOnly)>;

class ScoreSession {
 public:
  // An apply scans and applies again at most this many times in all.
  static constexpr int kMaxApplyRounds = 5;

  ScoreSession();
  ~ScoreSession();
  ScoreSession(const ScoreSession&) = delete;
  ScoreSession& operator=(const ScoreSession&) = delete;

  // Resets and installs the headless host, reads the score from the bytes
  // of its file (plain MusicXML or compressed .mxl) and builds it. False
  // with one message naming the file.
  bool Open(std::string bytes, const std::string& name, std::string* error);

  // Every measure and staff of the score.
  RegionChoice WholeScore() const;
  // Selects the region in the host. False with a message when it lies
  // outside the score or cannot be selected.
  bool Select(const RegionChoice& region, std::string* error);
  const RegionChoice& Region() const { return region_; }

  // Lets go of the score's XML and text when nothing will be written: a
  // scan needs only what was imported, and the memory the document held
  // serves the analysis instead of new pages. Writing is then refused.
  void ReleaseScore();

  // Scans the selected region of the layers in layerMask. False when
  // nothing is selected or the scan failed.
  bool Scan(const AnalysisSettings& settings, uint32_t layerMask);
  // The findings of the last scan, with their checked state.
  const ScanRun& Findings() const { return run_; }
  bool SetChecked(int32_t index, bool checked) { return run_.SetChecked(index, checked); }
  bool SetParentheses(int32_t index, bool parentheses) { return run_.SetParentheses(index, parentheses); }
  // Applies the chosen findings of the last scan (by index in report
  // order) or all of them; answers whether a note changed.
  bool Apply(const std::vector<int32_t>& chosen);
  bool ApplyAll() { return run_.ApplyChecked(true); }

  // Applies the last scan's checked findings (all of them when asked), then
  // scans again and applies what is new until nothing more is found, once
  // only when asked, and at most kMaxApplyRounds times. A later round
  // reports only what it applies; its unchecked findings are those of the
  // first round. False when a scan failed.
  bool ApplyInRounds(const AnalysisSettings& settings, uint32_t layerMask, bool all, bool once,
                     const RoundObserver& afterRound, AppliedRounds* applied);

  // Adds the accidentals the host now shows to the document and makes the
  // bytes of the file outputName (whose ending chooses a compressed or a
  // plain file), once: the document is let go of as it is written. Answers
  // how many notes were written, or -1 with a message.
  int Write(const musicxml::AccidentalStyle& style, const std::string& outputName, std::string* bytes,
            std::string* error);
  // Whether a host note that the host now shows an accidental on could not
  // be given one in the file (no accidental shows its alteration).
  bool IsUnwritten(uint32_t entryNumber, int noteIndex) const {
    return unwritten_.count(std::make_pair(entryNumber, noteIndex)) != 0;
  }

  // The bytes of a score file (called name) without the accidentals that
  // an apply added, for a file called outputName. Answers how many were
  // taken out, or -1 with a message.
  static int Clean(std::string bytes, const std::string& name, const std::string& outputName, std::string* output,
                   std::string* error);

  // The written pitch of a host note on a transposing staff ("Eb5"); empty
  // for a note written at the pitch it sounds.
  std::string WrittenPitchName(uint32_t entryNumber, int noteIndex);

  const musicxml::ImportedScore& Imported() const { return imported_; }
  // The score's document until it is released or written; null after.
  const musicxml::MusicXmlDocument* Document() const { return document_.get(); }
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
  ScanRun run_;
  std::vector<std::string> exportWarnings_;
  std::set<musicxml::MusicXmlExporter::NoteAddress> unwritten_;
  // (entry number, note index) -> source tag, made when first asked for.
  std::map<std::pair<uint32_t, int>, uint64_t> noteTags_;
  bool noteTagsRead_ = false;
};

}  // namespace session
