#include "tests/fuzz/score_file_fuzzer.h"

#include <sstream>
#include <string>
#include <vector>

#include "cli/rzacc_app.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz {

namespace {

int RunRzacc(const std::vector<std::string>& arguments, std::string* err) {
  std::ostringstream out;
  std::ostringstream errors;
  int status = rzacc::RzaccApp::Run(arguments, out, errors);
  *err = errors.str();
  return status;
}

}  // namespace

void RunScoreFile(const uint8_t* data, size_t size, const char* extension) {
  ScratchFolder& folder = ScratchFolder::Instance();
  folder.Clear();
  std::string score = folder.File((std::string("in") + extension).c_str());
  std::string written = folder.File((std::string("out") + extension).c_str());
  WriteBytes(score, data, size);

  std::string err;
  int scan = RunRzacc({"scan", score, "--format", "json"}, &err);
  Check(scan == 0 || scan == 2, "scan answers 0 or 2");
  CheckHostIsClean(headless::HeadlessHost::Instance());

  int apply = RunRzacc({"apply", score, "-o", written, "--all"}, &err);
  Check(apply == 0 || apply == 2, "apply answers 0 or 2");
  Check(apply != 0 || scan == 0, "a score that applies also scans");
  CheckHostIsClean(headless::HeadlessHost::Instance());
  Check(apply == 0 || !Exists(written), "a failed apply writes nothing: " + err);
  Check(ReadBytes(score) == std::string(reinterpret_cast<const char*>(data), size), "the input is never touched");
  if (apply != 0) return;

  int again = RunRzacc({"scan", written}, &err);
  Check(again == 0, "every written score scans again: " + err);
  CheckHostIsClean(headless::HeadlessHost::Instance());

  std::string cleaned = folder.File((std::string("clean") + extension).c_str());
  Check(RunRzacc({"clean", written, "-o", cleaned}, &err) == 0, "every written score can be cleaned: " + err);
  Check(RunRzacc({"scan", cleaned}, &err) == 0, "every cleaned score scans again: " + err);
}

}  // namespace fuzz
