#include "webengine/web_engine.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <sstream>
#include <utility>

#include "analysis/accidental_finding.h"
#include "cli/report_writer.h"
#include "cli/rzacc_app.h"
#include "headless/document_queries.h"
#include "headless/headless_host.h"
#include "session/profile_choice.h"
#include "webengine/profiles_json.h"

namespace webengine {

namespace {

using rzacc::ReportWriter;

constexpr uint32_t kAllLayers = 0xF;

std::string ErrorJson(const std::string& message) { return "{\"error\":" + ReportWriter::JsonString(message) + "}"; }

// The source tag of the note at a place in the host, 0 when there is none.
uint64_t SourceTagAt(int16_t staff, int32_t measure, int32_t layer, int32_t entryIndex, int32_t noteIndex) {
  headless::EntryInfo entry;
  if (noteIndex < 0 ||
      !headless::HeadlessHost::Instance().Queries().EntryAt(staff, static_cast<int16_t>(measure), layer, entryIndex,
                                                            &entry) ||
      static_cast<size_t>(noteIndex) >= entry.notes.size()) {
    return 0;
  }
  return entry.notes[static_cast<size_t>(noteIndex)].sourceTag;
}

// The page's choices: finding index -> parentheses, absent where the
// finding keeps its own. False with a message.
bool ReadChoices(const std::string& choicesJson, int32_t findingCount,
                 std::vector<std::pair<int32_t, std::optional<bool>>>* choices, std::string* error) {
  nlohmann::json json = nlohmann::json::parse(choicesJson, nullptr, false);
  if (json.is_discarded() || !json.is_array()) {
    *error = "the choices are not a JSON array";
    return false;
  }
  for (const nlohmann::json& item : json) {
    auto index = item.is_object() ? item.find("index") : item.end();
    auto parentheses = item.is_object() ? item.find("parentheses") : item.end();
    if (index == item.end() || !index->is_number_integer() || index->get<int64_t>() < 0 ||
        index->get<int64_t>() >= findingCount || (parentheses != item.end() && !parentheses->is_boolean())) {
      *error = "a choice needs the index of a finding of the last scan and, if any, parentheses true or false";
      return false;
    }
    std::optional<bool> choice;
    if (parentheses != item.end()) choice = parentheses->get<bool>();
    choices->emplace_back(static_cast<int32_t>(index->get<int64_t>()), choice);
  }
  return true;
}

}  // namespace

WebEngine::WebEngine() = default;
WebEngine::~WebEngine() = default;

bool WebEngine::Open(std::string bytes, const std::string& name) {
  session_.reset();
  scanned_ = false;
  message_.clear();
  auto opened = std::make_unique<session::ScoreSession>();
  if (!opened->Open(std::move(bytes), name, &message_)) return false;
  session_ = std::move(opened);
  name_ = name;
  noteIds_.Number(session_->Document()->Xml());
  return true;
}

std::string WebEngine::WarningsJson() const {
  std::string json = "[";
  if (session_) {
    for (const std::string& warning : session_->Warnings()) {
      json += (json.size() > 1 ? "," : "") + ReportWriter::JsonString(warning);
    }
  }
  return json + "]";
}

std::string WebEngine::ScoreText() const {
  std::string text;
  const musicxml::MusicXmlDocument* document = session_ ? session_->Document() : nullptr;
  if (!document || !document->Score() || !NoteIds::MarkedText(*document, &text)) return std::string();
  return text;
}

std::string WebEngine::OptionsJson() { return ProfilesJson::Options(); }

std::string WebEngine::ReadProfiles(const std::string& xmlText) { return ProfilesJson::Read(xmlText); }

bool WebEngine::WriteProfiles(const std::string& profilesJson, const std::string& baseXml, std::string* xmlText) {
  message_.clear();
  if (ProfilesJson::Write(profilesJson, baseXml, xmlText, &message_)) return true;
  xmlText->clear();
  return false;
}

std::string WebEngine::Scan(const std::string& profilesXml, const std::string& profileName, uint32_t layerMask) {
  scanned_ = false;
  if (!session_ || !session_->Document() || !session_->Document()->Score()) {
    return ErrorJson("no score is open");
  }
  if (layerMask == 0 || (layerMask & ~kAllLayers) != 0) return ErrorJson("the layers are not among layers 1 to 4");
  session::ProfileChoice profile;
  std::string error;
  if (!profilesXml.empty() && !profile.ChooseFromText(profilesXml, "rzpluginstorage.xml", profileName, &error)) {
    return ErrorJson(error);
  }
  if (!session_->Select(session_->WholeScore(), &error)) return ErrorJson(error);
  settings_ = profile.Settings();
  layerMask_ = layerMask;
  if (!session_->Scan(settings_, layerMask)) return ErrorJson(name_ + ": the scan failed");
  scanned_ = true;
  rzacc::Report report;
  report.score = name_;
  report.profile = profile.Name();
  report.region = session_->Region();
  report.layerMask = layerMask;
  report.noteElements = true;
  rzacc::RzaccApp::AddRows(session_->Findings(), 1, false, session_.get(), &report);
  AddNoteElements(&report);
  std::ostringstream out;
  ReportWriter::WriteJson(report, out);
  return out.str();
}

void WebEngine::AddNoteElements(rzacc::Report* report) const {
  const session::ScanRun& run = session_->Findings();
  const musicxml::ImportedScore& imported = session_->Imported();
  size_t row = 0;
  for (int32_t index = 0; index < run.FindingCount() && row < report->rows.size(); ++index) {
    const AccidentalFinding* finding = run.FindingAt(index);
    if (!finding) continue;
    uint64_t tag =
        SourceTagAt(finding->staff, finding->measure, finding->layer, finding->entryIndex, finding->noteIndex);
    report->rows[row].noteElement = noteIds_.IndexOf(imported.NoteElement(tag));
    if (finding->hasRelated) {
      uint64_t related = SourceTagAt(finding->relatedStaff, finding->relatedMeasure, finding->relatedLayer,
                                     finding->relatedEntryIndex, finding->relatedNoteIndex);
      report->rows[row].relatedNoteElement = noteIds_.IndexOf(imported.NoteElement(related));
    }
    ++row;
  }
}

int WebEngine::Apply(const std::string& choicesJson, bool brackets, const std::string& color,
                     const std::string& outputName) {
  message_.clear();
  output_.clear();
  if (!session_ || !scanned_) {
    message_ = "there is no scan to apply";
    return -1;
  }
  int32_t findingCount = session_->Findings().FindingCount();
  std::vector<std::pair<int32_t, std::optional<bool>>> choices;
  if (!ReadChoices(choicesJson, findingCount, &choices, &message_)) return -1;
  for (int32_t index = 0; index < findingCount; ++index) session_->SetChecked(index, false);
  for (const auto& [index, parentheses] : choices) {
    session_->SetChecked(index, true);
    if (parentheses) session_->SetParentheses(index, *parentheses);
  }
  // Applying spends the scan: its findings are gone once the next one runs.
  scanned_ = false;
  session::AppliedRounds applied;
  if (!session_->ApplyInRounds(
          settings_, layerMask_, false, true, [](const session::ScanRun&, int, bool) {}, &applied)) {
    message_ = name_ + ": the scan failed";
    return -1;
  }
  musicxml::AccidentalStyle style;
  style.brackets = brackets;
  style.color = color;
  style.markAdded = true;
  if (session_->Write(style, outputName, &output_, &message_) < 0) {
    output_.clear();
    return -1;
  }
  return static_cast<int>(output_.size());
}

int WebEngine::Clean(std::string bytes, const std::string& name, const std::string& outputName) {
  message_.clear();
  output_.clear();
  int removed = session::ScoreSession::Clean(std::move(bytes), name, outputName, &output_, &message_);
  if (removed < 0) output_.clear();
  return removed;
}

}  // namespace webengine
