#include "musicxml/xml_source_map.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

#include "musicxml/accidental_element.h"
#include "musicxml/musicxml_document.h"
#include "tests/musicxml/musicxml_test_support.h"

namespace {

using musicxml::ElementSpan;
using musicxml::XmlSourceMap;

TEST(XmlSourceMapTest, FindsEveryElementPastCommentsDeclarationsAndQuotedBrackets) {
  std::string text =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE a [<!ELEMENT a (b)*> <!ENTITY x \"<b>\">]>\n"
      "<a><!-- <b> is not here --><b t=\"1>2\" u='<'/><![CDATA[<b>]]><c>\n  <b/></c></a>";
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
  XmlSourceMap map;
  ASSERT_TRUE(map.Build(text, document));
  const tinyxml2::XMLElement* root = document.RootElement();
  const ElementSpan* span = map.Find(root->FirstChildElement("b"));
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(text.substr(span->start, span->end - span->start), "<b t=\"1>2\" u='<'/>");
  span = map.Find(root->FirstChildElement("c"));
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(text.substr(span->start, span->startTagEnd - span->start), "<c>");
  EXPECT_EQ(text.substr(span->start, span->end - span->start), "<c>\n  <b/></c>");
  span = map.Find(root->FirstChildElement("c")->FirstChildElement("b"));
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(XmlSourceMap::IndentBefore(text, span->start), "  ");
  EXPECT_EQ(XmlSourceMap::LineBreakBefore(text, span->start), "\n");
  EXPECT_EQ(XmlSourceMap::LineBreakBefore(text, map.Find(root)->start), "\n");
  EXPECT_EQ(XmlSourceMap::IndentBefore(text, map.Find(root->FirstChildElement("b"))->start), "");

  tinyxml2::XMLElement* added = document.NewElement("d");
  document.RootElement()->InsertEndChild(added);
  EXPECT_EQ(map.Find(added), nullptr);

  // Text that the document was not parsed from does not match it.
  tinyxml2::XMLDocument other;
  ASSERT_EQ(other.Parse("<a><b/><e/></a>"), tinyxml2::XML_SUCCESS);
  EXPECT_FALSE(map.Build("<a><b/><c/></a>", other));
  EXPECT_FALSE(map.Build("<a><b/></a>", other));
  EXPECT_FALSE(map.Build("<a><b/><e/>", other));
  EXPECT_EQ(map.Find(other.RootElement()), nullptr);
}

TEST(XmlSourceMapTest, NewAccidentalsAreWrittenIntoTheFileInItsOwnLayout) {
  std::string text =
      "<score-partwise>\r\n"
      "\t<part-list/>\r\n"
      "\t<note>\r\n"
      "\t\t<pitch><step>F</step><octave>4</octave></pitch>\r\n"
      "\t\t<type>quarter</type>\r\n"
      "\t\t<stem>up</stem>\r\n"
      "\t</note>\r\n"
      "\t<note><pitch><step>G</step><octave>4</octave></pitch><type>eighth</type></note>\r\n"
      "\t<note>\r\n"
      "\t\t<pitch><step>A</step><octave>4</octave></pitch>\r\n"
      "\t\t<accidental print-object=\"no\">sharp</accidental>\r\n"
      "\t</note>\r\n"
      "\t<note>\r\n"
      "\t  <rest/>\r\n"
      "\t</note>\r\n"
      "</score-partwise>\r\n";
  musicxml::MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(text, "layout.musicxml", &error)) << error;
  tinyxml2::XMLElement* note = document.Score()->FirstChildElement("note");
  for (int index = 0; note; ++index, note = note->NextSiblingElement("note")) {
    document.MarkChanged(musicxml::AccidentalElement::Write(note, index - 1, index == 2));
  }
  std::string expected =
      "<score-partwise>\r\n"
      "\t<part-list/>\r\n"
      "\t<note>\r\n"
      "\t\t<pitch><step>F</step><octave>4</octave></pitch>\r\n"
      "\t\t<type>quarter</type>\r\n"
      "\t\t<accidental cautionary=\"yes\">flat</accidental>\r\n"
      "\t\t<stem>up</stem>\r\n"
      "\t</note>\r\n"
      "\t<note><pitch><step>G</step><octave>4</octave></pitch><type>eighth</type>"
      "<accidental cautionary=\"yes\">natural</accidental></note>\r\n"
      "\t<note>\r\n"
      "\t\t<pitch><step>A</step><octave>4</octave></pitch>\r\n"
      "\t\t<accidental cautionary=\"yes\" parentheses=\"yes\">sharp</accidental>\r\n"
      "\t</note>\r\n"
      "\t<note>\r\n"
      "\t  <rest/>\r\n"
      "\t  <accidental cautionary=\"yes\">double-sharp</accidental>\r\n"
      "\t</note>\r\n"
      "</score-partwise>\r\n";
  EXPECT_EQ(musicxml_test::SavedTextOf(document), expected);
}

TEST(XmlSourceMapTest, AMapMadeAfterElementsWereAddedFindsTheParsedOnesAndPassesOverTheNew) {
  std::string text = "<a>\n  <b/>\n  <c><d>1</d></c>\n</a>\n";
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
  tinyxml2::XMLElement* root = document.RootElement();
  tinyxml2::XMLElement* c = root->FirstChildElement("c");
  tinyxml2::XMLElement* first = root->InsertFirstChild(document.NewElement("n"))->ToElement();
  tinyxml2::XMLElement* nested = c->InsertEndChild(document.NewElement("m"))->ToElement();
  nested->InsertEndChild(document.NewElement("k"));
  XmlSourceMap map;
  ASSERT_TRUE(map.Build(text, document));
  EXPECT_TRUE(XmlSourceMap::Matches(text, document));
  EXPECT_EQ(map.Find(first), nullptr);
  EXPECT_EQ(map.Find(nested), nullptr);
  const ElementSpan* span = map.Find(c);
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(text.substr(span->start, span->end - span->start), "<c><d>1</d></c>");
  span = map.Find(c->FirstChildElement("d"));
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(text.substr(span->start, span->end - span->start), "<d>1</d>");
  span = map.Find(root->FirstChildElement("b"));
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(text.substr(span->start, span->end - span->start), "<b/>");

  // An element of the file that was renamed no longer stands in the text.
  c->FirstChildElement("d")->SetName("e");
  EXPECT_FALSE(map.Build(text, document));
  EXPECT_FALSE(XmlSourceMap::Matches(text, document));
  EXPECT_EQ(map.Find(c), nullptr);
}

TEST(XmlSourceMapTest, MatchingAsksWhatBuildingAsks) {
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse("<a><b/><e/></a>"), tinyxml2::XML_SUCCESS);
  XmlSourceMap map;
  for (const std::string text : {"<a><b/><e/></a>", "<a><b/><c/></a>", "<a><b/></a>", "<a><b/><e/>",
                                 "<a><b/><e/></a><f/>", "<a><b/><e/></a></a>", "<!-- <x/> --><a><b/><e></e></a>"}) {
    EXPECT_EQ(XmlSourceMap::Matches(text, document), map.Build(text, document)) << text;
  }
  EXPECT_TRUE(XmlSourceMap::Matches("<a><b/><e></e></a>", document));
  EXPECT_FALSE(XmlSourceMap::Matches("<a><b/><e/></a></a>", document));
}

}  // namespace
