#include "musicxml/musicxml_importer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "headless/document.h"
#include "headless/pitch_spelling.h"
#include "headless/record_layouts.h"
#include "tests/musicxml/musicxml_test_support.h"

namespace {

using headless::EntryInfo;
using musicxml_test::Attributes;
using musicxml_test::Imported;
using musicxml_test::PitchNote;
using musicxml_test::Rest;
using musicxml_test::Score;

class MusicXmlImporterTest : public headless::HostFixture {
 protected:
  static const headless::DocumentContent& Content() { return Host().CurrentDocumentData()->content; }

  static std::string StaffName(int16_t staff) {
    const headless::RecordBytes* record = Content().records.Find(headless::RecordKey{headless::kStaffTag, staff, 0, 0});
    if (!record) return "<no staff>";
    return Content().TextOfBlock(headless::StaffRecord::NameTextBlock::Get(*record), Host().HostVersion());
  }

  static std::vector<int16_t> SystemFirstMeasures() {
    std::vector<int16_t> firsts;
    const headless::RecordStore* store = Content().StoreFor(headless::kStaffSystemTag, 0);
    for (const headless::RecordKey& key : store->KeysOf(headless::kStaffSystemTag)) {
      firsts.push_back(headless::StaffSystemRecord::FirstMeasure::Get(*store->Find(key)));
    }
    return firsts;
  }

