#include "session/score_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/accidental_finding.h"
#include "session/profile_choice.h"
#include "tests/headless/host_fixture.h"
#include "tests/musicxml/musicxml_test_support.h"

#ifdef RZ_HAVE_LIBZIP
#include "tests/musicxml/mxl_test_support.h"
#endif

namespace {

using musicxml_test::ReadFile;
using musicxml_test::TempFolder;
using session::ScoreSession;

std::string Example(const std::string& name) {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  return source ? ReadFile(std::string(source) + "/examples/" + name) : std::string();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class ScoreSessionTest : public headless::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ASSERT_FALSE(Example("key_change.musicxml").empty()) << "RZ_SOURCE_DIR is not set";
  }

  // Opens the bytes, scans the whole score with a new profile's settings
  // and applies every finding.
  void OpenAndApplyAll(const std::string& bytes, const std::string& name, ScoreSession* score) {
    std::string error;
    ASSERT_TRUE(score->Open(bytes, name, &error)) << error;
    ASSERT_TRUE(score->Select(score->WholeScore(), &error)) << error;
    ASSERT_TRUE(score->Scan(session::ProfileChoice().Settings(), 0xF));
    ASSERT_GT(score->Findings().FindingCount(), 0);
    ASSERT_TRUE(score->ApplyAll());
  }

  // The score with every finding applied, as the bytes of a file called outputName.
  std::string AppliedBytes(const std::string& bytes, const std::string& name, const std::string& outputName) {
    ScoreSession score;
    OpenAndApplyAll(bytes, name, &score);
    std::string written;
    std::string error;
    EXPECT_GT(score.Write(musicxml::AccidentalStyle(), outputName, &written, &error), 0) << error;
    return written;
  }
};

TEST_F(ScoreSessionTest, TheScoreIsWrittenOnceAndASecondWriteIsRefused) {
  ScoreSession score;
  std::string error;
  ASSERT_TRUE(score.Open(Example("key_change.musicxml"), "key_change.musicxml", &error)) << error;
  ASSERT_TRUE(score.Select(score.WholeScore(), &error)) << error;
  std::string bytes;
  EXPECT_EQ(score.Write(musicxml::AccidentalStyle(), "first.musicxml", &bytes, &error), 0) << error;
  EXPECT_EQ(bytes, Example("key_change.musicxml")) << "nothing was applied, so the score is written as it was read";
  EXPECT_EQ(score.Write(musicxml::AccidentalStyle(), "second.musicxml", &bytes, &error), -1);
  EXPECT_NE(error.find("second.musicxml: the score was written already"), std::string::npos) << error;
}

// The written pitch of every host note, the score released first or not.
std::vector<std::string> WrittenPitches(bool releaseFirst, ScoreSession* score) {
  std::string error;
  EXPECT_TRUE(score->Open(Example("transposing_clarinets.musicxml"), "clarinets.musicxml", &error)) << error;
  EXPECT_TRUE(score->Select(score->WholeScore(), &error)) << error;
  if (releaseFirst) score->ReleaseScore();
  std::vector<std::string> names;
  for (const headless::TaggedNote& note : headless::HeadlessHost::Instance().Queries().NotesWithTags()) {
    names.push_back(score->WrittenPitchName(note.entryNumber, note.noteIndex));
  }
  return names;
}

TEST_F(ScoreSessionTest, AScanWithoutItsXmlStillNamesWrittenPitchesButCannotWrite) {
  std::vector<std::string> kept;
  {
    ScoreSession score;
    kept = WrittenPitches(false, &score);
  }
  ScoreSession score;
  std::vector<std::string> released = WrittenPitches(true, &score);
  EXPECT_EQ(released, kept);
  EXPECT_NE(std::count(released.begin(), released.end(), std::string()), static_cast<long>(released.size()))
      << "the clarinets' notes have written pitches";
  std::string bytes;
  std::string error;
  EXPECT_EQ(score.Write(musicxml::AccidentalStyle(), "out.musicxml", &bytes, &error), -1);
  EXPECT_NE(error.find("scan only"), std::string::npos) << error;
}

TEST_F(ScoreSessionTest, AScanLeavesNoAnalysisSettingsActive) {
  AnalysisSettings settings;
  settings.courtesyMeasureRange = 0;
  settings.systemTieMode = 3;
  settings.checkOptions = kCrossStaveChecks;
  ScoreSession score;
  std::string error;
  ASSERT_TRUE(score.Open(Example("key_change.musicxml"), "key_change.musicxml", &error)) << error;
  ASSERT_TRUE(score.Select(score.WholeScore(), &error)) << error;
  ASSERT_TRUE(score.Scan(settings, 0xF));
  EXPECT_EQ(score.Findings().FindingCount(), 0) << "without key signature restating, the key change is not reported";
  const AnalysisSettings& active = GetActiveAnalysisSettings();
  EXPECT_EQ(active.checkOptions, kDefaultCheckOptions);
  EXPECT_EQ(active.courtesyMeasureRange, kDefaultCourtesyMeasureRange);
  EXPECT_EQ(active.systemTieMode, kDefaultSystemTieMode);
}

