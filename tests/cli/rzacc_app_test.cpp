#include "cli/rzacc_app.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/presets.h"
#include "tests/cli/cli_test_support.h"

#ifdef RZ_HAVE_LIBZIP
#include "tests/musicxml/mxl_test_support.h"
#endif

namespace {

namespace fs = std::filesystem;
using cli_test::Example;
using cli_test::ExampleArguments;
using cli_test::Join;
using cli_test::RunRzacc;
using musicxml_test::ReadFile;
using musicxml_test::TempFolder;
using musicxml_test::WriteFile;

class RzaccAppTest : public headless::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ASSERT_FALSE(cli_test::ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  }

  static std::vector<std::string> ExampleStems() {
    std::vector<std::string> stems;
    for (const fs::directory_entry& entry : fs::directory_iterator(cli_test::ExamplesFolder())) {
      if (entry.path().extension() == ".musicxml") stems.push_back(entry.path().stem().string());
    }
    std::sort(stems.begin(), stems.end());
    return stems;
  }

  // The document as the XML printer writes it, without the accidentals an
  // apply added (they are the only cautionary ones in our examples).
  static std::string PrintedWithoutNewAccidentals(const std::string& path, int* removed) {
    tinyxml2::XMLDocument document;
    if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) return "unreadable: " + path;
    std::vector<tinyxml2::XMLElement*> stack{document.RootElement()};
    while (!stack.empty()) {
      tinyxml2::XMLElement* element = stack.back();
      stack.pop_back();
      for (tinyxml2::XMLElement* child = element->FirstChildElement(); child;) {
        tinyxml2::XMLElement* next = child->NextSiblingElement();
        const char* cautionary = child->Attribute("cautionary");
        if (std::string(child->Name()) == "accidental" && cautionary && std::string(cautionary) == "yes") {
          element->DeleteChild(child);
          ++*removed;
        } else {
          stack.push_back(child);
        }
        child = next;
      }
    }
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return printer.CStr();
  }

  static std::vector<std::string> LocationLines(const std::string& report) {
    std::vector<std::string> lines;
    size_t start = 0;
    while ((start = report.find("\n    Staff: ", start)) != std::string::npos) {
      size_t end = report.find('\n', start + 1);
      lines.push_back(report.substr(start + 5, end - start - 5));
      start = end;
    }
    return lines;
  }
};

TEST_F(RzaccAppTest, EveryExampleReportsWhatItsExpectedReportSays) {
  std::vector<std::string> stems = ExampleStems();
  for (const char* required : {"grace_note", "key_change", "piano_grand_staff", "pitch_diff_previous_measure",
                               "same_beat_layers", "tie_over_system_break", "transposing_clarinets",
                               "transposing_clarinets_concert", "changing_voices", "grace_after_key_change"}) {
    EXPECT_NE(std::find(stems.begin(), stems.end(), required), stems.end()) << required;
  }
  for (const std::string& stem : stems) {
    SCOPED_TRACE(stem);
    cli_test::RunResult result = RunRzacc(Join({"scan", Example(stem + ".musicxml")}, ExampleArguments(stem)));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, ReadFile(Example(stem + ".expected.txt")));
    EXPECT_NE(result.out.find("Findings: "), std::string::npos);
  }
}

