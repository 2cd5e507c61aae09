#include "cli/rzacc_app.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "analysis/accidental_finding.h"
#include "cli/profile_choice.h"
#include "cli/report_writer.h"
#include "cli/rzacc_options.h"
#include "cli/scan_run.h"
#include "cli/score_session.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_exporter.h"

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
  if (!profile.Choose(options.profilesFile, options.profileName, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  PrintWarnings(err, options.profilesFile, profile.Warnings());
  ScoreSession session;
  if (!session.Open(options.score, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  PrintWarnings(err, options.score, session.Warnings());
  if (!session.Select(options.measures, options.staves, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  if (!apply) session.ReleaseScore();
  ScanRun run;
  AnalysisSettings settings = profile.Settings();
  settings.search = search;
  if (!run.Scan(settings, options.layerMask)) {
    PrintError(err, options.score + ": the scan failed");
    return kExitBadInput;
  }
  Report report;
  report.apply = apply;
  report.score = FileName(options.score);
  report.profile = profile.Name();
  report.region = session.Region();
  report.layerMask = options.layerMask;
  if (!apply) {
    AddRows(run, 1, false, &session, &report);
  } else if (!ApplyInRounds(options, settings, &run, &session, &report, err)) {
    return kExitBadInput;
  }
  ReportWriter::Write(report, options.format, out);
  return options.check && !report.rows.empty() ? kExitFindings : kExitDone;
}

void RzaccApp::AddRows(const ScanRun& run, int round, bool checkedOnly, ScoreSession* session, Report* report) {
  report->rows.reserve(report->rows.size() + static_cast<size_t>(run.FindingCount()));
  for (int32_t index = 0; index < run.FindingCount(); ++index) {
    const AccidentalFinding* finding = run.FindingAt(index);
    if (!finding || (checkedOnly && !run.IsChecked(index))) continue;
    ReportRow row = ReportRow::FromFinding(*finding, run.IsChecked(index), session->Imported());
    row.round = round;
    row.writtenNote = session->WrittenPitchName(finding->entryNumber, finding->noteIndex);
    report->rows.push_back(std::move(row));
  }
}

bool RzaccApp::ApplyInRounds(const RzaccOptions& options, const AnalysisSettings& settings, ScanRun* run,
                             ScoreSession* session, Report* report, std::ostream& err) {
  // An applied accidental can make another note need one (a courtesy on a
  // grace note asks for one on the note after it), so apply scans again
  // until a scan finds nothing more to apply. A later round reports only
  // what it applies; its unchecked findings are those of the first round.
  report->rounds = 1;
  bool changed = run->ApplyChecked(options.all);
  AddRows(*run, 1, false, session, report);
  // A round that changed nothing cannot have made anything new to find.
  for (int round = 2; round <= kMaxApplyRounds + 1 && changed && !options.once; ++round) {
    if (!run->Scan(settings, options.layerMask)) {
      PrintError(err, options.score + ": the scan failed");
      return false;
    }
    int32_t pending = run->PendingCount(options.all);
    if (pending == 0) break;
    if (round > kMaxApplyRounds) {
      PrintWarnings(err, options.score,
                    {"after " + std::to_string(kMaxApplyRounds) + " rounds of apply a scan still finds " +
                     std::to_string(pending) + " findings to apply; they are not applied"});
      break;
    }
    changed = run->ApplyChecked(options.all);
    AddRows(*run, round, !options.all, session, report);
    report->rounds = round;
  }
  std::string error;
  report->output = options.output;
  musicxml::AccidentalStyle style;
  style.brackets = options.brackets;
  style.color = options.color;
  style.markAdded = true;
  report->notesWritten = session->WriteChanges(options.output, style, &error);
  PrintWarnings(err, options.score, session->ExportWarnings());
  if (report->notesWritten < 0) {
    PrintError(err, error);
    return false;
  }
  for (ReportRow& row : report->rows) {
    if (!row.applied || !session->IsUnwritten(row.entryNumber, row.noteIndex)) continue;
    row.applied = false;
    row.notWritten = true;
  }
  return true;
}

int RzaccApp::RunClean(const RzaccOptions& options, std::ostream& out, std::ostream& err) {
  musicxml::MusicXmlDocument document;
  std::string error;
  if (!document.Load(options.score, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  int removed = musicxml::MusicXmlExporter::RemoveMarkedAccidentals(&document);
  if (removed < 0) {
    PrintError(err, options.score + ": an accidental that apply added cannot be found in the file's text");
    return kExitBadInput;
  }
  if (!document.Save(options.output, &error)) {
    PrintError(err, error);
    return kExitBadInput;
  }
  out << "Took out " << removed << " accidentals that rzacc apply added; wrote " << options.output << ".\n";
  return kExitDone;
}

}  // namespace rzacc