TEST_F(ScoreSessionTest, AnEncodedScoreIsWrittenInItsOwnEncoding) {
  std::string utf8 = Replaced(Example("key_change.musicxml"), "<part-name>Oboe", "<part-name>Oboe \xC3\xA0");
  std::string applied = AppliedBytes(utf8, "oboe.musicxml", "out.musicxml");
  std::string wide = Replaced(utf8, "encoding=\"UTF-8\"", "encoding=\"UTF-16\"");
  EXPECT_EQ(AppliedBytes(musicxml_test::Utf16(wide, false), "wide.musicxml", "out.musicxml"),
            musicxml_test::Utf16(Replaced(applied, "encoding=\"UTF-8\"", "encoding=\"UTF-16\""), false));
  std::string western = Replaced(utf8, "encoding=\"UTF-8\"", "encoding=\"windows-1252\"");
  EXPECT_EQ(AppliedBytes(Replaced(western, "\xC3\xA0", "\xE0"), "western.musicxml", "out.musicxml"),
            Replaced(Replaced(applied, "encoding=\"UTF-8\"", "encoding=\"windows-1252\""), "\xC3\xA0", "\xE0"));
}

TEST_F(ScoreSessionTest, CleanTakesOutOfTheBytesWhatApplyAdded) {
  std::string original = Example("key_change.musicxml");
  ScoreSession score;
  OpenAndApplyAll(original, "key_change.musicxml", &score);
  musicxml::AccidentalStyle style;
  style.markAdded = true;
  std::string applied;
  std::string error;
  ASSERT_EQ(score.Write(style, "applied.musicxml", &applied, &error), 2) << error;
  std::string cleaned;
  EXPECT_EQ(ScoreSession::Clean(applied, "applied.musicxml", "clean.musicxml", &cleaned, &error), 2) << error;
  EXPECT_EQ(cleaned, original);
}

TEST_F(ScoreSessionTest, ABrokenScoreGivesAMessageNamingIt) {
  ScoreSession score;
  std::string error;
  EXPECT_FALSE(score.Open(Example("key_change.musicxml").substr(0, 900), "cut.musicxml", &error));
  EXPECT_EQ(error.rfind("cut.musicxml:", 0), 0u) << error;
  EXPECT_FALSE(score.Open(std::string("PK\x03\x04\x14\0\0\0", 8), "cut.mxl", &error));
  EXPECT_EQ(error.rfind("cut.mxl: ", 0), 0u) << error;
}

TEST(ProfileChoiceTest, AProfileIsChosenFromTheTextOfAProfilesFile) {
  std::string text =
      "<RZPluginSettings><RZAccidentals><SettingsProfiles><SettingsProfile Name=\"Loose\" "
      "CourtesyMeasureRange=\"9\"/></SettingsProfiles></RZAccidentals></RZPluginSettings>";
  session::ProfileChoice choice;
  std::string error;
  ASSERT_TRUE(choice.ChooseFromText(text, "storage.xml", "Loose", &error)) << error;
  EXPECT_EQ(choice.Name(), "Loose");
  ASSERT_EQ(choice.Warnings().size(), 1u);
  EXPECT_FALSE(choice.ChooseFromText(text, "storage.xml", "Strict", &error));
  EXPECT_EQ(error, "there is no profile \"Strict\" in storage.xml (it holds \"Loose\")");
}

#ifdef RZ_HAVE_LIBZIP

TEST_F(ScoreSessionTest, AnArchiveGivenAsBytesIsWrittenBackAsAnArchive) {
  TempFolder folder;
  std::string container =
      "<container><rootfiles><rootfile full-path=\"music/score.musicxml\"/></rootfiles></container>";
  musicxml_test::WriteArchive(folder.File("in.mxl"),
                              {{"mimetype", "application/vnd.recordare.musicxml"},
                               {"META-INF/container.xml", container},
                               {"music/score.musicxml", Example("key_change.musicxml")}},
                              {"mimetype"});
  std::string plain = AppliedBytes(Example("key_change.musicxml"), "in.musicxml", "out.musicxml");
  musicxml_test::WriteFile(folder.File("out.mxl"), AppliedBytes(ReadFile(folder.File("in.mxl")), "in.mxl", "out.mxl"));
  std::vector<musicxml_test::ArchiveEntry> entries = musicxml_test::ReadArchive(folder.File("out.mxl"));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "mimetype");
  EXPECT_TRUE(entries[0].stored);
  EXPECT_EQ(entries[2].content, plain);
}

#endif

}  // namespace