TEST_F(RzaccAppTest, ApplyKeepsTheScoreAndLeavesNothingForASecondScan) {
  TempFolder folder;
  for (const std::string& stem : ExampleStems()) {
    SCOPED_TRACE(stem);
    std::vector<std::string> extra = ExampleArguments(stem);
    std::string output = folder.File(stem + ".musicxml");
    cli_test::RunResult scan = RunRzacc(Join({"scan", Example(stem + ".musicxml")}, extra));
    cli_test::RunResult apply = RunRzacc(Join({"apply", Example(stem + ".musicxml"), "-o", output}, extra));
    ASSERT_EQ(apply.status, 0) << apply.err;
    std::vector<std::string> found = LocationLines(scan.out);
    ASSERT_FALSE(found.empty());
    // The first round applies what the scan found; later rounds what applying made.
    std::vector<std::string> applied = LocationLines(apply.out);
    ASSERT_GE(applied.size(), found.size());
    EXPECT_EQ(std::vector<std::string>(applied.begin(), applied.begin() + static_cast<long>(found.size())), found);
    bool rounds = applied.size() > found.size();
    EXPECT_EQ(rounds, apply.out.find("\nRound 2, after applying round 1:\n") != std::string::npos) << apply.out;
    std::string summary = "Applied " + std::to_string(applied.size()) + " of " + std::to_string(applied.size()) +
                          " findings" + (rounds ? " in 2 rounds" : "") + "; wrote " + output + " with " +
                          std::to_string(applied.size()) + " new accidentals.";
    EXPECT_NE(apply.out.find(summary), std::string::npos) << apply.out;

    // Every element of the input is still there, with its attributes and text.
    int removed = 0;
    musicxml::MusicXmlDocument original;
    std::string error;
    ASSERT_TRUE(original.Load(Example(stem + ".musicxml"), &error)) << error;
    EXPECT_EQ(PrintedWithoutNewAccidentals(output, &removed), original.ToText());
    EXPECT_EQ(removed, static_cast<int>(applied.size()));

    cli_test::RunResult again = RunRzacc(Join({"scan", output, "--check"}, extra));
    EXPECT_EQ(again.status, 0) << again.out;
    for (const std::string& line : LocationLines(again.out)) {
      EXPECT_EQ(std::find(found.begin(), found.end(), line), found.end()) << line;
    }
  }
}

// Scores whose apply once went wrong, in tests/cli/apply_cases: each with
// the report apply prints (NAME.expected.txt, the output named OUT.musicxml)
// and the file it writes (NAME.expected.musicxml).
TEST_F(RzaccAppTest, EveryApplyCaseReportsAndWritesWhatItsExpectedFilesSay) {
  fs::path cases = fs::path(cli_test::ExamplesFolder()).parent_path() / "tests" / "cli" / "apply_cases";
  struct Case {
    std::string stem;
    int rescan;  // the status of scan --check on what apply wrote
  };
  for (const Case& item : {Case{"huge_alter", 1}, Case{"entity_accidental", 0}}) {
    SCOPED_TRACE(item.stem);
    TempFolder folder;
    std::string output = folder.File("OUT.musicxml");
    cli_test::RunResult apply = RunRzacc({"apply", (cases / (item.stem + ".musicxml")).string(), "-o", output});
    ASSERT_EQ(apply.status, 0) << apply.err;
    std::string report = apply.out;
    report.replace(report.find(output), output.size(), "OUT.musicxml");
    EXPECT_EQ(report, ReadFile((cases / (item.stem + ".expected.txt")).string()));
    EXPECT_EQ(ReadFile(output), ReadFile((cases / (item.stem + ".expected.musicxml")).string()));
    EXPECT_EQ(RunRzacc({"scan", output, "--check"}).status, item.rescan);
  }
}

TEST_F(RzaccAppTest, TheRegionAndLayerOptionsNarrowTheScan) {
  std::string piano = Example("piano_grand_staff.musicxml");
  cli_test::RunResult upperStaff = RunRzacc({"scan", piano, "--staves", "1-1"});
  EXPECT_NE(upperStaff.out.find("Region: measures 1-3, staves 1-1, layers 1234\nFindings: 0\n"), std::string::npos)
      << upperStaff.out;
  cli_test::RunResult secondMeasure = RunRzacc({"scan", piano, "--measures=2"});
  EXPECT_NE(secondMeasure.out.find("Findings: 1\n"), std::string::npos) << secondMeasure.out;
  EXPECT_NE(secondMeasure.out.find("| C3 | Pitch diff with C#5 (on grand staff). |"), std::string::npos);
  // Without the upper voice's layer the lower voice's F has nothing to differ from.
  std::string layers = Example("same_beat_layers.musicxml");
  EXPECT_NE(RunRzacc({"scan", layers, "--layers", "2"}).out.find("Findings: 0\n"), std::string::npos);
  EXPECT_NE(RunRzacc({"scan", layers, "--layers", "21"}).out.find("Findings: 1\n"), std::string::npos);

  cli_test::RunResult json = RunRzacc({"scan", Example("grace_note.musicxml"), "--format", "json"});
  EXPECT_NE(json.out.find("\"kind\": \"PreviousGraceAccidental\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"accidental\": \"(#) *\""), std::string::npos);
  cli_test::RunResult csv = RunRzacc({"scan", Example("key_change.musicxml"), "--format", "csv"});
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 3) << csv.out;
}