  static bool HasWarningWith(const musicxml::ImportedScore& score, const std::vector<std::string>& pieces) {
    for (const std::string& warning : score.warnings) {
      bool all = true;
      for (const std::string& piece : pieces) all = all && warning.find(piece) != std::string::npos;
      if (all) return true;
    }
    return false;
  }
};

TEST_F(MusicXmlImporterTest, PartsBecomeStavesInstrumentsAndNamedGroups) {
  std::string oneNote = Attributes(1) + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string piano = "<attributes><divisions>1</divisions><staves>2</staves></attributes>" +
                      PitchNote('C', 0, 5, 4, "1", "<staff>1</staff>", "whole") +
                      "<backup><duration>4</duration></backup>" +
                      PitchNote('C', 0, 3, 4, "5", "<staff>2</staff>", "whole");
  std::string partList =
      "<part-group type=\"start\" number=\"1\"><group-name>Woodwinds</group-name>"
      "<group-symbol>bracket</group-symbol></part-group>";
  std::string text = Score({{"P1", "Flute", {oneNote}}, {"P2", "Oboe", {oneNote}}, {"P3", "Piano", {piano}}}, "", {});
  // The group spans the two wind parts: it closes before the piano.
  text.replace(text.find("<score-part id=\"P1\""), 0, partList);
  text.replace(text.find("<score-part id=\"P3\""), 0, "<part-group type=\"stop\" number=\"1\"/>");
  Imported imported;
  ASSERT_TRUE(imported.Import(text));

  ASSERT_EQ(imported.score.staves.size(), 4u);
  std::vector<int16_t> staves;
  for (const musicxml::ImportedStaff& staff : imported.score.staves) staves.push_back(staff.staffNumber);
  EXPECT_EQ(Host().SlotOrder(0), staves);
  EXPECT_EQ(StaffName(staves[0]), "Flute");
  EXPECT_EQ(StaffName(staves[1]), "Oboe");
  // The piano's staves are named by their instrument's group.
  EXPECT_EQ(StaffName(staves[2]), "");
  EXPECT_EQ(StaffName(staves[3]), "");
  EXPECT_EQ(imported.score.staves[3].staffInPart, 2);
  EXPECT_EQ(imported.score.staves[3].partId, "P3");

  const headless::RecordStore& records = Content().records;
  std::vector<headless::RecordKey> instruments = records.KeysOf(headless::kInstrumentTag);
  ASSERT_EQ(instruments.size(), 1u);
  const headless::RecordBytes& instrument = *records.Find(instruments[0]);
  EXPECT_EQ(headless::InstrumentRecord::FirstStaff::Get(instrument), staves[2]);
  EXPECT_EQ(headless::InstrumentRecord::SecondStaff::Get(instrument), staves[3]);
  EXPECT_EQ(headless::InstrumentRecord::ThirdStaff::Get(instrument), 0);

  std::vector<std::string> groups;
  for (const headless::RecordKey& key : records.KeysOf(headless::kGroupTag)) {
    const headless::RecordBytes& group = *records.Find(key);
    std::string name = Content().TextOfBlock(headless::GroupRecord::NameTextBlock::Get(group), Host().HostVersion());
    groups.push_back(name + " " + std::to_string(headless::GroupRecord::FirstStaff::Get(group)) + "-" +
                     std::to_string(headless::GroupRecord::LastStaff::Get(group)));
  }
  std::sort(groups.begin(), groups.end());
  std::vector<std::string> expected{"Piano " + std::to_string(staves[2]) + "-" + std::to_string(staves[3]),
                                    "Woodwinds " + std::to_string(staves[0]) + "-" + std::to_string(staves[1])};
  EXPECT_EQ(groups, expected);
}

TEST_F(MusicXmlImporterTest, MeasuresAreCountedInFileOrderAndKeepTheirNumbersAndLengths) {
  std::string pickup =
      "<attributes><divisions>2</divisions><time><beats>3</beats><beat-type>4</beat-type></time>"
      "</attributes>" +
      PitchNote('G', 0, 4, 2);
  std::string full = PitchNote('C', 0, 5, 6, "1", "", "half");
  std::string composite =
      "<attributes><time><beats>3+2</beats><beat-type>8</beat-type></time></attributes>" + PitchNote('D', 0, 5, 5);
  std::string text =
      Score({{"P1", "Flute", {pickup, full, composite, PitchNote('E', 0, 5, 5)}}}, "", {"0", "1", "X1", "2"});
  text.replace(text.find("<measure number=\"0\""), 8, "<measure implicit=\"yes\"");
  Imported imported;
  ASSERT_TRUE(imported.Import(text));
  EXPECT_EQ(imported.builder.MeasureCount(), 4);
  EXPECT_EQ(imported.score.measureNumbers, (std::vector<std::string>{"0", "1", "X1", "2"}));
  EXPECT_EQ(imported.score.FileMeasureNumber(3), "X1");
  EXPECT_EQ(imported.score.FileMeasureNumber(5), "");
  // The pickup is as long as its quarter note; 3/4 and 5/8 from their signatures.
  EXPECT_EQ(imported.builder.MeasureLength(1), 1024);
  EXPECT_EQ(imported.builder.MeasureLength(2), 3072);
  EXPECT_EQ(imported.builder.MeasureLength(3), 2560);
  EXPECT_EQ(imported.builder.MeasureLength(4), 2560);
  EntryInfo entry;
  ASSERT_TRUE(imported.Entry(0, 3, 1, 0, &entry));
  EXPECT_EQ(entry.measure, 3);
}

TEST_F(MusicXmlImporterTest, KeysBecomeMeasureKeysAndTransposedPartsGetCellKeys) {
  // Concert C major, then D major from measure 3; the B-flat clarinet reads D major, then E major.
  auto measures = [](int first, int second) {
    std::string keyChange = "<attributes><key><fifths>" + std::to_string(second) + "</fifths></key></attributes>";
    return std::vector<std::string>{Attributes(1, first) + PitchNote('F', 0, 4, 4, "1", "", "whole"),
                                    PitchNote('F', 0, 4, 4, "1", "", "whole"),
                                    keyChange + PitchNote('F', 1, 4, 4, "1", "", "whole")};
  };
  std::string minorKey =
      "<attributes><divisions>1</divisions><key><fifths>-1</fifths><mode>minor</mode></key></attributes>" +
      PitchNote('B', -1, 4, 4, "1", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(
      Score({{"P1", "Flute", measures(0, 2)},
             {"P2", "Clarinet", measures(2, 4)},
             {"P3",
              "Horn",
              {minorKey, PitchNote('C', 0, 5, 4, "1", "", "whole"), PitchNote('C', 0, 5, 4, "1", "", "whole")}}})));
  int16_t flute = imported.Staff(0);
  int16_t clarinet = imported.Staff(1);
  int16_t horn = imported.Staff(2);
  EXPECT_EQ(imported.builder.KeyValueAt(flute, 1), headless::MakeKeyValue(0, false));
  EXPECT_EQ(imported.builder.KeyValueAt(flute, 2), headless::MakeKeyValue(0, false));
  EXPECT_EQ(imported.builder.KeyValueAt(flute, 3), headless::MakeKeyValue(2, false));
  EXPECT_EQ(imported.builder.KeyValueAt(clarinet, 1), headless::MakeKeyValue(2, false));
  EXPECT_EQ(imported.builder.KeyValueAt(clarinet, 3), headless::MakeKeyValue(4, false));
  EXPECT_EQ(imported.builder.KeyValueAt(horn, 1), headless::MakeKeyValue(-1, true));
  // The horn's key stays in force after the flute's change.
  EXPECT_EQ(imported.builder.KeyValueAt(horn, 3), headless::MakeKeyValue(-1, true));

  // Pitches are placed against the key in force: F4 in the clarinet's D major is F natural.
  EntryInfo entry;
  ASSERT_TRUE(imported.Entry(1, 1, 1, 0, &entry));
  ASSERT_EQ(entry.notes.size(), 1u);
  EXPECT_EQ(entry.notes[0].raiseLower, -1);
  ASSERT_TRUE(imported.Entry(0, 3, 1, 0, &entry));
  EXPECT_EQ(entry.notes[0].raiseLower, 0);  // F#4 in D major
  ASSERT_TRUE(imported.Entry(2, 1, 1, 0, &entry));
  EXPECT_EQ(entry.notes[0].raiseLower, 0);  // Bb4 in D minor
}

TEST_F(MusicXmlImporterTest, VoicesBecomeLayersPerMeasureInOrderOfFirstAppearanceUpToFour) {
  std::string measure = Attributes(1);
  const char* voices[] = {"7", "3", "1", "2", "9"};
  for (int index = 0; index < 5; ++index) {
    if (index > 0) measure += "<backup><duration>4</duration></backup>";
    measure += PitchNote(static_cast<char>('C' + index), 0, 5, 4, voices[index], "", "whole");
  }
  std::string second = PitchNote('E', 0, 5, 4, "3", "", "whole") + "<backup><duration>4</duration></backup>" +
                       PitchNote('A', 0, 4, 4, "9", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Violin", {measure, second}}})));
  EntryInfo entry;
  const char expectedLetters[] = {'C', 'D', 'E', 'F'};
  for (int layer = 1; layer <= 4; ++layer) {
    ASSERT_EQ(Host().Queries().EntryCount(imported.Staff(0), 1, layer), 1) << "layer " << layer;
    ASSERT_TRUE(imported.Entry(0, 1, layer, 0, &entry));
    tinyxml2::XMLElement* note = imported.score.NoteElement(entry.notes[0].sourceTag);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(std::string(note->FirstChildElement("pitch")->FirstChildElement("step")->GetText()),
              std::string(1, expectedLetters[layer - 1]));
  }
  // The fifth voice of measure 1 is left out there, with one warning. In the
  // next measure voice 3 keeps its layer and voice 9 takes the first free one.
  ASSERT_TRUE(imported.Entry(0, 2, 2, 0, &entry));
  EXPECT_EQ(imported.score.NoteElement(entry.notes[0].sourceTag)
                ->FirstChildElement("pitch")
                ->FirstChildElement("step")
                ->GetText(),
            std::string("E"));
  ASSERT_TRUE(imported.Entry(0, 2, 1, 0, &entry));
  EXPECT_EQ(imported.score.NoteElement(entry.notes[0].sourceTag)
                ->FirstChildElement("pitch")
                ->FirstChildElement("step")
                ->GetText(),
            std::string("A"));
  EXPECT_EQ(Host().Queries().EntryCount(imported.Staff(0), 2, 3) + Host().Queries().EntryCount(imported.Staff(0), 2, 4),
            0);
  EXPECT_TRUE(HasWarningWith(imported.score, {"Violin (P1), staff 1, measure 1", "voice 9", "fifth voice"}));
  EXPECT_EQ(std::count_if(imported.score.warnings.begin(), imported.score.warnings.end(),
                          [](const std::string& warning) { return warning.find("voice 9") != std::string::npos; }),
            1);
}

TEST_F(MusicXmlImporterTest, FifthVoiceWarningNamesTheStaffOfAMultiStaffPart) {
  std::string measure = "<attributes><divisions>1</divisions><staves>2</staves></attributes>";
  for (int voice = 1; voice <= 5; ++voice) {
    if (voice > 1) measure += "<backup><duration>4</duration></backup>";
    measure += PitchNote('C', 0, 3, 4, std::to_string(voice), "<staff>2</staff>", "whole");
  }
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Piano", {measure}}}, "", {"12"})));
  EXPECT_TRUE(HasWarningWith(imported.score, {"Piano (P1), staff 2, measure 12", "voice 5"}));
  EXPECT_EQ(Host().Queries().EntryCount(imported.Staff(1), 1, 4), 1);
  EXPECT_EQ(Host().Queries().EntryCount(imported.Staff(0), 1, 1), 0);
}

TEST_F(MusicXmlImporterTest, SixVoicesOverAPieceLoseNoNoteAndOnlyAFifthVoiceInOneMeasureIsLeftOut) {
  // Two voices per measure, numbered 1 and 2, then 3 and 4, then 5 and 6;
  // measure 4 holds five voices at once, measure 5 four again, and measure 6
  // four with notes after a fifth that holds only a rest, which yields.
  auto voices = [](const std::vector<int>& numbers) {
    std::string measure;
    for (size_t index = 0; index < numbers.size(); ++index) {
      if (index > 0) measure += "<backup><duration>4</duration></backup>";
      measure += PitchNote(static_cast<char>('C' + index), 0, 5, 4, std::to_string(numbers[index]), "", "whole");
    }
    return measure;
  };
  Imported imported;
  ASSERT_TRUE(imported.Import(Score(
      {{"P1",
        "Organ",
        {Attributes(1) + voices({1, 2}), voices({3, 4}), voices({5, 6}), voices({6, 5, 4, 3, 2}), voices({2, 1, 6, 5}),
         musicxml_test::Rest(4, "7") + "<backup><duration>4</duration></backup>" + voices({3, 4, 5, 6})}}})));
  int16_t staff = imported.Staff(0);
  auto notesIn = [&](int16_t measure) {
    int count = 0;
    for (int layer = 1; layer <= 4; ++layer) {
      EntryInfo entry;
      for (int index = 0; index < Host().Queries().EntryCount(staff, measure, layer); ++index) {
        count += Host().Queries().EntryAt(staff, measure, layer, index, &entry) && entry.IsNote() ? 1 : 0;
      }
    }
    return count;
  };
  EXPECT_EQ(notesIn(1), 2);
  EXPECT_EQ(notesIn(2), 2);
  EXPECT_EQ(notesIn(3), 2);
  EXPECT_EQ(notesIn(4), 4);
  EXPECT_EQ(notesIn(5), 4);
  EXPECT_EQ(notesIn(6), 4);
  ASSERT_EQ(imported.score.warnings.size(), 1u);
  EXPECT_EQ(imported.score.warnings[0],
            "part Organ (P1), staff 1, measure 4: voice 2 is a fifth voice on the staff in this measure and is left "
            "out (the host has four layers)");
  // A voice keeps its earlier layer while it is free: in measure 4 voice 6
  // keeps layer 2; in measure 5 voice 1 comes first and takes back layer 1,
  // which voice 5 had in between.
  EntryInfo entry;
  ASSERT_TRUE(imported.Entry(0, 4, 2, 0, &entry));
  EXPECT_EQ(std::string(imported.score.NoteElement(entry.notes[0].sourceTag)->FirstChildElement("voice")->GetText()),
            "6");
  ASSERT_TRUE(imported.Entry(0, 5, 1, 0, &entry));
  EXPECT_EQ(std::string(imported.score.NoteElement(entry.notes[0].sourceTag)->FirstChildElement("voice")->GetText()),
            "1");
}

TEST_F(MusicXmlImporterTest, PositionsFollowDivisionsBackupForwardAndTuplets) {
  // Voice 1: a triplet of eighths (divisions 3), then a half; voice 2: a
  // forward past two beats, then a quarter; then the divisions change.
  std::string triplet =
      "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>";
  std::string measure = Attributes(3) + PitchNote('C', 0, 5, 1, "1", triplet, "eighth") +
                        PitchNote('D', 0, 5, 1, "1", triplet, "eighth") +
                        PitchNote('E', 0, 5, 1, "1", triplet, "eighth") + PitchNote('F', 0, 5, 9, "1", "", "half") +
                        "<backup><duration>12</duration></backup>" + "<forward><duration>6</duration></forward>" +
                        PitchNote('G', 0, 4, 3, "2");
  std::string second = "<attributes><divisions>8</divisions></attributes>" + PitchNote('A', 0, 4, 12, "1", "<dot/>") +
                       PitchNote('B', 0, 4, 4, "1", "", "eighth") + Rest(16);
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure, second}}})));
  std::vector<int32_t> positions;
  std::vector<int32_t> durations;
  EntryInfo entry;
  for (int index = 0; imported.Entry(0, 1, 1, index, &entry); ++index) {
    positions.push_back(entry.position);
    durations.push_back(entry.secondPosition);
  }
  EXPECT_EQ(positions, (std::vector<int32_t>{0, 341, 683, 1024}));
  EXPECT_EQ(durations, (std::vector<int32_t>{341, 341, 341, 3072}));
  ASSERT_TRUE(imported.Entry(0, 1, 2, 0, &entry));
  EXPECT_EQ(entry.position, 2048);
  positions.clear();
  for (int index = 0; imported.Entry(0, 2, 1, index, &entry); ++index) positions.push_back(entry.position);
  EXPECT_EQ(positions, (std::vector<int32_t>{0, 1536, 2048}));
  // The rest is an entry without notes.
  ASSERT_TRUE(imported.Entry(0, 2, 1, 2, &entry));
  EXPECT_FALSE(entry.IsNote());
  EXPECT_TRUE(entry.notes.empty());
}

