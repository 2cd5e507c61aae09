#include "cli/score_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

// The written pitch of every host note, the score released first or not.
std::vector<std::string> WrittenPitches(bool releaseFirst, rzacc::ScoreSession* session) {
  std::string error;
  EXPECT_TRUE(session->Open(cli_test::Example("transposing_clarinets.musicxml"), &error)) << error;
  EXPECT_TRUE(session->Select(rzacc::NumberRange(), rzacc::NumberRange(), &error)) << error;
  if (releaseFirst) session->ReleaseScore();
  std::vector<std::string> names;
  for (const headless::TaggedNote& note : headless::HeadlessHost::Instance().Queries().NotesWithTags()) {
    names.push_back(session->WrittenPitchName(note.entryNumber, note.noteIndex));
  }
  return names;
}

TEST_F(ScoreSessionTest, AScanWithoutItsXmlStillNamesWrittenPitchesButCannotWrite) {
  std::vector<std::string> kept;
  {
    rzacc::ScoreSession session;
    kept = WrittenPitches(false, &session);
  }
  TempFolder folder;
  rzacc::ScoreSession session;
  std::vector<std::string> released = WrittenPitches(true, &session);
  EXPECT_EQ(released, kept);
  EXPECT_NE(std::count(released.begin(), released.end(), std::string()), static_cast<long>(released.size()))
      << "the clarinets' notes have written pitches";
  std::string error;
  EXPECT_EQ(session.WriteChanges(folder.File("out.musicxml"), musicxml::AccidentalStyle(), &error), -1);
  EXPECT_NE(error.find("scan only"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.musicxml")));
}

}  // namespace
