// The scenarios of tests/scenarios: each a small score, NAME.musicxml, and
// the report rzacc scan prints for it, NAME.expected.txt. NAME.args holds
// extra arguments, one a line; names of files beside the cases become their
// paths. A variant NAME.VARIANT scans NAME.musicxml with its own arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "tests/cli/cli_test_support.h"

namespace {

namespace fs = std::filesystem;
using musicxml_test::ReadFile;

const std::string kExpected = ".expected.txt";

class ScenarioTest : public headless::HostFixture {};

std::string ScoreOf(const std::string& name) { return name.substr(0, name.find('.')); }

std::vector<std::string> Arguments(const fs::path& folder, const std::string& name) {
  std::vector<std::string> arguments{"scan", (folder / (ScoreOf(name) + ".musicxml")).string()};
  std::error_code error;
  fs::path file = folder / (name + ".args");
  std::istringstream lines(fs::exists(file, error) ? ReadFile(file.string()) : "");
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) arguments.push_back(fs::exists(folder / line, error) ? (folder / line).string() : line);
  }
  return arguments;
}

TEST_F(ScenarioTest, EveryScenarioReportsWhatItsExpectedReportSays) {
  ASSERT_FALSE(cli_test::ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  fs::path folder = fs::path(cli_test::ExamplesFolder()).parent_path() / "tests" / "scenarios";
  std::set<std::string> names, scores, reported;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::string file = entry.path().filename().string();
    size_t end = file.size() - std::min(file.size(), kExpected.size());
    if (file.compare(end, std::string::npos, kExpected) == 0) names.insert(file.substr(0, end));
    if (entry.path().extension() == ".musicxml") scores.insert(entry.path().stem().string());
  }
  EXPECT_GE(names.size(), 30u);
  for (const std::string& name : names) {
    cli_test::RunResult result = cli_test::RunRzacc(Arguments(folder, name));
    EXPECT_EQ(result.status, 0) << name;
    EXPECT_EQ(result.err, "") << name;
    EXPECT_EQ(result.out, ReadFile((folder / (name + kExpected)).string())) << "scenario " << name;
    reported.insert(ScoreOf(name));
  }
  EXPECT_EQ(reported, scores) << "every score has its expected report";
}

}  // namespace