TEST_F(MusicXmlImporterTest, TripletsInTwoPartsWithOtherDivisionsMeetOnOnePosition) {
  std::string triplet =
      "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>";
  std::string threes = Attributes(3) + PitchNote('C', 0, 5, 1, "1", triplet, "eighth") +
                       PitchNote('D', 0, 5, 1, "1", triplet, "eighth") + Rest(10);
  std::string sixes = Attributes(6) + PitchNote('C', 0, 4, 2, "1", triplet, "eighth") +
                      PitchNote('D', 0, 4, 2, "1", triplet, "eighth") + Rest(20);
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {threes}}, {"P2", "Oboe", {sixes}}})));
  EntryInfo first;
  EntryInfo second;
  ASSERT_TRUE(imported.Entry(0, 1, 1, 1, &first));
  ASSERT_TRUE(imported.Entry(1, 1, 1, 1, &second));
  EXPECT_EQ(first.position, second.position);
  EXPECT_EQ(first.position, 341);
}

TEST_F(MusicXmlImporterTest, ChordsGraceAndCueNotesBecomeEntries) {
  std::string measure = Attributes(1) + PitchNote('C', 0, 4, 1) + PitchNote('E', 0, 4, 1, "1", "", "quarter");
  measure.insert(measure.rfind("<note>") + 6, "<chord/>");
  measure += PitchNote('G', 0, 4, 1);
  measure.insert(measure.rfind("<note>") + 6, "<chord/>");
  // Two grace notes (the second a chord of two) before a D.
  measure +=
      "<note><grace/><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><voice>1</voice>"
      "<type>16th</type><accidental>sharp</accidental></note>";
  measure +=
      "<note><grace slash=\"yes\"/><pitch><step>A</step><octave>4</octave></pitch><voice>1</voice>"
      "<type>eighth</type></note>";
  measure +=
      "<note><grace/><chord/><pitch><step>C</step><octave>5</octave></pitch><voice>1</voice>"
      "<type>eighth</type></note>";
  measure += PitchNote('D', 0, 5, 1);
  measure +=
      "<note><cue/><pitch><step>B</step><octave>4</octave></pitch><duration>2</duration><voice>1</voice>"
      "<type>half</type></note>";
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure}}})));
  ASSERT_EQ(Host().Queries().EntryCount(imported.Staff(0), 1, 1), 5);
  EntryInfo entry;
  ASSERT_TRUE(imported.Entry(0, 1, 1, 0, &entry));
  EXPECT_EQ(entry.notes.size(), 3u);
  EXPECT_EQ(entry.position, 0);
  EXPECT_FALSE(entry.IsGrace());
  ASSERT_TRUE(imported.Entry(0, 1, 1, 1, &entry));
  EXPECT_TRUE(entry.IsGrace());
  EXPECT_EQ(entry.position, 1024);
  EXPECT_EQ(entry.secondPosition, 256);
  EXPECT_TRUE(entry.notes[0].AccidentalShown());
  ASSERT_TRUE(imported.Entry(0, 1, 1, 2, &entry));
  EXPECT_TRUE(entry.IsGrace());
  EXPECT_EQ(entry.notes.size(), 2u);
  EXPECT_EQ(entry.position, 1024);
  // The main note follows its grace notes at their position.
  ASSERT_TRUE(imported.Entry(0, 1, 1, 3, &entry));
  EXPECT_FALSE(entry.IsGrace());
  EXPECT_EQ(entry.position, 1024);
  ASSERT_TRUE(imported.Entry(0, 1, 1, 4, &entry));
  EXPECT_TRUE(entry.IsNote());
  EXPECT_EQ(entry.position, 2048);
  EXPECT_EQ(entry.secondPosition, 2048);
}

