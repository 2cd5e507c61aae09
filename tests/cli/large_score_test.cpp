// A score of about five megabytes, as a long orchestral file would be, must
// scan in seconds. The time is printed; the limit only catches a scan that
// grows out of bounds (the sanitizer build runs several times slower).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <string>

#include "tests/cli/cli_test_support.h"

namespace {

using musicxml_test::TempFolder;

// A deterministic score: parts of eighth notes with alterations, some with
// accidentals shown, a key change every 16 measures and a second voice.
std::string LargeScore(int parts, int measures) {
  const char steps[] = "CDEFGAB";
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"4.0\">\n  <part-list>\n";
  for (int part = 1; part <= parts; ++part) {
    text += "    <score-part id=\"P" + std::to_string(part) + "\">\n      <part-name>Part " + std::to_string(part) +
            "</part-name>\n    </score-part>\n";
  }
  text += "  </part-list>\n";
  for (int part = 1; part <= parts; ++part) {
    text += "  <part id=\"P" + std::to_string(part) + "\">\n";
    for (int measure = 1; measure <= measures; ++measure) {
      text += "    <measure number=\"" + std::to_string(measure) + "\">\n";
      if (measure % 16 == 1) {
        text += "      <attributes>\n" + std::string(measure == 1 ? "        <divisions>2</divisions>\n" : "") +
                "        <key>\n          <fifths>" + std::to_string(static_cast<int>(next(5)) - 2) +
                "</fifths>\n        </key>\n      </attributes>\n";
      }
      for (int voice = 1; voice <= 2; ++voice) {
        if (voice == 2) text += "      <backup>\n        <duration>8</duration>\n      </backup>\n";
        for (int note = 0; note < (voice == 1 ? 8 : 2); ++note) {
          int alter = static_cast<int>(next(5)) - 2;
          alter = alter == 2 ? 0 : alter == -2 ? 0 : alter;
          text += "      <note>\n        <pitch>\n          <step>" + std::string(1, steps[next(7)]) + "</step>\n";
          if (alter != 0) text += "          <alter>" + std::to_string(alter) + "</alter>\n";
          text += "          <octave>" + std::to_string(3 + next(3)) + "</octave>\n        </pitch>\n";
          text += std::string("        <duration>") + (voice == 1 ? "1" : "4") + "</duration>\n";
          text += "        <voice>" + std::to_string(voice) + "</voice>\n";
          text += std::string("        <type>") + (voice == 1 ? "eighth" : "half") + "</type>\n";
          if (alter != 0 && next(2) == 0)
            text += std::string("        <accidental>") + (alter > 0 ? "sharp" : "flat") + "</accidental>\n";
          text += "      </note>\n";
        }
      }
      text += "    </measure>\n";
    }
    text += "  </part>\n";
  }
  return text + "</score-partwise>\n";
}

class LargeScoreTest : public headless::HostFixture {};

TEST_F(LargeScoreTest, FiveMegabytesScanInSeconds) {
  TempFolder folder;
  std::string score = LargeScore(12, 200);
  ASSERT_GT(score.size(), 5u << 20);
  musicxml_test::WriteFile(folder.File("large.musicxml"), score);
  auto start = std::chrono::steady_clock::now();
  cli_test::RunResult result = cli_test::RunRzacc({"scan", folder.File("large.musicxml"), "--format", "csv"});
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "[ scan of " << score.size() / 1024 << " KB ] " << seconds << " s" << std::endl;
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_GT(std::count(result.out.begin(), result.out.end(), '\n'), 100);
  EXPECT_LT(seconds, 300.0);
}

// One staff of `measures` whole-measure rests, except F#4 then F4 in the last
// two measures, which calls for a courtesy natural on the very last one.
std::string LongScore(int measures) {
  std::string text =
      "<score-partwise version=\"4.0\"><part-list><score-part id=\"P1\"><part-name>Oboe</part-name>"
      "</score-part></part-list><part id=\"P1\">\n";
  for (int measure = 1; measure <= measures; ++measure) {
    text += "<measure number=\"" + std::to_string(measure) + "\">";
    if (measure == 1)
      text += "<attributes><divisions>1</divisions><time><beats>4</beats><beat-type>4</beat-type></time></attributes>";
    if (measure == measures - 1) {
      text +=
          "<note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>4</duration>"
          "<type>whole</type><accidental>sharp</accidental></note>";
    } else if (measure == measures) {
      text += "<note><pitch><step>F</step><octave>4</octave></pitch><duration>4</duration><type>whole</type></note>";
    } else {
      text += "<note><rest measure=\"yes\"/><duration>4</duration></note>";
    }
    text += "</measure>\n";
  }
  return text + "</part></score-partwise>\n";
}

TEST_F(LargeScoreTest, TheMostMeasuresTheHostCountsScanToTheLastOne) {
  TempFolder folder;
  musicxml_test::WriteFile(folder.File("longest.musicxml"), LongScore(32767));
  cli_test::RunResult result = cli_test::RunRzacc({"scan", folder.File("longest.musicxml")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Region: measures 1-32767,"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Findings: 1\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Measure: 32767,"), std::string::npos) << result.out;

  musicxml_test::WriteFile(folder.File("too_long.musicxml"), LongScore(32768));
  result = cli_test::RunRzacc({"scan", folder.File("too_long.musicxml")});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("the score has 32768 measures; at most 32767 can be read"), std::string::npos)
      << result.err;
}

TEST_F(LargeScoreTest, AMeasureOfMoreEntriesThanAFrameHoldsIsAnalysedUpToTheLimitWithAWarning) {
  // F#4 in measure 1, then F4 and 32,769 quarter rests in measure 2: the
  // courtesy natural is still found, and the three entries past 32,767 are
  // named as left out.
  std::string text =
      "<score-partwise version=\"4.0\"><part-list><score-part id=\"P1\"><part-name>Oboe</part-name>"
      "</score-part></part-list><part id=\"P1\"><measure number=\"1\"><attributes><divisions>1</divisions>"
      "</attributes><note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>4</duration>"
      "<type>whole</type><accidental>sharp</accidental></note></measure>\n<measure number=\"2\">"
      "<note><pitch><step>F</step><octave>4</octave></pitch><duration>1</duration><type>quarter</type></note>\n";
  for (int rest = 0; rest < 32769; ++rest) text += "<note><rest/><duration>1</duration></note>\n";
  text += "</measure></part></score-partwise>\n";
  TempFolder folder;
  musicxml_test::WriteFile(folder.File("crowded.musicxml"), text);
  cli_test::RunResult result = cli_test::RunRzacc({"scan", folder.File("crowded.musicxml")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Findings: 1\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.err, "rzacc: warning: " + folder.File("crowded.musicxml") +
                            ": part Oboe (P1), staff 1, measure 2: 3 entries of layer 1 beyond the 32767 that one "
                            "measure of a layer can hold are left out, notes and all\n");
}

}  // namespace
