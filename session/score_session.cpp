#include "session/score_session.h"

#include <utility>

#include "analysis/accidental_finding.h"
#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "musicxml/musicxml_exporter.h"
#include "musicxml/musicxml_importer.h"

namespace session {

namespace {

constexpr int32_t kEndOfMeasure = 0x7FFFFFFF;

// Every use of the headless host is here: the host of this process, made
// empty and installed with one new document; the selection; the notes' tags.

headless::HeadlessHost* OpenHost(std::string* error) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  host.Reset();
  // A long score makes millions of host calls; nobody reads their log here.
  host.CallLog().SetEnabled(false);
  if (!host.Install()) {
    *error = "the headless host could not be installed";
    return nullptr;
  }
  return &host;
}

bool SelectInHost(const RegionChoice& region) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  int16_t firstStaff = host.StaffAtSlot(0, region.firstStaff);
  int16_t lastStaff = host.StaffAtSlot(0, region.lastStaff);
  return host.Selection().Set(firstStaff, static_cast<int16_t>(region.firstMeasure), 0, lastStaff,
                              static_cast<int16_t>(region.lastMeasure), kEndOfMeasure);
}

std::map<std::pair<uint32_t, int>, uint64_t> NoteTagsInHost() {
  std::map<std::pair<uint32_t, int>, uint64_t> tags;
  headless::HeadlessHost::Instance().Queries().VisitNotesWithTags([&tags](const headless::TaggedNote& note) {
    tags[std::make_pair(note.entryNumber, note.noteIndex)] = note.sourceTag;
  });
  return tags;
}

// What the score does not hold is refused here; the host judges the rest.
bool LiesWithin(int first, int last, int count) { return first >= 1 && last <= count; }

}  // namespace

ScoreSession::ScoreSession() = default;
ScoreSession::~ScoreSession() = default;

bool ScoreSession::Open(std::string bytes, const std::string& name, std::string* error) {
  headless::HeadlessHost* host = OpenHost(error);
  if (!host) return false;
  document_ = std::make_unique<musicxml::MusicXmlDocument>();
  if (!document_->LoadBytes(std::move(bytes), name, error)) return false;
  host->NewDocument();
  builder_.reset(new headless::ScoreBuilder(*host));
  std::string message;
  if (!musicxml::MusicXmlImporter(builder_.get()).Import(document_.get(), &imported_, &message)) {
    *error = name + ": " + message;
    return false;
  }
  return true;
}

RegionChoice ScoreSession::WholeScore() const {
  RegionChoice whole;
  whole.firstMeasure = 1;
  whole.lastMeasure = MeasureCount();
  whole.firstStaff = 1;
  whole.lastStaff = StaffCount();
  return whole;
}

bool ScoreSession::Select(const RegionChoice& region, std::string* error) {
  if (!LiesWithin(region.firstMeasure, region.lastMeasure, MeasureCount()) ||
      !LiesWithin(region.firstStaff, region.lastStaff, StaffCount())) {
    *error = "the region lies outside the score's " + std::to_string(MeasureCount()) + " measures and " +
             std::to_string(StaffCount()) + " staves";
    return false;
  }
  region_ = region;
  if (!SelectInHost(region_)) {
    *error = "the region could not be selected in the host";
    return false;
  }
  return true;
}

void ScoreSession::ReleaseScore() { document_.reset(); }

bool ScoreSession::Scan(const AnalysisSettings& settings, uint32_t layerMask) { return run_.Scan(settings, layerMask); }

bool ScoreSession::Apply(const std::vector<int32_t>& chosen) {
  for (int32_t index = 0; index < run_.FindingCount(); ++index) run_.SetChecked(index, false);
  for (int32_t index : chosen) run_.SetChecked(index, true);
  return run_.ApplyChecked(false);
}

bool ScoreSession::ApplyInRounds(const AnalysisSettings& settings, uint32_t layerMask, bool all, bool once,
                                 const RoundObserver& afterRound, AppliedRounds* applied) {
  // An applied accidental can make another note need one (a courtesy on a
  // grace note asks for one on the note after it), so apply scans again
  // until a scan finds nothing more to apply.
  applied->rounds = 1;
  bool changed = run_.ApplyChecked(all);
  afterRound(run_, 1, false);
  // A round that changed nothing cannot have made anything new to find.
  for (int round = 2; round <= kMaxApplyRounds + 1 && changed && !once; ++round) {
    if (!run_.Scan(settings, layerMask)) return false;
    int32_t pending = run_.PendingCount(all);
    if (pending == 0) break;
    if (round > kMaxApplyRounds) {
      applied->warnings.push_back("after " + std::to_string(kMaxApplyRounds) + " rounds of apply a scan still finds " +
                                  std::to_string(pending) + " findings to apply; they are not applied");
      break;
    }
    changed = run_.ApplyChecked(all);
    afterRound(run_, round, !all);
    applied->rounds = round;
  }
  return true;
}

std::string ScoreSession::WrittenPitchName(uint32_t entryNumber, int noteIndex) {
  if (!imported_.HasWrittenPitches()) return std::string();
  if (!noteTagsRead_) {
    noteTags_ = NoteTagsInHost();
    noteTagsRead_ = true;
  }
  auto found = noteTags_.find(std::make_pair(entryNumber, noteIndex));
  const musicxml::WrittenPitch* written = found == noteTags_.end() ? nullptr : imported_.WrittenPitchOf(found->second);
  return written ? written->Name() : std::string();
}

int ScoreSession::Write(const musicxml::AccidentalStyle& style, const std::string& outputName, std::string* bytes,
                        std::string* error) {
  if (!document_) {
    *error = outputName + ": the score was read for a scan only and is no longer held";
    return -1;
  }
  if (!document_->Score()) {
    *error = outputName + ": the score was written already and is no longer held";
    return -1;
  }
  int written = musicxml::MusicXmlExporter::WriteChangedAccidentals(builder_.get(), imported_, document_.get(),
                                                                    &exportWarnings_, style, &unwritten_);
  // Nothing reads the document after this; letting go of it before the
  // written text is read again halves what a long score holds at the peak.
  if (!document_->SaveAndReleaseToBytes(outputName, bytes, error)) return -1;
  return written;
}

int ScoreSession::Clean(std::string bytes, const std::string& name, const std::string& outputName, std::string* output,
                        std::string* error) {
  musicxml::MusicXmlDocument document;
  if (!document.LoadBytes(std::move(bytes), name, error)) return -1;
  int removed = musicxml::MusicXmlExporter::RemoveMarkedAccidentals(&document);
  if (removed < 0) {
    *error = name + ": an accidental that apply added cannot be found in the file's text";
    return -1;
  }
  if (!document.SaveToBytes(outputName, output, error)) return -1;
  return removed;
}

}  // namespace session
