#include "musicxml/musicxml_exporter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/document.h"
#include "headless/pitch_spelling.h"
#include "musicxml/accidental_element.h"
#include "shell/host_frame.h"
#include "tests/musicxml/musicxml_test_support.h"

namespace {

using musicxml::AccidentalElement;
using musicxml::MusicXmlExporter;
using musicxml_test::Attributes;
using musicxml_test::Imported;
using musicxml_test::PitchNote;
using musicxml_test::Score;

class MusicXmlExporterTest : public headless::HostFixture {
 protected:
  // Sets flag bits on a stored note as an apply step leaves it.
  static void AddNoteFlags(int16_t staff, int16_t measure, int layer, size_t entry, int note, uint32_t flags) {
    headless::DocumentContent& content = Host().CurrentDocumentData()->content;
    std::vector<headless::EntryBytes>& cell =
        content.CellForWriting(headless::CellKey{staff, measure, static_cast<int16_t>(layer - 1)});
    ASSERT_LT(entry, cell.size());
    uint8_t* record = host_frame::NoteAt(cell[entry].data(), note);
    uint32_t old = host_frame::Read<uint32_t>(record, host_frame::kNoteFlagsOffset);
    host_frame::Write<uint32_t>(record, host_frame::kNoteFlagsOffset, old | flags);
  }

  static std::vector<std::string> ChildNames(const tinyxml2::XMLElement* element) {
    std::vector<std::string> names;
    for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
      names.push_back(child->Name());
    }
    return names;
  }

  static std::string AccidentalOf(const tinyxml2::XMLElement* note) {
    const tinyxml2::XMLElement* accidental = note->FirstChildElement("accidental");
    if (!accidental) return "-";
    std::string text = accidental->GetText() ? accidental->GetText() : "";
    for (const tinyxml2::XMLAttribute* attribute = accidental->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
      text += std::string(" ") + attribute->Name() + "=" + attribute->Value();
    }
    return text;
  }

  static tinyxml2::XMLElement* NthNote(musicxml::MusicXmlDocument& document, int index) {
    tinyxml2::XMLElement* measure = document.Score()->FirstChildElement("part")->FirstChildElement("measure");
    for (; measure; measure = measure->NextSiblingElement("measure")) {
      for (tinyxml2::XMLElement* note = measure->FirstChildElement("note"); note;
           note = note->NextSiblingElement("note")) {
        if (index-- == 0) return note;
      }
    }
    return nullptr;
  }
};

constexpr uint32_t kApplied = host_frame::kNoteAccidentalShown | host_frame::kNoteApplied;

TEST_F(MusicXmlExporterTest, WithoutChangesTheDocumentIsWrittenAsItWasRead) {
  std::string text = Score({{"P1",
                             "Flute",
                             {Attributes(2, 2) + PitchNote('F', 0, 4, 2, "1", "<stem>up</stem>") +
                                  PitchNote('C', 1, 5, 2, "1", "<accidental>sharp</accidental>") +
                                  "<direction><direction-type><words>dolce</words></direction-type></direction>" +
                                  PitchNote('G', 0, 4, 4, "1", "<notations><tied type=\"start\"/></notations>", "half"),
                              PitchNote('G', 0, 4, 8, "1", "", "whole")}}});
  Imported imported;
  ASSERT_TRUE(imported.Import(text));
  std::vector<std::string> warnings;
  EXPECT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings),
            0);
  EXPECT_TRUE(warnings.empty());
  musicxml::MusicXmlDocument original;
  std::string error;
  ASSERT_TRUE(original.Parse(text, "original", &error));
  EXPECT_EQ(imported.document.ToText(), original.ToText());
  EXPECT_EQ(musicxml_test::SavedTextOf(imported.document), text);
}

