// The web page's engine: one score session driven by the page, with every
// answer as text (JSON or MusicXML) or bytes. It keeps the last answer of
// each kind so that the C functions can hand out pointers that stay valid
// until the next call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "session/score_session.h"
#include "webengine/note_ids.h"

namespace rzacc {
struct Report;
}

namespace webengine {

class WebEngine {
 public:
  WebEngine();
  ~WebEngine();
  WebEngine(const WebEngine&) = delete;
  WebEngine& operator=(const WebEngine&) = delete;

  // Opens a score from the bytes of its file. False with Message() saying why.
  bool Open(std::string bytes, const std::string& name);
  // The last error message, or empty.
  const std::string& Message() const { return message_; }
  // The warnings of the open as a JSON array of strings.
  std::string WarningsJson() const;
  // The score's text in UTF-8 with id="rzn-N" on every <note>; empty when
  // no score is open.
  std::string ScoreText() const;

  // The option table: keys, the editor's labels, kinds, choices, defaults.
  static std::string OptionsJson();
  // The profiles of a profiles file's text as JSON (with "error").
  static std::string ReadProfiles(const std::string& xmlText);
  // The text of a profiles file for that JSON, written into the file the
  // profiles came from (baseXml, empty for a new one) so that what other
  // plug-ins keep in it stays; false with Message() on bad JSON or XML.
  bool WriteProfiles(const std::string& profilesJson, const std::string& baseXml, std::string* xmlText);

  // Scans the whole score with the named profile of the profiles text
  // (empty: built-in defaults) and the layers of layerMask. The report's
  // JSON with each finding's note indexes, or {"error":...}.
  std::string Scan(const std::string& profilesXml, const std::string& profileName, uint32_t layerMask);
  // Applies the chosen findings of the last scan once and writes the file
  // outputName into Output(). Its size, or -1 with Message().
  int Apply(const std::string& choicesJson, bool brackets, const std::string& color, const std::string& outputName);
  // Takes out what an earlier apply added. How many were taken out (the
  // file in Output()), or -1 with Message().
  int Clean(std::string bytes, const std::string& name, const std::string& outputName);
  const std::string& Output() const { return output_; }

 private:
  // Each row's <note> element numbers, from the findings of the last scan.
  void AddNoteElements(rzacc::Report* report) const;

  std::unique_ptr<session::ScoreSession> session_;
  std::string name_;
  std::string message_;
  std::string output_;
  NoteIds noteIds_;
  // The last scan's, which an apply scans with again.
  AnalysisSettings settings_;
  uint32_t layerMask_ = 0xF;
  bool scanned_ = false;
};

}  // namespace webengine