TEST_F(MusicXmlImporterTest, ACrossStaffChordSplitsIntoOneEntryPerStaff) {
  std::string measure = "<attributes><divisions>1</divisions><staves>2</staves></attributes>" +
                        PitchNote('E', 0, 4, 4, "1", "<staff>1</staff>", "whole") +
                        PitchNote('G', 0, 3, 4, "1", "<staff>2</staff>", "whole") +
                        PitchNote('C', 0, 5, 4, "1", "<staff>1</staff>", "whole");
  // The second and third notes belong to the first one's chord.
  size_t second = measure.find("<note>", measure.find("<step>E"));
  measure.insert(second + 6, "<chord/>");
  size_t third = measure.find("<note>", measure.find("<step>G"));
  measure.insert(third + 6, "<chord/>");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Piano", {measure}}})));
  EntryInfo upper;
  EntryInfo lower;
  ASSERT_EQ(Host().Queries().EntryCount(imported.Staff(0), 1, 1), 1);
  ASSERT_EQ(Host().Queries().EntryCount(imported.Staff(1), 1, 1), 1);
  ASSERT_TRUE(imported.Entry(0, 1, 1, 0, &upper));
  ASSERT_TRUE(imported.Entry(1, 1, 1, 0, &lower));
  EXPECT_EQ(upper.notes.size(), 2u);
  EXPECT_EQ(lower.notes.size(), 1u);
  EXPECT_EQ(lower.position, upper.position);
}

