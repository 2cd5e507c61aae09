#include "cli/rzacc_app.h"

#include <filesystem>
#include <system_error>

#include "analysis/accidental_finding.h"
#include "cli/profile_choice.h"
#include "cli/report_writer.h"
#include "cli/rzacc_options.h"
#include "cli/scan_run.h"
#include "cli/score_session.h"

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

int RzaccApp::Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
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
  return RunScore(options, out, err);
}

int RzaccApp::RunScore(const RzaccOptions& options, std::ostream& out, std::ostream& err) {
  std::string error;
  bool apply = options.command == Command::Apply;
  if (apply && IsSameFile(options.score, options.output)) {
    PrintError(err, options.output + ": that is the score itself; rzacc never writes over its input");
    return kExitBadInput;
  }
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
  ScanRun run;
  if (!run.Scan(profile.Settings(), options.layerMask)) {
    PrintError(err, options.score + ": the scan failed");
    return kExitBadInput;
  }
  Report report;
  report.apply = apply;
  report.score = FileName(options.score);
  report.profile = profile.Name();
  report.region = session.Region();
  report.layerMask = options.layerMask;
  if (apply) {
    run.ApplyChecked(options.all);
    report.output = options.output;
    report.notesWritten = session.WriteChanges(options.output, &error);
    PrintWarnings(err, options.score, session.ExportWarnings());
    if (report.notesWritten < 0) {
      PrintError(err, error);
      return kExitBadInput;
    }
  }
  for (int32_t index = 0; index < run.FindingCount(); ++index) {
    const AccidentalFinding* finding = run.FindingAt(index);
    if (finding) report.rows.push_back(ReportRow::FromFinding(*finding, run.IsChecked(index), session.Imported()));
  }
  ReportWriter::Write(report, options.format, out);
  return options.check && !report.rows.empty() ? kExitFindings : kExitDone;
}

}  // namespace rzacc
