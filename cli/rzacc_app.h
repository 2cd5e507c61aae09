// rzacc: the plug-in's scan and apply on a MusicXML score, through the
// headless host. Reports go to out; warnings and errors, one line each, to err.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"

namespace rzacc {

struct Report;
struct RzaccOptions;
class ScanRun;
class ScoreSession;

class RzaccApp {
 public:
  static constexpr int kExitDone = 0;
  static constexpr int kExitFindings = 1;  // with --check
  static constexpr int kExitBadInput = 2;
  // apply scans and applies again at most this many times in all.
  static constexpr int kMaxApplyRounds = 5;

  // The arguments after the program name; answers the exit status. The
  // search is not for users to choose: tests compare the two.
  static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 PitchSearch search = PitchSearch::Indexed);

  // Whether writing output would replace the score file itself.
  static bool IsSameFile(const std::string& score, const std::string& output);

 private:
  static int RunScore(const RzaccOptions& options, PitchSearch search, std::ostream& out, std::ostream& err);
  static int RunClean(const RzaccOptions& options, std::ostream& out, std::ostream& err);
  // Applies the scanned findings, scans again and applies what is new until
  // nothing more is found, then writes the output. False after an error.
  static bool ApplyInRounds(const RzaccOptions& options, const AnalysisSettings& settings, ScanRun* run,
                            ScoreSession* session, Report* report, std::ostream& err);
  // The findings of a scan as report rows of the round; checkedOnly leaves
  // out the rows that were not to be applied.
  static void AddRows(const ScanRun& run, int round, bool checkedOnly, ScoreSession* session, Report* report);
};

}  // namespace rzacc
