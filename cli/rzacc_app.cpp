#include "cli/rzacc_app.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "analysis/accidental_finding.h"
#include "cli/profile_choice.h"
#include "cli/report_writer.h"
#include "cli/rzacc_options.h"
#include "musicxml/musicxml_exporter.h"
#include "musicxml/score_file.h"
#include "settings/presets.h"

#ifndef RZACC_VERSION
#define RZACC_VERSION "0"
#endif

namespace rzacc {

namespace {

void PrintError(std::ostream& err, const std::string& message) { err << "rzacc: " << message << "\n"; }

void PrintWarnings(std::ostream& err, const std::string& score, const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) err << "rzacc: warning: " << score << ": " << warning << "\n";
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool CheckRange(const char* option, const NumberRange& range, int count, const char* one, const char* many,
                std::string* error) {
  if (!range.given || range.last <= count) return true;
  *error = std::string(option) + " " + std::to_string(range.first) + "-" + std::to_string(range.last) +
           ": the score has " + std::to_string(count) + " " + (count == 1 ? one : many);
  return false;
}

}  // namespace

bool RzaccApp::IsSameFile(const std::string& score, const std::string& output) {
  std::error_code error;
  if (std::filesystem::equivalent(score, output, error)) return true;
  // A file that does not exist yet is the score only when both name the same path.
  std::filesystem::path left = std::filesystem::weakly_canonical(score, error);
  if (error) return score == output;
  std::filesystem::path right = std::filesystem::weakly_canonical(output, error);
  if (error) return score == output;
  return left == right;
}

int RzaccApp::Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, PitchSearch search) {
  RzaccOptions options;
  std::string error;
  if (!CommandLine::Parse(arguments, &options, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  if (options.command == Command::Help) {
    out << CommandLine::HelpText();
    return kExitDone;
  }
  if (options.command == Command::Version) {
    out << "rzacc " << RZACC_VERSION << "\n";
    return kExitDone;
  }
  if (options.command == Command::Presets) {
    for (size_t index = 0; index < kPresetCount; ++index) {
      out << kPresets[index].name << ": " << kPresets[index].purpose << "\n";
    }
    return kExitDone;
  }
  return RunScore(options, search, out, err);
}

int RzaccApp::RunScore(const RzaccOptions& options, PitchSearch search, std::ostream& out, std::ostream& err) {
  std::string error;
  bool apply = options.command == Command::Apply;
  if (options.command != Command::Scan && IsSameFile(options.score, options.output)) {
    PrintError(err, options.output + ": that is the score itself; rzacc never writes over its input");
    return kExitBadInput;
  }
  if (options.command == Command::Clean) return RunClean(options, out, err);
  ProfileChoice profile;
  bool chosen = options.presetName.empty() ? profile.Choose(options.profilesFile, options.profileName, &error)
                                           : profile.ChoosePreset(options.presetName, &error);
  if (!chosen) {
    PrintError(err, error);
    return kExitBadInput;
  }
  PrintWarnings(err, options.profilesFile, profile.Warnings());
  std::string bytes;
  session::ScoreSession scoreSession;
  if (!musicxml::ScoreFile::Read(options.score, &bytes, &error) ||
      !scoreSession.Open(std::move(bytes), options.score, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  PrintWarnings(err, options.score, scoreSession.Warnings());
  session::RegionChoice region;
  if (!ChooseRegion(options, scoreSession, &region, &error) || !scoreSession.Select(region, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  if (!apply) scoreSession.ReleaseScore();
  AnalysisSettings settings = profile.Settings();
  settings.search = search;
  if (!scoreSession.Scan(settings, options.layerMask)) {
    PrintError(err, options.score + ": the scan failed");
    return kExitBadInput;
  }
  Report report;
  report.apply = apply;
  report.score = FileName(options.score);
  report.profile = profile.Name();
  report.region = scoreSession.Region();
  report.layerMask = options.layerMask;
  if (!apply) {
    AddRows(scoreSession.Findings(), 1, false, &scoreSession, &report);
  } else if (!ApplyAndWrite(options, settings, &scoreSession, &report, err)) {
    return kExitBadInput;
  }
  ReportWriter::Write(report, options.format, out);
  return options.check && !report.rows.empty() ? kExitFindings : kExitDone;
}

bool RzaccApp::ChooseRegion(const RzaccOptions& options, const session::ScoreSession& scoreSession,
                            session::RegionChoice* region, std::string* error) {
  if (!CheckRange("--measures", options.measures, scoreSession.MeasureCount(), "measure", "measures", error) ||
      !CheckRange("--staves", options.staves, scoreSession.StaffCount(), "staff", "staves", error)) {
    return false;
  }
  *region = scoreSession.WholeScore();
  if (options.measures.given) {
    region->firstMeasure = options.measures.first;
    region->lastMeasure = options.measures.last;
  }
  if (options.staves.given) {
    region->firstStaff = options.staves.first;
    region->lastStaff = options.staves.last;
  }
  return true;
}

void RzaccApp::AddRows(const session::ScanRun& run, int round, bool checkedOnly, session::ScoreSession* scoreSession,
                       Report* report) {
  report->rows.reserve(report->rows.size() + static_cast<size_t>(run.FindingCount()));
  for (int32_t index = 0; index < run.FindingCount(); ++index) {
    const AccidentalFinding* finding = run.FindingAt(index);
    if (!finding || (checkedOnly && !run.IsChecked(index))) continue;
    ReportRow row = ReportRow::FromFinding(*finding, run.IsChecked(index), scoreSession->Imported());
    row.round = round;
    row.writtenNote = scoreSession->WrittenPitchName(finding->entryNumber, finding->noteIndex);
    report->rows.push_back(std::move(row));
  }
}

bool RzaccApp::ApplyAndWrite(const RzaccOptions& options, const AnalysisSettings& settings,
                             session::ScoreSession* scoreSession, Report* report, std::ostream& err) {
  session::AppliedRounds applied;
  auto addRows = [scoreSession, report](const session::ScanRun& run, int round, bool checkedOnly) {
    AddRows(run, round, checkedOnly, scoreSession, report);
  };
  if (!scoreSession->ApplyInRounds(settings, options.layerMask, options.all, options.once, addRows, &applied)) {
    PrintError(err, options.score + ": the scan failed");
    return false;
  }
  PrintWarnings(err, options.score, applied.warnings);
  report->rounds = applied.rounds;
  std::string error;
  report->output = options.output;
  musicxml::AccidentalStyle style;
  style.brackets = options.brackets;
  style.color = options.color;
  style.markAdded = true;
  std::string bytes;
  report->notesWritten = scoreSession->Write(style, options.output, &bytes, &error);
  if (report->notesWritten >= 0 && !musicxml::ScoreFile::Write(options.output, bytes, &error)) {
    report->notesWritten = -1;
  }
  PrintWarnings(err, options.score, scoreSession->ExportWarnings());
  if (report->notesWritten < 0) {
    PrintError(err, error);
    return false;
  }
  for (ReportRow& row : report->rows) {
    if (!row.applied || !scoreSession->IsUnwritten(row.entryNumber, row.noteIndex)) continue;
    row.applied = false;
    row.notWritten = true;
  }
  return true;
}

int RzaccApp::RunClean(const RzaccOptions& options, std::ostream& out, std::ostream& err) {
  std::string bytes;
  std::string cleaned;
  std::string error;
  if (!musicxml::ScoreFile::Read(options.score, &bytes, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  int removed = session::ScoreSession::Clean(std::move(bytes), options.score, options.output, &cleaned, &error);
  if (removed < 0 || !musicxml::ScoreFile::Write(options.output, cleaned, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  out << "Took out " << removed << " accidentals that rzacc apply added; wrote " << options.output << ".\n";
  return kExitDone;
}

}  // namespace rzacc