TEST_F(MusicXmlImporterTest, PitchAccidentalAndTieMarksBecomeNoteFlags) {
  std::string measure = Attributes(1, -1) + PitchNote('B', -1, 4, 1, "1", "<accidental>flat</accidental>") +
                        PitchNote('B', 0, 4, 1, "1", "<accidental parentheses=\"yes\">natural</accidental>") +
                        PitchNote('E', -1, 4, 1, "1", "<accidental bracket=\"yes\">flat</accidental>") +
                        PitchNote('E', -1, 4, 1, "1", "<accidental print-object=\"no\">flat</accidental>");
  std::string second =
      "<note><pitch><step>E</step><alter>-1</alter><octave>4</octave></pitch><duration>2</duration>"
      "<tie type=\"stop\"/><voice>1</voice><type>half</type></note>" +
      PitchNote('F', 2, 4, 1, "1", "<notations><tied type=\"stop\"/></notations>") + PitchNote('C', -2, 5, 1);
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure, second}}})));
  std::vector<EntryInfo> entries(4);
  for (int index = 0; index < 4; ++index) ASSERT_TRUE(imported.Entry(0, 1, 1, index, &entries[index]));
  // F major: Bb is as the key says, B natural is raised.
  EXPECT_EQ(entries[0].notes[0].raiseLower, 0);
  EXPECT_EQ(entries[1].notes[0].raiseLower, 1);
  EXPECT_EQ(entries[2].notes[0].raiseLower, -1);
  EXPECT_TRUE(entries[0].notes[0].AccidentalShown());
  EXPECT_FALSE(entries[0].notes[0].Parenthesised());
  EXPECT_TRUE(entries[1].notes[0].AccidentalShown());
  EXPECT_TRUE(entries[1].notes[0].Parenthesised());
  EXPECT_TRUE(entries[2].notes[0].Parenthesised());
  EXPECT_FALSE(entries[3].notes[0].AccidentalShown());
  EXPECT_FALSE(entries[3].notes[0].TiedFromPrevious());
  EntryInfo tied;
  ASSERT_TRUE(imported.Entry(0, 2, 1, 0, &tied));
  EXPECT_TRUE(tied.notes[0].TiedFromPrevious());
  EXPECT_FALSE(tied.notes[0].AccidentalShown());
  ASSERT_TRUE(imported.Entry(0, 2, 1, 1, &tied));
  EXPECT_TRUE(tied.notes[0].TiedFromPrevious());
  EXPECT_EQ(tied.notes[0].raiseLower, 2);
  ASSERT_TRUE(imported.Entry(0, 2, 1, 2, &tied));
  EXPECT_EQ(tied.notes[0].raiseLower, -2);
  // The octave is taken over: the displacement is the host's for Cbb5 in F major.
  headless::NotePlacement placement;
  headless::NoteSpec spec;
  spec.letter = 'C';
  spec.alteration = -2;
  spec.octave = 5;
  ASSERT_TRUE(headless::PlaceNote(spec, headless::MakeKeyValue(-1, false), 0, &placement));
  EXPECT_EQ(tied.notes[0].displacement, placement.displacement);
}

