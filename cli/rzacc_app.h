// rzacc: the plug-in's scan and apply on a MusicXML score, through the
// headless host. Reports go to out; warnings and errors, one line each, to err.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rzacc {

struct RzaccOptions;

class RzaccApp {
 public:
  static constexpr int kExitDone = 0;
  static constexpr int kExitFindings = 1;  // with --check
  static constexpr int kExitBadInput = 2;

  // The arguments after the program name; answers the exit status.
  static int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

  // Whether writing output would replace the score file itself.
  static bool IsSameFile(const std::string& score, const std::string& output);

 private:
  static int RunScore(const RzaccOptions& options, std::ostream& out, std::ostream& err);
};

}  // namespace rzacc
