// rzacc on scores as published programs write them: transposing
// instruments, UTF-16 files, courtesies that make further courtesies
// necessary, and taking out again what apply added.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_test_support.h"

namespace {

using cli_test::Example;
using cli_test::ExampleArguments;
using cli_test::Join;
using cli_test::RunRzacc;
using musicxml_test::ReadFile;
using musicxml_test::TempFolder;
using musicxml_test::WriteFile;

class ScoreFidelityTest : public headless::HostFixture {
 protected:
  // The report without the lines that name the file or its written pitches.
  static std::string Findings(const std::string& report) {
    std::istringstream lines(report);
    std::string line;
    std::string kept;
    while (std::getline(lines, line)) {
      if (line.compare(0, 7, "Score: ") == 0 || line.compare(0, 13, "    Written: ") == 0) continue;
      kept += line + "\n";
    }
    return kept;
  }

  static std::vector<std::string> ExampleStems() {
    return {"grace_note",
            "key_change",
            "piano_grand_staff",
            "pitch_diff_previous_measure",
            "same_beat_layers",
            "tie_over_system_break",
            "transposing_clarinets",
            "transposing_clarinets_concert",
            "changing_voices",
            "grace_after_key_change"};
  }
};

TEST_F(ScoreFidelityTest, TransposedAndConcertScoresOfOnePieceGiveTheSameFindings) {
  std::string transposed = Example("transposing_clarinets.musicxml");
  std::string concert = Example("transposing_clarinets_concert.musicxml");
  cli_test::RunResult written = RunRzacc({"scan", transposed});
  cli_test::RunResult sounding = RunRzacc({"scan", concert});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.err, "");
  EXPECT_EQ(Findings(written.out), Findings(sounding.out));
  EXPECT_NE(written.out.find("Findings: 2\n"), std::string::npos) << written.out;
  // The host's pitch is reported, and the written one where the staff transposes.
  EXPECT_NE(written.out.find("| Bb4 | Pitch diff with B4. | b *\n"), std::string::npos) << written.out;
  EXPECT_NE(written.out.find("    Written: C5\n"), std::string::npos) << written.out;
  EXPECT_EQ(sounding.out.find("Written: "), std::string::npos) << sounding.out;
  cli_test::RunResult json = RunRzacc({"scan", transposed, "--format", "json"});
  EXPECT_NE(json.out.find("\"note\": \"Bb4\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"writtenNote\": \"C5\""), std::string::npos) << json.out;
  EXPECT_EQ(json.out.find("\"writtenNote\"", json.out.find("\"writtenNote\"") + 1), std::string::npos);

  // The written C5 that sounds B-flat gets the natural the clarinettist reads.
  TempFolder folder;
  ASSERT_EQ(RunRzacc({"apply", transposed, "-o", folder.File("out.musicxml")}).status, 0);
  std::string out = ReadFile(folder.File("out.musicxml"));
  size_t natural = out.find("<accidental cautionary=\"yes\" id=\"rzacc-");
  ASSERT_NE(natural, std::string::npos) << out;
  EXPECT_EQ(out.compare(out.find('>', natural) + 1, 7, "natural"), 0) << out.substr(natural, 80);
  EXPECT_EQ(RunRzacc({"scan", folder.File("out.musicxml"), "--check"}).status, 0);
}

TEST_F(ScoreFidelityTest, ApplyRepeatsUntilNothingIsLeftAndOnceStopsAfterOneRound) {
  TempFolder folder;
  std::string grace = Example("grace_after_key_change.musicxml");
  cli_test::RunResult once = RunRzacc({"apply", grace, "-o", folder.File("once.musicxml"), "--once"});
  ASSERT_EQ(once.status, 0) << once.err;
  EXPECT_NE(once.out.find("Applied 2 of 2 findings; wrote"), std::string::npos) << once.out;
  cli_test::RunResult left = RunRzacc({"scan", folder.File("once.musicxml"), "--check"});
  EXPECT_EQ(left.status, 1);
  EXPECT_NE(left.out.find("| F5 | Accidental on previous grace note. | (n) *"), std::string::npos) << left.out;

  cli_test::RunResult rounds = RunRzacc({"apply", grace, "-o", folder.File("rounds.musicxml"), "--format", "json"});
  ASSERT_EQ(rounds.status, 0) << rounds.err;
  EXPECT_NE(rounds.out.find("\"kind\": \"PreviousGraceAccidental\""), std::string::npos) << rounds.out;
  EXPECT_NE(rounds.out.find("\"applied\": true, \"round\": 2}"), std::string::npos) << rounds.out;
  EXPECT_NE(rounds.out.find("\"rounds\": 2"), std::string::npos) << rounds.out;
  EXPECT_EQ(RunRzacc({"scan", folder.File("rounds.musicxml"), "--check"}).status, 0);
}