TEST_F(MusicXmlExporterTest, ChangedNotesGetACautionaryAccidentalForTheirAlteration) {
  std::string measure = Attributes(1, 2) +
                        PitchNote('F', 0, 4, 1, "1", "<dot/><stem>up</stem><beam number=\"1\">begin</beam>") +
                        PitchNote('F', 1, 4, 1, "1", "<stem>down</stem>") + PitchNote('B', -2, 4, 1) +
                        "<note><pitch><step>G</step><alter>2</alter><octave>4</octave></pitch>"
                        "<duration>1</duration><voice>1</voice></note>";
  std::string second = PitchNote('E', 0, 4, 1, "1",
                                 "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
                                 "</time-modification><notations><tuplet type=\"start\"/></notations>") +
                       PitchNote('C', 1, 5, 1, "1", "<accidental print-object=\"no\">sharp</accidental>") +
                       PitchNote('D', 0, 5, 2, "1", "", "half");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure, second}}})));
  int16_t staff = imported.Staff(0);
  AddNoteFlags(staff, 1, 1, 0, 0, kApplied);
  AddNoteFlags(staff, 1, 1, 1, 0, kApplied | host_frame::kNoteParentheses);
  AddNoteFlags(staff, 1, 1, 2, 0, kApplied);
  AddNoteFlags(staff, 1, 1, 3, 0, kApplied);
  AddNoteFlags(staff, 2, 1, 0, 0, kApplied);
  AddNoteFlags(staff, 2, 1, 1, 0, kApplied);
  // A change of other flags is not an applied accidental.
  AddNoteFlags(staff, 2, 1, 2, 0, host_frame::kNoteTiedFromPrevious);

  std::vector<std::string> warnings;
  EXPECT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings),
            6);
  EXPECT_TRUE(warnings.empty());
  musicxml::MusicXmlDocument& document = imported.document;
  EXPECT_EQ(AccidentalOf(NthNote(document, 0)), "natural cautionary=yes");
  EXPECT_EQ(ChildNames(NthNote(document, 0)),
            (std::vector<std::string>{"pitch", "duration", "voice", "type", "dot", "accidental", "stem", "beam"}));
  EXPECT_EQ(AccidentalOf(NthNote(document, 1)), "sharp cautionary=yes parentheses=yes");
  EXPECT_EQ(AccidentalOf(NthNote(document, 2)), "flat-flat cautionary=yes");
  EXPECT_EQ(ChildNames(NthNote(document, 2)),
            (std::vector<std::string>{"pitch", "duration", "voice", "type", "accidental"}));
  EXPECT_EQ(AccidentalOf(NthNote(document, 3)), "double-sharp cautionary=yes");
  EXPECT_EQ(
      ChildNames(NthNote(document, 4)),
      (std::vector<std::string>{"pitch", "duration", "voice", "type", "accidental", "time-modification", "notations"}));
  EXPECT_EQ(AccidentalOf(NthNote(document, 4)), "natural cautionary=yes");
  // The file's hidden accidental is the one shown now.
  EXPECT_EQ(AccidentalOf(NthNote(document, 5)), "sharp cautionary=yes");
  EXPECT_EQ(ChildNames(NthNote(document, 5)),
            (std::vector<std::string>{"pitch", "duration", "voice", "type", "accidental"}));
  EXPECT_EQ(AccidentalOf(NthNote(document, 6)), "-");

  // What is written reads back as the changed document.
  musicxml::MusicXmlDocument written;
  std::string error;
  ASSERT_TRUE(written.Parse(musicxml_test::SavedTextOf(document), "written", &error)) << error;
  EXPECT_EQ(written.ToText(), document.ToText());

  // Writing again finds the same changes and leaves the same document.
  std::string once = musicxml_test::SavedTextOf(document);
  EXPECT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings),
            6);
  EXPECT_EQ(musicxml_test::SavedTextOf(document), once);
}

TEST_F(MusicXmlExporterTest, TheAlterationFollowsTheKeyOfTheNotesCell) {
  // The clarinet reads D major against the score's C major.
  std::string clarinet = Attributes(1, 2) + PitchNote('F', 0, 4, 4, "1", "", "whole");
  std::string flute = Attributes(1, 0) + PitchNote('F', 0, 4, 4, "1", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {flute}}, {"P2", "Clarinet", {clarinet}}})));
  AddNoteFlags(imported.Staff(0), 1, 1, 0, 0, kApplied);
  AddNoteFlags(imported.Staff(1), 1, 1, 0, 0, kApplied);
  std::vector<std::string> warnings;
  ASSERT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings),
            2);
  const tinyxml2::XMLElement* part = imported.document.Score()->FirstChildElement("part");
  EXPECT_EQ(AccidentalOf(part->FirstChildElement("measure")->FirstChildElement("note")), "natural cautionary=yes");
  part = part->NextSiblingElement("part");
  EXPECT_EQ(AccidentalOf(part->FirstChildElement("measure")->FirstChildElement("note")), "natural cautionary=yes");
}

