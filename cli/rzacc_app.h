// rzacc: the plug-in's scan and apply on a MusicXML score, through the
// headless host. Reports go to out; warnings and errors, one line each, to err.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "session/score_session.h"

namespace rzacc {

struct Report;
struct RzaccOptions;

class RzaccApp {
 public:
  static constexpr int kExitDone = 0;
  static constexpr int kExitFindings = 1;  // with --check
  static constexpr int kExitBadInput = 2;
  // apply scans and applies again at most this many times in all.
  static constexpr int kMaxApplyRounds = session::ScoreSession::kMaxApplyRounds;

  // The arguments after the program name; answers the exit status. The
  // search is not for users to choose: tests compare the two.
  static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 PitchSearch search = PitchSearch::Indexed);

  // Whether writing output would replace the score file itself.
  static bool IsSameFile(const std::string& score, const std::string& output);

  // The findings of a scan as report rows of the round; checkedOnly leaves
  // out the rows that were not to be applied.
  static void AddRows(const session::ScanRun& run, int round, bool checkedOnly, session::ScoreSession* scoreSession,
                      Report* report);

 private:
  static int RunScore(const RzaccOptions& options, PitchSearch search, std::ostream& out, std::ostream& err);
  static int RunClean(const RzaccOptions& options, std::ostream& out, std::ostream& err);
  // The region the options name, checked against the score; false with a
  // message naming the option.
  static bool ChooseRegion(const RzaccOptions& options, const session::ScoreSession& scoreSession,
                           session::RegionChoice* region, std::string* error);
  // Applies the scanned findings in rounds, then writes the output. False
  // after an error.
  static bool ApplyAndWrite(const RzaccOptions& options, const AnalysisSettings& settings,
                            session::ScoreSession* scoreSession, Report* report, std::ostream& err);
};

}  // namespace rzacc