TEST_F(ScoreFidelityTest, CleanAfterApplyGivesBackTheInputByteForByte) {
  TempFolder folder;
  for (const std::string& stem : ExampleStems()) {
    SCOPED_TRACE(stem);
    std::vector<std::string> extra = ExampleArguments(stem);
    std::string applied = folder.File(stem + ".applied.musicxml");
    std::string cleaned = folder.File(stem + ".clean.musicxml");
    cli_test::RunResult apply = RunRzacc(
        Join({"apply", Example(stem + ".musicxml"), "-o", applied, "--brackets", "--color", "#D00000"}, extra));
    ASSERT_EQ(apply.status, 0) << apply.err;
    std::string output = ReadFile(applied);
    EXPECT_NE(output.find("id=\"rzacc-1\""), std::string::npos);
    EXPECT_NE(output.find("color=\"#D00000\""), std::string::npos);
    EXPECT_EQ(output.find("parentheses=\"yes\" id=\"rzacc"), std::string::npos);
    cli_test::RunResult clean = RunRzacc({"clean", applied, "-o", cleaned});
    ASSERT_EQ(clean.status, 0) << clean.err;
    EXPECT_NE(clean.out.find("Took out "), std::string::npos);
    EXPECT_EQ(ReadFile(cleaned), ReadFile(Example(stem + ".musicxml")));
  }
  // A profile that puts courtesies in parentheses gets brackets instead.
  std::string grace = Example("grace_note.musicxml");
  ASSERT_EQ(RunRzacc({"apply", grace, "-o", folder.File("b.musicxml"), "--brackets"}).status, 0);
  EXPECT_NE(ReadFile(folder.File("b.musicxml")).find("<accidental cautionary=\"yes\" bracket=\"yes\" id=\"rzacc-1\">"),
            std::string::npos);
  EXPECT_EQ(RunRzacc({"clean", grace, "-o", grace}).status, 2);
}

TEST_F(ScoreFidelityTest, Utf16ScoresAreScannedAppliedAndCleanedInTheirOwnEncoding) {
  TempFolder folder;
  std::string text = ReadFile(Example("grace_after_key_change.musicxml"));
  text.replace(text.find("UTF-8"), 5, "UTF-16");
  std::string expected = ReadFile(Example("grace_after_key_change.expected.txt"));
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
    std::string input = folder.File("wide.musicxml");
    WriteFile(input, musicxml_test::Utf16(text, bigEndian));
    cli_test::RunResult scan = RunRzacc({"scan", input});
    EXPECT_EQ(scan.err, "");
    std::string renamed = expected;
    renamed.replace(renamed.find("grace_after_key_change.musicxml"), 31, "wide.musicxml");
    EXPECT_EQ(scan.out, renamed);
    ASSERT_EQ(RunRzacc({"apply", input, "-o", folder.File("applied.musicxml")}).status, 0);
    std::string applied = ReadFile(folder.File("applied.musicxml"));
    EXPECT_EQ(applied.compare(0, 2, bigEndian ? "\xFE\xFF" : "\xFF\xFE"), 0);
    EXPECT_EQ(RunRzacc({"scan", folder.File("applied.musicxml"), "--check"}).status, 0);
    ASSERT_EQ(RunRzacc({"clean", folder.File("applied.musicxml"), "-o", folder.File("clean.musicxml")}).status, 0);
    EXPECT_EQ(ReadFile(folder.File("clean.musicxml")), ReadFile(input));
  }
}

}  // namespace