TEST_F(RzaccAppTest, CheckTurnsFindingsIntoExitStatusOne) {
  EXPECT_EQ(RunRzacc({"scan", Example("key_change.musicxml"), "--check"}).status, 1);
  EXPECT_EQ(RunRzacc({"scan", Example("key_change.musicxml")}).status, 0);
  EXPECT_EQ(RunRzacc({"scan", Example("tie_over_system_break.musicxml"), "--check"}).status, 0);
  TempFolder folder;
  EXPECT_EQ(RunRzacc({"apply", Example("key_change.musicxml"), "-o", folder.File("out.musicxml"), "--check"}).status,
            1);
  cli_test::RunResult help = RunRzacc({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage:"), std::string::npos);
  cli_test::RunResult version = RunRzacc({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("rzacc ", 0), 0u);
}

TEST_F(RzaccAppTest, BadInputGetsOneClearMessageAndStatusTwo) {
  TempFolder folder;
  std::string score = Example("grace_note.musicxml");
  WriteFile(folder.File("page.xml"), "<html><body>not music</body></html>");
  WriteFile(folder.File("broken.musicxml"), "<score-partwise>\n<part-list>\n<score-part id=P1>\n");
  WriteFile(folder.File("timewise.xml"), "<score-timewise version=\"4.0\"><part-list/></score-timewise>");
  WriteFile(folder.File("copy.musicxml"), ReadFile(score));
  struct Case {
    std::vector<std::string> arguments;
    std::string expected;
  };
  std::vector<Case> cases = {
      {{"scan", score, "--colour"}, "unknown option '--colour'"},
      {{"scan", folder.File("missing.musicxml")}, "cannot open " + folder.File("missing.musicxml")},
      {{"scan", folder.File("page.xml")}, "not a MusicXML score (its root element is <html>"},
      {{"scan", folder.File("broken.musicxml")}, folder.File("broken.musicxml") + ":3: not well-formed XML"},
      {{"scan", folder.File("timewise.xml")}, "score-timewise files are not supported"},
      {{"scan", score, "--profiles", Example("rzpluginstorage.xml"), "--profile", "Nobody's"},
       "there is no profile \"Nobody's\""},
      {{"scan", score, "--preset", "engraver"},
       "there is no preset \"engraver\" (the presets are \"Default Profile\", \"Engraver\""},
      {{"scan", score, "--profiles", folder.File("none.xml")}, "cannot open the profiles file"},
      {{"scan", score, "--measures", "2-3"}, "--measures 2-3: the score has 2 measures"},
      {{"scan", score, "--staves", "2"}, "--staves 2-2: the score has 1 staff"},
      {{"apply", folder.File("copy.musicxml"), "-o", folder.File("copy.musicxml")}, "that is the score itself"},
      {{"apply", folder.File("copy.musicxml"), "-o", folder.File("./copy.musicxml")}, "that is the score itself"},
      {{"apply", score, "-o", folder.File("out.mxl")}, "an uncompressed score is not written as .mxl"},
      {{"apply", score, "-o", folder.File("no/folder/out.musicxml")}, "cannot write"},
      {{"scan", folder.File("")}, "is a folder, not a score file"},
      {{"apply", folder.File("tail.musicxml"), "-o", folder.File("out.musicxml")},
       "the score's text cannot be matched to its XML elements"},
      {{"clean", score, "-o", folder.File("read_only.musicxml")}, "read_only.musicxml: it is read-only"},
      {{"apply", score, "-o", folder.File("read_only.musicxml")}, "read_only.musicxml: it is read-only"},
  };
  WriteFile(folder.File("read_only.musicxml"), "old");
  fs::permissions(folder.File("read_only.musicxml"), fs::perms::owner_read);
  WriteFile(folder.File("tail.musicxml"), ReadFile(score) + "x</y>\n");
  EXPECT_EQ(RunRzacc({"scan", folder.File("tail.musicxml")}).status, 0) << "reading it is fine";
  for (const Case& item : cases) {
    cli_test::RunResult result = RunRzacc(item.arguments);
    EXPECT_EQ(result.status, 2) << item.expected;
    EXPECT_EQ(result.err.rfind("rzacc: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(item.expected), std::string::npos) << "got: " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
  // The score given as output is never touched.
  EXPECT_EQ(ReadFile(folder.File("copy.musicxml")), ReadFile(score));
  EXPECT_EQ(ReadFile(folder.File("read_only.musicxml")), "old");
  EXPECT_FALSE(fs::exists(folder.File("out.mxl")));
  EXPECT_FALSE(fs::exists(folder.File("out.musicxml")));
}

TEST_F(RzaccAppTest, ProfileValuesTheEditorDoesNotOfferAreWarnedOfAndReadAsDefaults) {
  TempFolder folder;
  std::string profiles = ReadFile(Example("rzpluginstorage.xml"));
  size_t first = profiles.find("CourtesyMeasureRange=\"2\" SystemTieMode=\"0\"");
  ASSERT_NE(first, std::string::npos);
  profiles.replace(first, 43, "CourtesyMeasureRange=\"-5\" SystemTieMode=\"99\"");
  WriteFile(folder.File("hand_edited.xml"), profiles);
  cli_test::RunResult result =
      RunRzacc({"scan", Example("pitch_diff_previous_measure.musicxml"), "--profiles", folder.File("hand_edited.xml")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, ReadFile(Example("pitch_diff_previous_measure.expected.txt")))
      << "a negative span would have found nothing one measure back";
  const std::string warning = "rzacc: warning: " + folder.File("hand_edited.xml") + ": profile \"Default Profile\": ";
  EXPECT_EQ(result.err, warning + "CourtesyMeasureRange -5 is not one of 0 to 6; the default 2 is used\n" + warning +
                            "SystemTieMode 99 is not one of 0 to 7; the default 0 is used\n");

  WriteFile(folder.File("huge.xml"), profiles + std::string(16u << 20, ' '));
  result = RunRzacc({"scan", Example("pitch_diff_previous_measure.musicxml"), "--profiles", folder.File("huge.xml")});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("is larger than 16 MiB"), std::string::npos) << result.err;
  result = RunRzacc({"scan", Example("pitch_diff_previous_measure.musicxml"), "--profiles", folder.File("")});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("is a folder"), std::string::npos) << result.err;
}

TEST_F(RzaccAppTest, ImportWarningsGoToTheErrorStreamAndTheScanGoesOn) {
  TempFolder folder;
  std::string measure = musicxml_test::Attributes(1, 0, "<staves>1</staves>");
  for (int voice = 1; voice <= 5; ++voice) {
    if (voice > 1) measure += "<backup><duration>4</duration></backup>";
    measure += musicxml_test::PitchNote('F', voice == 5 ? 1 : 0, 4, 4, std::to_string(voice), "", "whole");
  }
  WriteFile(folder.File("voices.musicxml"), musicxml_test::Score({{"P1", "Harp", {measure}}}));
  cli_test::RunResult result = RunRzacc({"scan", folder.File("voices.musicxml")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "rzacc: warning: " + folder.File("voices.musicxml") +
                ": part Harp (P1), staff 1, measure 1: voice 5 is a fifth voice on the staff in this measure "
                "and is left out (the host has four layers)\n");
  EXPECT_NE(result.out.find("Findings: 0"), std::string::npos) << result.out;
}

#ifdef RZ_HAVE_LIBZIP

TEST_F(RzaccAppTest, ACompressedScoreIsWrittenBackCompressed) {
  TempFolder folder;
  std::string score = ReadFile(Example("key_change.musicxml"));
  std::string container =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<container><rootfiles>"
      "<rootfile full-path=\"key_change.musicxml\" media-type=\"application/vnd.recordare.musicxml+xml\"/>"
      "</rootfiles></container>\n";
  musicxml_test::WriteArchive(folder.File("in.mxl"),
                              {{"mimetype", "application/vnd.recordare.musicxml"},
                               {"META-INF/container.xml", container},
                               {"key_change.musicxml", score}},
                              {"mimetype"});
  cli_test::RunResult scan = RunRzacc({"scan", folder.File("in.mxl")});
  EXPECT_EQ(scan.status, 0) << scan.err;
  std::string expected = ReadFile(Example("key_change.expected.txt"));
  expected.replace(expected.find("key_change.musicxml"), 19, "in.mxl");
  EXPECT_EQ(scan.out, expected);

  cli_test::RunResult apply = RunRzacc({"apply", folder.File("in.mxl"), "-o", folder.File("out.mxl")});
  ASSERT_EQ(apply.status, 0) << apply.err;
  std::vector<musicxml_test::ArchiveEntry> entries = musicxml_test::ReadArchive(folder.File("out.mxl"));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "mimetype");
  EXPECT_TRUE(entries[0].stored);
  EXPECT_EQ(entries[1].content, container);
  EXPECT_EQ(entries[2].name, "key_change.musicxml");
  EXPECT_NE(entries[2].content, score);
  EXPECT_NE(
      entries[2].content.find("<accidental cautionary=\"yes\" parentheses=\"yes\" id=\"rzacc-1\">natural</accidental>"),
      std::string::npos);
  EXPECT_NE(RunRzacc({"scan", folder.File("out.mxl")}).out.find("Findings: 0\n"), std::string::npos);

  // A compressed score may also be written out plain.
  ASSERT_EQ(RunRzacc({"apply", folder.File("in.mxl"), "-o", folder.File("out.musicxml")}).status, 0);
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), entries[2].content);
  // The archive given as output is never touched.
  EXPECT_EQ(RunRzacc({"apply", folder.File("in.mxl"), "-o", folder.File("in.mxl")}).status, 2);
}

#endif

}  // namespace

namespace {

std::string PresetsFile() {
  return (fs::path(cli_test::ExamplesFolder()).parent_path() / "presets" / "rzpluginstorage.xml").string();
}

TEST_F(RzaccAppTest, PresetsAreListedAndScanAsTheShippedPresetsFileDoes) {
  // The file users copy is written from the presets table; after a change
  // of the table, copy the text that the failure leaves in the working folder.
  std::string shipped = ReadFile(PresetsFile());
  if (shipped != PresetsFileText()) WriteFile("rzpluginstorage.presets.xml", PresetsFileText());
  EXPECT_EQ(shipped, PresetsFileText()) << "presets/rzpluginstorage.xml is not what the presets table writes";

  cli_test::RunResult listed = RunRzacc({"presets"});
  EXPECT_EQ(listed.status, 0);
  std::string expected;
  for (size_t index = 0; index < kPresetCount; ++index) {
    expected += std::string(kPresets[index].name) + ": " + kPresets[index].purpose + "\n";
  }
  EXPECT_EQ(listed.out, expected);
  EXPECT_EQ(kPresetCount, 4u);
  ASSERT_NE(FindPreset("Default Profile"), nullptr);
  EXPECT_EQ(FindPreset("Default Profile")->engravingRules, kDefaultEngravingRules);

  std::string score = Example("piano_grand_staff.musicxml");
  for (size_t index = 0; index < kPresetCount; ++index) {
    const char* name = kPresets[index].name;
    cli_test::RunResult preset = RunRzacc({"scan", score, "--preset", name});
    cli_test::RunResult profile = RunRzacc({"scan", score, "--profiles", PresetsFile(), "--profile", name});
    EXPECT_EQ(preset.status, 0) << name << ": " << preset.err;
    EXPECT_EQ(preset.out, profile.out) << name;
  }
  EXPECT_EQ(RunRzacc({"scan", score, "--preset", "Default Profile"}).out, RunRzacc({"scan", score}).out);
}

}  // namespace
