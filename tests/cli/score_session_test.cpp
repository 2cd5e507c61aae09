#include "cli/score_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/cli/cli_test_support.h"

namespace {

using musicxml_test::ReadFile;
using musicxml_test::TempFolder;

class ScoreSessionTest : public headless::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ASSERT_FALSE(cli_test::ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  }
};

TEST_F(ScoreSessionTest, TheScoreIsWrittenOnceAndASecondWriteIsRefusedWithoutTouchingAFile) {
  TempFolder folder;
  rzacc::ScoreSession session;
  std::string error;
  ASSERT_TRUE(session.Open(cli_test::Example("key_change.musicxml"), &error)) << error;
  ASSERT_TRUE(session.Select(rzacc::NumberRange(), rzacc::NumberRange(), &error)) << error;
  musicxml::AccidentalStyle style;
  EXPECT_EQ(session.WriteChanges(folder.File("first.musicxml"), style, &error), 0) << error;
  EXPECT_EQ(ReadFile(folder.File("first.musicxml")), ReadFile(cli_test::Example("key_change.musicxml")))
      << "nothing was applied, so the file is written as it was read";
  EXPECT_EQ(session.WriteChanges(folder.File("second.musicxml"), style, &error), -1);
  EXPECT_NE(error.find("written already"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(folder.File("second.musicxml")));
}

}  // namespace
