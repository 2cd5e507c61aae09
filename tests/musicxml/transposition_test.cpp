#include "musicxml/transposition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/pitch_spelling.h"
#include "tests/musicxml/musicxml_test_support.h"

namespace {

using headless::EntryInfo;
using musicxml_test::Attributes;
using musicxml_test::Imported;
using musicxml_test::PitchNote;
using musicxml_test::Score;

const std::string kClarinetInBFlat = "<transpose><diatonic>-1</diatonic><chromatic>-2</chromatic></transpose>";
const std::string kClarinetInA = "<transpose><diatonic>-2</diatonic><chromatic>-3</chromatic></transpose>";

class TranspositionTest : public headless::HostFixture {
 protected:
  // Whether the host note is the spelled pitch under the key of its cell.
  static ::testing::AssertionResult Sounds(Imported& imported, size_t staff, int16_t measure, int index,
                                           const char* pitch) {
    EntryInfo entry;
    if (!imported.Entry(staff, measure, 1, index, &entry) || entry.notes.empty()) {
      return ::testing::AssertionFailure() << "no entry";
    }
    headless::NoteSpec spec;
    headless::ParseNoteText(pitch, &spec);
    headless::NotePlacement placement;
    headless::PlaceNote(spec, imported.builder.KeyValueAt(imported.Staff(staff), measure), 0, &placement);
    const headless::NoteInfo& note = entry.notes[0];
    if (note.displacement == placement.displacement && note.raiseLower == placement.raiseLower) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "displacement " << note.displacement << " raise/lower " << note.raiseLower
                                         << ", " << pitch << " would be " << placement.displacement << " and "
                                         << placement.raiseLower;
  }

  static std::string WrittenName(Imported& imported, size_t staff, int16_t measure, int index) {
    EntryInfo entry;
    if (!imported.Entry(staff, measure, 1, index, &entry) || entry.notes.empty()) return "no entry";
    const musicxml::WrittenPitch* written = imported.score.WrittenPitchOf(entry.notes[0].sourceTag);
    return written ? written->Name() : "-";
  }
};

TEST_F(TranspositionTest, WrittenPitchesAndKeysOfTransposingPartsBecomeConcertOnes) {
  // Concert C major: the clarinet in B-flat reads D major, the one in A reads E-flat major.
  std::string flute = Attributes(1, 0) + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string inBFlat = Attributes(1, 2, kClarinetInBFlat) + PitchNote('D', 0, 5, 2, "1", "", "half") +
                        PitchNote('F', 0, 5, 2, "1", "<accidental>natural</accidental>", "half");
  std::string inA = Attributes(1, -3, kClarinetInA) + PitchNote('E', -1, 5, 2, "1", "", "half") +
                    PitchNote('C', 1, 5, 2, "1", "<accidental>sharp</accidental>", "half");
  Imported imported;
  ASSERT_TRUE(imported.Import(
      Score({{"P1", "Flute", {flute}}, {"P2", "Clarinet in Bb", {inBFlat}}, {"P3", "Clarinet in A", {inA}}})));
  uint16_t cMajor = headless::MakeKeyValue(0, false);
  for (size_t staff = 0; staff < 3; ++staff) EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(staff), 1), cMajor);
  EXPECT_TRUE(Sounds(imported, 1, 1, 0, "C5"));
  EXPECT_TRUE(Sounds(imported, 1, 1, 1, "Eb5"));
  EXPECT_TRUE(Sounds(imported, 2, 1, 0, "C5"));
  EXPECT_TRUE(Sounds(imported, 2, 1, 1, "A#4"));
  EXPECT_EQ(WrittenName(imported, 0, 1, 0), "-");
  EXPECT_EQ(WrittenName(imported, 1, 1, 0), "D5");
  EXPECT_EQ(WrittenName(imported, 1, 1, 1), "F5");
  EXPECT_EQ(WrittenName(imported, 2, 1, 1), "C#5");
  EXPECT_TRUE(imported.score.warnings.empty());
}