TEST_F(MusicXmlExporterTest, AlterationsComeFromTheKeyAndTheRaiseLower) {
  uint16_t cMajor = headless::MakeKeyValue(0, false);
  uint16_t dMajor = headless::MakeKeyValue(2, false);
  uint16_t bFlatMajor = headless::MakeKeyValue(-2, false);
  uint16_t dMinor = headless::MakeKeyValue(-1, true);
  EXPECT_EQ(MusicXmlExporter::AlterationOf(3, 1, cMajor), 1);        // F#
  EXPECT_EQ(MusicXmlExporter::AlterationOf(-4, 0, cMajor), 0);       // F below
  EXPECT_EQ(MusicXmlExporter::AlterationOf(2, 0, dMajor), 1);        // F# as the key says
  EXPECT_EQ(MusicXmlExporter::AlterationOf(2, -1, dMajor), 0);       // F natural
  EXPECT_EQ(MusicXmlExporter::AlterationOf(4, 0, dMajor), 0);        // A
  EXPECT_EQ(MusicXmlExporter::AlterationOf(3, -1, bFlatMajor), -2);  // Ebb
  EXPECT_EQ(MusicXmlExporter::AlterationOf(-2, 0, bFlatMajor), 0);   // G below
  EXPECT_EQ(MusicXmlExporter::AlterationOf(5, 0, dMinor), -1);       // Bb
  EXPECT_EQ(MusicXmlExporter::AlterationOf(-9, 1, dMinor), 0);       // B natural, two octaves down
}

TEST_F(MusicXmlExporterTest, AccidentalValuesAndPlacesFollowTheSchema) {
  EXPECT_STREQ(AccidentalElement::ValueFor(0), "natural");
  EXPECT_STREQ(AccidentalElement::ValueFor(1), "sharp");
  EXPECT_STREQ(AccidentalElement::ValueFor(-1), "flat");
  EXPECT_STREQ(AccidentalElement::ValueFor(2), "double-sharp");
  EXPECT_STREQ(AccidentalElement::ValueFor(-2), "flat-flat");
  EXPECT_STREQ(AccidentalElement::ValueFor(3), "triple-sharp");
  EXPECT_STREQ(AccidentalElement::ValueFor(-3), "triple-flat");
  EXPECT_EQ(AccidentalElement::ValueFor(4), nullptr);
  EXPECT_EQ(AccidentalElement::ValueFor(-4), nullptr);

  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse("<n><!-- first --><notehead>x</notehead><lyric/></n><m><staff>1</staff></m><e/>"
                           "<q><grace/><pitch/><instrument/><footnote/><level/><voice/><type/><dot/><dot/>"
                           "<notations/></q>"),
            tinyxml2::XML_SUCCESS);
  tinyxml2::XMLElement* onlyFollowers = document.FirstChildElement("n");
  EXPECT_TRUE(AccidentalElement::Write(onlyFollowers, 1, true));
  tinyxml2::XMLPrinter printer(nullptr, true);
  onlyFollowers->Accept(&printer);
  EXPECT_STREQ(printer.CStr(),
               "<n><!-- first --><accidental cautionary=\"yes\" parentheses=\"yes\">sharp</accidental>"
               "<notehead>x</notehead><lyric/></n>");
  tinyxml2::XMLElement* first = document.FirstChildElement("m");
  EXPECT_TRUE(AccidentalElement::Write(first, -1, false));
  EXPECT_STREQ(first->FirstChildElement()->Name(), "accidental");
  EXPECT_TRUE(AccidentalElement::Write(document.FirstChildElement("e"), 0, false));
  EXPECT_NE(document.FirstChildElement("e")->FirstChildElement("accidental"), nullptr);
  tinyxml2::XMLElement* full = document.FirstChildElement("q");
  EXPECT_TRUE(AccidentalElement::Write(full, 0, false));
  EXPECT_EQ(ChildNames(full), (std::vector<std::string>{"grace", "pitch", "instrument", "footnote", "level", "voice",
                                                        "type", "dot", "dot", "accidental", "notations"}));
  EXPECT_FALSE(AccidentalElement::Write(full, 5, false));
  EXPECT_FALSE(AccidentalElement::Write(nullptr, 0, false));
}

