// Runs rzacc in the test program, on our example scores and on scores the
// tests write.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/rzacc_app.h"
#include "tests/headless/host_fixture.h"
#include "tests/musicxml/musicxml_test_support.h"

namespace cli_test {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline RunResult RunRzacc(const std::vector<std::string>& arguments, PitchSearch search = PitchSearch::Indexed) {
  std::ostringstream out;
  std::ostringstream err;
  RunResult result;
  result.status = rzacc::RzaccApp::Run(arguments, out, err, search);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// The examples folder of the source tree, from RZ_SOURCE_DIR (CTest sets it).
inline std::string ExamplesFolder() {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  return source ? (std::filesystem::path(source) / "examples").string() : std::string();
}

inline std::string Example(const std::string& name) {
  return (std::filesystem::path(ExamplesFolder()) / name).string();
}

// The extra arguments an example's report is made with (NAME.args, one per
// line); names of files in the examples folder become their full paths.
inline std::vector<std::string> ExampleArguments(const std::string& stem) {
  std::vector<std::string> arguments;
  std::istringstream lines(musicxml_test::ReadFile(Example(stem + ".args")));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    if (std::filesystem::exists(Example(line))) line = Example(line);
    arguments.push_back(line);
  }
  return arguments;
}

inline std::vector<std::string> Join(std::vector<std::string> first, const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace cli_test