TEST_F(MusicXmlImporterTest, PrintBreaksGiveTheSystemStarts) {
  std::vector<std::string> measures;
  for (int index = 0; index < 6; ++index) {
    std::string print = index == 2 ? "<print new-system=\"yes\"/>" : index == 5 ? "<print new-page=\"yes\"/>" : "";
    measures.push_back(print + (index == 0 ? Attributes(1) : "") + PitchNote('C', 0, 5, 4, "1", "", "whole"));
  }
  Imported withBreaks;
  ASSERT_TRUE(withBreaks.Import(Score({{"P1", "Flute", measures}})));
  EXPECT_EQ(SystemFirstMeasures(), (std::vector<int16_t>{1, 3, 6}));

  for (std::string& measure : measures) {
    size_t print = measure.find("<print");
    if (print != std::string::npos) measure.erase(print, measure.find("/>", print) + 2 - print);
  }
  Host().NewDocument();
  Imported withoutBreaks;
  ASSERT_TRUE(withoutBreaks.Import(Score({{"P1", "Flute", measures}})));
  EXPECT_EQ(SystemFirstMeasures(), (std::vector<int16_t>{1, 5}));
}

TEST_F(MusicXmlImporterTest, EveryHostNoteKnowsItsNoteElement) {
  std::string measure = Attributes(1) + PitchNote('C', 0, 5, 1) + PitchNote('D', 1, 5, 1) + Rest(1) +
                        "<note print-object=\"no\"><pitch><step>G</step><octave>5</octave></pitch>"
                        "<duration>1</duration><voice>1</voice></note>";
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure}}})));
  std::vector<headless::TaggedNote> notes = Host().Queries().NotesWithTags();
  ASSERT_EQ(notes.size(), 2u);  // the rest has no note, the hidden note is left out
  std::vector<std::string> steps;
  for (const headless::TaggedNote& note : notes) {
    tinyxml2::XMLElement* element = imported.score.NoteElement(note.sourceTag);
    ASSERT_NE(element, nullptr);
    steps.push_back(element->FirstChildElement("pitch")->FirstChildElement("step")->GetText());
    EXPECT_EQ(imported.score.FlagsAtImport(note.sourceTag), note.note.flags);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"C", "D"}));
  EXPECT_EQ(imported.score.NoteElement(0), nullptr);
  EXPECT_EQ(imported.score.NoteElement(99), nullptr);
}