TEST_F(MusicXmlExporterTest, ATransposingStaffGetsTheAccidentalOfItsWrittenNote) {
  // The B-flat clarinet's written F natural in D major sounds E-flat in C major.
  std::string clarinet = Attributes(1, 2, "<transpose><diatonic>-1</diatonic><chromatic>-2</chromatic></transpose>") +
                         PitchNote('F', 0, 5, 4, "1", "", "whole");
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Clarinet in Bb", {clarinet}}})));
  AddNoteFlags(imported.Staff(0), 1, 1, 0, 0, kApplied);
  std::vector<std::string> warnings;
  ASSERT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings),
            1);
  EXPECT_EQ(AccidentalOf(NthNote(imported.document, 0)), "natural cautionary=yes");
}

TEST_F(MusicXmlExporterTest, AddedAccidentalsTakeTheStyleAskedForAndMarksThatCleanFindsAgain) {
  // A mark left by an earlier apply is not handed out again.
  std::string measure =
      Attributes(1, 0) + PitchNote('F', 1, 4, 1, "1", "<accidental id=\"rzacc-1\">sharp</accidental>") +
      PitchNote('G', -1, 4, 1) + PitchNote('A', 0, 4, 1, "1", "<accidental print-object=\"no\">natural</accidental>") +
      PitchNote('B', -1, 4, 1);
  Imported imported;
  ASSERT_TRUE(imported.Import(Score({{"P1", "Flute", {measure}}})));
  int16_t staff = imported.Staff(0);
  AddNoteFlags(staff, 1, 1, 1, 0, kApplied | host_frame::kNoteParentheses);
  AddNoteFlags(staff, 1, 1, 2, 0, kApplied);
  AddNoteFlags(staff, 1, 1, 3, 0, kApplied);
  musicxml::AccidentalStyle style;
  style.brackets = true;
  style.color = "#C00000";
  style.markAdded = true;
  std::vector<std::string> warnings;
  ASSERT_EQ(MusicXmlExporter::WriteChangedAccidentals(&imported.builder, imported.score, &imported.document, &warnings,
                                                      style),
            3);
  musicxml::MusicXmlDocument& document = imported.document;
  EXPECT_EQ(AccidentalOf(NthNote(document, 0)), "sharp id=rzacc-1");
  EXPECT_EQ(AccidentalOf(NthNote(document, 1)), "flat cautionary=yes bracket=yes color=#C00000 id=rzacc-2");
  // The file's own hidden accidental is shown, and not marked: taking it out would not give the file back.
  EXPECT_EQ(AccidentalOf(NthNote(document, 2)), "natural cautionary=yes color=#C00000");
  EXPECT_EQ(AccidentalOf(NthNote(document, 3)), "flat cautionary=yes color=#C00000 id=rzacc-3");

  // Clean takes out every marked accidental, the earlier apply's too.
  musicxml::MusicXmlDocument written;
  std::string error;
  ASSERT_TRUE(written.Parse(musicxml_test::SavedTextOf(document), "written", &error)) << error;
  EXPECT_EQ(MusicXmlExporter::RemoveMarkedAccidentals(&written), 3);
  std::string cleaned = musicxml_test::SavedTextOf(written);
  EXPECT_EQ(cleaned.find("rzacc-"), std::string::npos) << cleaned;
  EXPECT_NE(cleaned.find("<accidental cautionary=\"yes\" color=\"#C00000\">natural</accidental>"), std::string::npos);

  EXPECT_TRUE(MusicXmlExporter::IsColor("#00ff7F"));
  EXPECT_TRUE(MusicXmlExporter::IsColor("#8000FF7F"));
  for (const char* bad : {"", "#", "00FF7F", "#00FF7", "#00FF7G", "red", "#00FF7F0"}) {
    EXPECT_FALSE(MusicXmlExporter::IsColor(bad)) << bad;
  }
}

}  // namespace
