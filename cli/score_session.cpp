#include "cli/score_session.h"

#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "musicxml/musicxml_exporter.h"
#include "musicxml/musicxml_importer.h"

namespace rzacc {

namespace {

constexpr int32_t kEndOfMeasure = 0x7FFFFFFF;

bool CheckRange(const char* option, const NumberRange& range, int count, const char* one, const char* many,
                std::string* error) {
  if (!range.given || range.last <= count) return true;
  *error = std::string(option) + " " + std::to_string(range.first) + "-" + std::to_string(range.last) +
           ": the score has " + std::to_string(count) + " " + (count == 1 ? one : many);
  return false;
}

}  // namespace

ScoreSession::ScoreSession() = default;
ScoreSession::~ScoreSession() = default;

bool ScoreSession::Open(const std::string& path, std::string* error) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  host.Reset();
  // A long score makes millions of host calls; nobody reads their log here.
  host.CallLog().SetEnabled(false);
  if (!host.Install()) {
    *error = "the headless host could not be installed";
    return false;
  }
  document_ = std::make_unique<musicxml::MusicXmlDocument>();
  if (!document_->Load(path, error)) return false;
  host.NewDocument();
  builder_.reset(new headless::ScoreBuilder(host));
  std::string message;
  if (!musicxml::MusicXmlImporter(builder_.get()).Import(document_.get(), &imported_, &message)) {
    *error = path + ": " + message;
    return false;
  }
  return true;
}

bool ScoreSession::Select(const NumberRange& measures, const NumberRange& staves, std::string* error) {
  if (!CheckRange("--measures", measures, MeasureCount(), "measure", "measures", error) ||
      !CheckRange("--staves", staves, StaffCount(), "staff", "staves", error)) {
    return false;
  }
  region_.firstMeasure = measures.given ? measures.first : 1;
  region_.lastMeasure = measures.given ? measures.last : MeasureCount();
  region_.firstStaff = staves.given ? staves.first : 1;
  region_.lastStaff = staves.given ? staves.last : StaffCount();
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  int16_t firstStaff = host.StaffAtSlot(0, region_.firstStaff);
  int16_t lastStaff = host.StaffAtSlot(0, region_.lastStaff);
  if (!host.Selection().Set(firstStaff, static_cast<int16_t>(region_.firstMeasure), 0, lastStaff,
                            static_cast<int16_t>(region_.lastMeasure), kEndOfMeasure)) {
    *error = "the region could not be selected in the host";
    return false;
  }
  return true;
}

std::string ScoreSession::WrittenPitchName(uint32_t entryNumber, int noteIndex) {
  if (!imported_.HasWrittenPitches()) return std::string();
  if (!noteTagsRead_) {
    headless::HeadlessHost::Instance().Queries().VisitNotesWithTags([this](const headless::TaggedNote& note) {
      noteTags_[std::make_pair(note.entryNumber, note.noteIndex)] = note.sourceTag;
    });
    noteTagsRead_ = true;
  }
  auto found = noteTags_.find(std::make_pair(entryNumber, noteIndex));
  const musicxml::WrittenPitch* written = found == noteTags_.end() ? nullptr : imported_.WrittenPitchOf(found->second);
  return written ? written->Name() : std::string();
}

void ScoreSession::ReleaseScore() { document_.reset(); }

int ScoreSession::WriteChanges(const std::string& path, const musicxml::AccidentalStyle& style, std::string* error) {
  if (!document_) {
    *error = path + ": the score was read for a scan only and is no longer held";
    return -1;
  }
  if (!document_->Score()) {
    *error = path + ": the score was written already and is no longer held";
    return -1;
  }
  int written = musicxml::MusicXmlExporter::WriteChangedAccidentals(builder_.get(), imported_, document_.get(),
                                                                    &exportWarnings_, style, &unwritten_);
  // Nothing reads the document after this; letting go of it before the
  // written text is read again halves what a long score holds at the peak.
  if (!document_->SaveAndRelease(path, error)) return -1;
  return written;
}

}  // namespace rzacc