TEST_F(MusicXmlImporterTest, UnreadableContentIsLeftOutWithWarnings) {
  std::string measure = Attributes(1) + PitchNote('C', 0, 5, 1, "1", "<staff>3</staff>") +
                        "<note><pitch><step>H</step><octave>4</octave></pitch><duration>1</duration></note>" +
                        "<note><pitch><step>C</step><alter>0.5</alter><octave>4</octave></pitch>"
                        "<duration>1</duration></note>" +
                        "<backup><duration>9</duration></backup>" + PitchNote('E', 0, 5, 1, "2");
  Imported imported;
  ASSERT_TRUE(imported.Import(
      Score({{"P1", "Flute", {measure}}}, "<score-part id=\"P9\"><part-name>Ghost</part-name></score-part>")));
  EXPECT_TRUE(HasWarningWith(imported.score, {"staff 3"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"step \"H\""}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"microtonal", "0.5"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"<backup>", "start of the measure"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"Ghost (P9)", "no music"}));
  // The quarter-tone C is rounded to C#; the backup stops at the start.
  EntryInfo entry;
  ASSERT_EQ(Host().Queries().EntryCount(imported.Staff(0), 1, 1), 1);
  ASSERT_TRUE(imported.Entry(0, 1, 1, 0, &entry));
  EXPECT_EQ(entry.notes[0].raiseLower, 1);
  ASSERT_TRUE(imported.Entry(0, 1, 2, 0, &entry));
  EXPECT_EQ(entry.position, 0);
}

TEST_F(MusicXmlImporterTest, PartsFindTheirListedPartByIdAndStrayPartsAreLeftOut) {
  std::string note = Attributes(1) + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string text = Score({{"P2", "Oboe", {note}}, {"P1", "Flute", {note}}}, "");
  // A part that the list does not name, and a second part with a listed id.
  text.replace(text.find("</score-partwise>"), 0,
               "<part id=\"P7\"><measure number=\"1\">" + note + "</measure></part>" +
                   "<part id=\"P1\"><measure number=\"1\">" + note + "</measure></part>");
  Imported imported;
  ASSERT_TRUE(imported.Import(text));
  ASSERT_EQ(imported.score.staves.size(), 2u);
  EXPECT_EQ(imported.score.staves[0].partId, "P2") << "staves follow the part list";
  EXPECT_EQ(StaffName(imported.score.staves[1].staffNumber), "Flute");
  EXPECT_TRUE(HasWarningWith(imported.score, {"the music of part P7 is left out: the part list does not name it"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"a second <part> with the id P1 is left out"}));
  EXPECT_EQ(imported.score.warnings.size(), 2u);
}

