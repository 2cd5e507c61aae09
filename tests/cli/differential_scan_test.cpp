// The whole path of rzacc (reading the file, the host's document, the
// analysis) reports the same with the indexed searches as with the walks
// through whole groups, on our examples and on generated MusicXML scores.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "tests/cli/cli_test_support.h"
#include "tests/cli/generated_musicxml.h"

namespace {

namespace fs = std::filesystem;
using cli_test::RunResult;
using cli_test::RunRzacc;

class DifferentialScanTest : public headless::HostFixture {
 protected:
  // The report of a scan with the walks and the report with the index.
  static void ExpectSameReports(const std::vector<std::string>& arguments, size_t leastLines) {
    RunResult walked = RunRzacc(arguments, PitchSearch::WholeGroup);
    RunResult indexed = RunRzacc(arguments, PitchSearch::Indexed);
    EXPECT_EQ(walked.status, indexed.status);
    EXPECT_EQ(walked.err, indexed.err);
    EXPECT_GE(static_cast<size_t>(std::count(walked.out.begin(), walked.out.end(), '\n')), leastLines);
    EXPECT_EQ(walked.out, indexed.out);
  }
};

TEST_F(DifferentialScanTest, EveryExampleReportsTheSameWithAndWithoutTheIndex) {
  ASSERT_FALSE(cli_test::ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  int examples = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(cli_test::ExamplesFolder())) {
    if (entry.path().extension() != ".musicxml") continue;
    SCOPED_TRACE(entry.path().string());
    ++examples;
    std::string stem = entry.path().stem().string();
    std::vector<std::string> arguments{"scan", entry.path().string()};
    if (fs::exists(cli_test::Example(stem + ".args"))) {
      arguments = cli_test::Join(arguments, cli_test::ExampleArguments(stem));
    }
    ExpectSameReports(arguments, 1);
  }
  EXPECT_GE(examples, 6);
}

TEST_F(DifferentialScanTest, GeneratedScoresReportTheSameWithAndWithoutTheIndex) {
  musicxml_test::TempFolder folder;
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    MusicXmlScoreShape shape;
    shape.parts = 3 + static_cast<int>(seed);
    shape.measures = 40;
    shape.notesPerMeasure = seed == 2 ? 4 : 8;
    shape.grandStaves = seed != 3;
    shape.seed = seed;
    int64_t notes = 0;
    std::string path = folder.File("generated" + std::to_string(seed) + ".musicxml");
    musicxml_test::WriteFile(path, MusicXmlScoreText(shape, &notes));
    ASSERT_GT(notes, 1000);
    ExpectSameReports({"scan", path}, 200);
    ExpectSameReports({"scan", path, "--profiles", cli_test::Example("rzpluginstorage.xml"), "--profile",
                       "Parentheses everywhere", "--format", "csv"},
                      200);
  }
}

}  // namespace