TEST_F(TranspositionTest, ATranspositionHoldsPerStaffAndUntilTheNextOne) {
  // Staff 2 of the part sounds an octave lower (octave-change), staff 1 as written.
  // From measure 2 the whole part is a clarinet in A, with its key; from
  // measure 3 a horn in F doubled an octave down (the doubling adds no note).
  std::string first =
      "<attributes><divisions>1</divisions><key><fifths>2</fifths></key><staves>2</staves>"
      "<transpose number=\"2\"><diatonic>0</diatonic><chromatic>0</chromatic>"
      "<octave-change>-1</octave-change></transpose></attributes>" +
      PitchNote('F', 1, 5, 4, "1", "<staff>1</staff>", "whole") + "<backup><duration>4</duration></backup>" +
      PitchNote('F', 1, 5, 4, "2", "<staff>2</staff>", "whole");
  std::string second = "<attributes><key><fifths>-3</fifths></key>" + kClarinetInA + "</attributes>" +
                       PitchNote('C', 0, 5, 4, "1", "<staff>1</staff>", "whole") +
                       "<backup><duration>4</duration></backup>" +
                       PitchNote('C', 0, 5, 4, "2", "<staff>2</staff>", "whole");
  std::string third =
      "<attributes><key><fifths>1</fifths></key><transpose><diatonic>-4</diatonic>"
      "<chromatic>-7</chromatic><double/></transpose></attributes>" +
      PitchNote('G', 0, 4, 4, "1", "<staff>1</staff>", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Clarinets", {first, second, third}}})));
  EXPECT_TRUE(Sounds(imported, 0, 1, 0, "F#5"));
  EXPECT_TRUE(Sounds(imported, 1, 1, 0, "F#4"));
  EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(0), 1), headless::MakeKeyValue(2, false));
  EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(0), 2), headless::MakeKeyValue(0, false));
  EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(1), 2), headless::MakeKeyValue(0, false));
  EXPECT_TRUE(Sounds(imported, 0, 2, 0, "A4"));
  EXPECT_TRUE(Sounds(imported, 1, 2, 0, "A4"));
  EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(0), 3), headless::MakeKeyValue(0, false));
  EXPECT_TRUE(Sounds(imported, 0, 3, 0, "C4"));
  EXPECT_EQ(imported.Host().Queries().EntryCount(imported.Staff(0), 3, 1), 1);
  EXPECT_EQ(WrittenName(imported, 0, 3, 0), "G4");
}

TEST_F(TranspositionTest, AConcertScoreIsReadAsItStands) {
  std::string inBFlat = Attributes(1, 0, kClarinetInBFlat) + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string text = Score({{"P1", "Clarinet in Bb", {inBFlat}}});
  text.replace(text.find("<part-list>"), 0, "<defaults><concert-score/></defaults>");
  Imported imported;
  ASSERT_TRUE(imported.Import(text));
  EXPECT_EQ(imported.builder.KeyValueAt(imported.Staff(0), 1), headless::MakeKeyValue(0, false));
  EXPECT_TRUE(Sounds(imported, 0, 1, 0, "C5"));
  EXPECT_EQ(WrittenName(imported, 0, 1, 0), "-");
}

TEST_F(TranspositionTest, UnreadableTranspositionsAndUnspellablePitchesAreWarnedOf) {
  std::string measure =
      "<attributes><divisions>1</divisions><transpose><diatonic>x</diatonic>"
      "<chromatic>-2</chromatic></transpose><transpose number=\"3\"><chromatic>1</chromatic>"
      "</transpose></attributes>" +
      PitchNote('C', 0, 5, 4, "1", "", "whole");
  // An augmented unison up would make a written B-triple-sharp a quadruple sharp.
  std::string sharper =
      "<attributes><transpose><diatonic>0</diatonic><chromatic>1</chromatic></transpose>"
      "</attributes>" +
      PitchNote('B', 3, 4, 4, "1", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Horn", {measure, sharper}}})));
  EXPECT_TRUE(Sounds(imported, 0, 1, 0, "C5"));
  EXPECT_EQ(imported.Host().Queries().EntryCount(imported.Staff(0), 2, 1), 0);
  std::vector<std::string> expected{
      "part Horn (P1), measure 1: the <diatonic> \"x\" of a <transpose> cannot be read; the staff keeps the "
      "transposition it had",
      "part Horn (P1), measure 1: a <transpose> for staff 3, which the part does not have, is left out",
      "part Horn (P1), measure 2: the written note B altered by 3 in octave 4 has no sounding pitch the host can "
      "spell and is left out"};
  EXPECT_EQ(imported.score.warnings, expected);
}

TEST(TranspositionValuesTest, KeysMoveAlongTheLineOfFifths) {
  musicxml::Transposition inBFlat{-1, -2, 0, false};
  musicxml::Transposition inF{-4, -7, 0, false};
  bool enharmonic = false;
  EXPECT_EQ(inBFlat.ToConcert(musicxml::KeyState{2, false}, &enharmonic).fifths, 0);
  EXPECT_EQ(inF.ToConcert(musicxml::KeyState{-2, true}, &enharmonic).fifths, -3);
  EXPECT_FALSE(enharmonic);
  // C-flat major on a B-flat clarinet would sound in nine flats: A major instead.
  musicxml::KeyState concert = inBFlat.ToConcert(musicxml::KeyState{-7, false}, &enharmonic);
  EXPECT_EQ(concert.fifths, 3);
  EXPECT_TRUE(enharmonic);
  headless::NoteSpec low;
  headless::ParseNoteText("C0", &low);
  EXPECT_FALSE(inBFlat.ToConcert(&low));
  EXPECT_EQ(low.letter, 'C');
}

}  // namespace
