#include "musicxml/note_children.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

namespace {

using musicxml::NoteChildren;

tinyxml2::XMLElement* ParseNote(tinyxml2::XMLDocument* document, const std::string& text) {
  if (document->Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) return nullptr;
  return document->RootElement();
}

TEST(NoteChildrenTest, EachChildIsTheFirstOfItsNameAsALookupByNameFindsIt) {
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* note = ParseNote(&document,
                                         "<note><chord/><pitch><step>D</step><octave>4</octave></pitch>"
                                         "<duration>2</duration><duration>3</duration><voice>2</voice>"
                                         "<type>quarter</type><dot/><dot/><accidental>sharp</accidental>"
                                         "<staff>2</staff><voice>1</voice><staff>1</staff><notations/></note>");
  ASSERT_NE(note, nullptr);
  NoteChildren children = NoteChildren::Read(note);
  EXPECT_EQ(children.note, note);
  EXPECT_EQ(children.pitch, note->FirstChildElement("pitch"));
  EXPECT_EQ(children.duration, note->FirstChildElement("duration"));
  EXPECT_EQ(children.voice, note->FirstChildElement("voice"));
  EXPECT_EQ(children.staff, note->FirstChildElement("staff"));
  EXPECT_EQ(children.type, note->FirstChildElement("type"));
  EXPECT_EQ(children.accidental, note->FirstChildElement("accidental"));
  EXPECT_STREQ(children.voice->GetText(), "2");
  EXPECT_STREQ(children.staff->GetText(), "2");
  EXPECT_TRUE(children.chord);
  EXPECT_FALSE(children.rest);
  EXPECT_FALSE(children.grace);
  EXPECT_FALSE(children.unpitched);
  EXPECT_FALSE(children.tiedFromPrevious);
  EXPECT_EQ(children.dots, 2);
  EXPECT_EQ(children.WrittenDuration(), 1024 + 512 + 256) << "a quarter with two dots";
}

TEST(NoteChildrenTest, ATieFromThePreviousNoteIsAStopTieOrOnlyADrawnStopTied) {
  const char* tied[] = {
      "<note><tie type=\"start\"/><tie type=\"stop\"/></note>",
      "<note><notations><slur/></notations><notations><tied type=\"start\"/><tied type=\"stop\"/></notations></note>",
  };
  const char* untied[] = {
      "<note><tie type=\"start\"/><notations><tied type=\"start\"/></notations></note>",
      "<note><tied type=\"stop\"/><notations><tie type=\"stop\"/></notations></note>",
  };
  for (const char* text : tied) {
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* note = ParseNote(&document, text);
    ASSERT_NE(note, nullptr) << text;
    EXPECT_TRUE(NoteChildren::Read(note).tiedFromPrevious) << text;
  }
  for (const char* text : untied) {
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* note = ParseNote(&document, text);
    ASSERT_NE(note, nullptr) << text;
    EXPECT_FALSE(NoteChildren::Read(note).tiedFromPrevious) << text;
  }
}

TEST(NoteChildrenTest, RestsGraceAndUnpitchedNotesAreToldAndLengthsComeFromTheirType) {
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* note = ParseNote(&document, "<note><grace/><unpitched/><rest/><type> 16th </type></note>");
  ASSERT_NE(note, nullptr);
  NoteChildren children = NoteChildren::Read(note);
  EXPECT_TRUE(children.grace);
  EXPECT_TRUE(children.unpitched);
  EXPECT_TRUE(children.rest);
  EXPECT_EQ(children.pitch, nullptr);
  EXPECT_EQ(children.WrittenDuration(), 256);
  EXPECT_EQ(NoteChildren::Read(ParseNote(&document, "<note/>")).WrittenDuration(), 512) << "an eighth without a type";
  // Dots stop adding once half of the last added length is less than a unit.
  note = ParseNote(&document, "<note><type>1024th</type><dot/><dot/><dot/><dot/></note>");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(NoteChildren::Read(note).WrittenDuration(), 4 + 2 + 1);
}

}  // namespace