TEST_F(MusicXmlImporterTest, StaffCountsOutOfRangeAreNamedInWarnings) {
  std::string first = Attributes(1, 0, "<staves>0</staves>") + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string second = "<attributes><staves>two</staves></attributes>" + PitchNote('C', 0, 5, 4, "1", "", "whole");
  std::string third = "<attributes><staves>40</staves></attributes>" + PitchNote('C', 0, 5, 4, "1", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Organ", {first, second, third}}})));
  EXPECT_TRUE(HasWarningWith(imported.score, {"Organ (P1), measure 1: <staves> \"0\" is no staff count"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"measure 2: <staves> \"two\" is no staff count"}));
  EXPECT_TRUE(HasWarningWith(imported.score, {"measure 3: <staves> \"40\" is more than the 16 staves"}));
  EXPECT_EQ(imported.score.staves.size(), 16u);
}

TEST_F(MusicXmlImporterTest, ScoresWithoutMusicOrBeyondTheHostAreRefused) {
  std::string error;
  Imported noPartList;
  EXPECT_FALSE(noPartList.Import("<score-partwise><part id=\"P1\"/></score-partwise>", &error));
  EXPECT_NE(error.find("part-list"), std::string::npos) << error;
  Imported noMeasures;
  EXPECT_FALSE(noMeasures.Import(Score({{"P1", "Flute", {}}}), &error));
  EXPECT_NE(error.find("no measures"), std::string::npos) << error;
  Imported noParts;
  EXPECT_FALSE(noParts.Import("<score-partwise><part-list/></score-partwise>", &error));
  EXPECT_NE(error.find("no part"), std::string::npos) << error;
  std::vector<musicxml_test::PartText> parts;
  for (int index = 0; index <= musicxml::MusicXmlImporter::kMaxStaves; ++index) {
    parts.push_back({"P" + std::to_string(index), "", {""}});
  }
  Imported tooManyStaves;
  EXPECT_FALSE(tooManyStaves.Import(Score(parts), &error));
  std::string expected =
      "too large: " + std::to_string(musicxml::MusicXmlImporter::kMaxStaves + 1) + " staves of 1 measures";
  EXPECT_NE(error.find(expected), std::string::npos) << error;
}

TEST_F(MusicXmlImporterTest, AScoreOfMoreThanAThousandStavesIsRead) {
  std::vector<musicxml_test::PartText> parts;
  for (int index = 0; index < 1200; ++index) {
    parts.push_back({"P" + std::to_string(index), "", {Attributes(1) + PitchNote('C', 0, 2, 4, "1", "", "whole")}});
  }
  Imported wide;
  ASSERT_TRUE(wide.Import(Score(parts)));
  std::vector<int16_t> order = Host().SlotOrder(0);
  ASSERT_EQ(order.size(), 1200u);
  EntryInfo last;
  ASSERT_TRUE(Host().Queries().EntryAt(order.back(), 1, 1, 0, &last));
  EXPECT_EQ(last.notes.size(), 1u);
}

TEST_F(MusicXmlImporterTest, AChordOfMoreThanTwelveNotesKeepsTwelveAndWarnsOnce) {
  std::string measure = Attributes(1) + PitchNote('C', 0, 2, 4, "1", "", "whole");
  for (int index = 1; index < 15; ++index) {
    measure += PitchNote("CDEFGAB"[index % 7], 0, 2 + index / 7, 4, "1", "", "whole");
    measure.insert(measure.rfind("<note>") + 6, "<chord/>");
  }
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Harp", {measure}}})));
  EntryInfo entry;
  ASSERT_TRUE(imported.Entry(0, 1, 1, 0, &entry));
  EXPECT_EQ(entry.notes.size(), 12u);
  EXPECT_EQ(std::count_if(imported.score.warnings.begin(), imported.score.warnings.end(),
                          [](const std::string& warning) { return warning.find("twelve notes") != std::string::npos; }),
            1);
}

}  // namespace
