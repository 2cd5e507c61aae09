#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "musicxml/musicxml_document.h"
#include "musicxml/text_encoding.h"
#include "tests/musicxml/musicxml_test_support.h"

#ifdef RZ_HAVE_LIBZIP
#include "tests/musicxml/mxl_test_support.h"
#endif

namespace {

using musicxml::MusicXmlDocument;
using musicxml::TextEncoding;
using musicxml_test::ReadFile;
using musicxml_test::TempFolder;
using musicxml_test::Utf16;
using musicxml_test::WriteFile;

// A score with a part name beyond ASCII ("Flûte", and a clef sign from
// beyond the 16-bit range in a comment) in the given XML declaration.
std::string ScoreDeclaring(const std::string& encoding, const std::string& partName = "Fl\xC3\xBBte") {
  std::string text = musicxml_test::Score(
      {{"P1", partName, {musicxml_test::Attributes(1) + musicxml_test::PitchNote('C', 0, 5, 4, "1", "", "whole")}}});
  text.replace(text.find("UTF-8"), 5, encoding);
  return text;
}

std::string PartNameOf(MusicXmlDocument& document) {
  const char* name = document.Score()
                         ->FirstChildElement("part-list")
                         ->FirstChildElement("score-part")
                         ->FirstChildElement("part-name")
                         ->GetText();
  return name ? name : "";
}

// Loads bytes from a file, changes the part name and saves; answers what was written.
std::string LoadChangeAndSave(const TempFolder& folder, const std::string& bytes, std::string* readName) {
  WriteFile(folder.File("in.musicxml"), bytes);
  MusicXmlDocument document;
  std::string error;
  if (!document.Load(folder.File("in.musicxml"), &error)) return "not read: " + error;
  *readName = PartNameOf(document);
  tinyxml2::XMLElement* name =
      document.Score()->FirstChildElement("part-list")->FirstChildElement("score-part")->FirstChildElement("part-name");
  name->SetText("Fl\xC3\xBBte II");
  document.MarkChanged(name);
  if (!document.Save(folder.File("out.musicxml"), &error)) return "not written: " + error;
  return ReadFile(folder.File("out.musicxml"));
}

TEST(ScoreEncodingTest, Utf16InBothByteOrdersIsReadAndWrittenBackInTheSameBytes) {
  TempFolder folder;
  std::string utf8 = ScoreDeclaring("UTF-16");
  std::string changed = utf8;
  changed.replace(changed.find("Fl\xC3\xBBte"), 6, "Fl\xC3\xBBte II");
  for (bool bigEndian : {false, true}) {
    for (bool mark : {true, false}) {
      SCOPED_TRACE(std::string(bigEndian ? "big" : "little") + (mark ? " endian with mark" : " endian without mark"));
      std::string readName;
      EXPECT_EQ(LoadChangeAndSave(folder, Utf16(utf8, bigEndian, mark), &readName), Utf16(changed, bigEndian, mark));
      EXPECT_EQ(readName, "Fl\xC3\xBBte");
    }
  }
  // A character beyond the 16-bit range travels as a surrogate pair.
  std::string wide = ScoreDeclaring("UTF-16", "Clef \xF0\x9D\x84\x9E");
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(Utf16(wide, false), "wide", &error)) << error;
  EXPECT_EQ(PartNameOf(document), "Clef \xF0\x9D\x84\x9E");
  ASSERT_TRUE(document.Save(folder.File("wide.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("wide.musicxml")), Utf16(wide, false));
}

TEST(ScoreEncodingTest, Utf8WithAByteOrderMarkKeepsItsMark) {
  TempFolder folder;
  std::string readName;
  std::string written = LoadChangeAndSave(folder, "\xEF\xBB\xBF" + ScoreDeclaring("UTF-8"), &readName);
  EXPECT_EQ(readName, "Fl\xC3\xBBte");
  EXPECT_EQ(written.compare(0, 3, "\xEF\xBB\xBF"), 0);
  EXPECT_NE(written.find("<part-name>Fl\xC3\xBBte II</part-name>"), std::string::npos);
}

TEST(ScoreEncodingTest, EightBitEncodingsAreConvertedBothWays) {
  TempFolder folder;
  // "Flûte" is 0xFB in both; 0x80 is the euro sign in windows-1252 only.
  struct Case {
    const char* declared;
    std::string name;
    const char* readAs;
  } cases[] = {{"ISO-8859-1", "Fl\xFBte", "Fl\xC3\xBBte"},
               {"iso-8859-1", "Fl\xFBte \x80", "Fl\xC3\xBBte \xC2\x80"},
               {"windows-1252", "Fl\xFBte \x80", "Fl\xC3\xBBte \xE2\x82\xAC"}};
  for (const Case& item : cases) {
    SCOPED_TRACE(item.declared);
    std::string bytes = ScoreDeclaring(item.declared, item.name);
    std::string readName;
    std::string written = LoadChangeAndSave(folder, bytes, &readName);
    EXPECT_EQ(readName, item.readAs);
    std::string expected = bytes;
    expected.replace(expected.find(item.name), item.name.size(), "Fl\xFBte II");
    EXPECT_EQ(written, expected);
  }
}

TEST(ScoreEncodingTest, OtherEncodingsAndBrokenUtf16AreRefusedByName) {
  MusicXmlDocument document;
  std::string error;
  EXPECT_FALSE(document.Parse(ScoreDeclaring("Shift_JIS"), "japanese.musicxml", &error));
  EXPECT_NE(error.find("japanese.musicxml: the file is encoded as \"shift_jis\", which is not read"), std::string::npos)
      << error;
  std::string lone = Utf16(ScoreDeclaring("UTF-16"), false);
  lone.insert(lone.size() - 4, std::string("\x00\xD8", 2));
  EXPECT_FALSE(document.Parse(lone, "lone.musicxml", &error));
  EXPECT_NE(error.find("UTF-16 (little endian): the UTF-16 file holds a broken surrogate pair"), std::string::npos)
      << error;
  EXPECT_FALSE(document.Parse(Utf16(ScoreDeclaring("UTF-16"), true) + "x", "odd.musicxml", &error));
  EXPECT_NE(error.find("odd number of bytes"), std::string::npos) << error;

  // Text that an 8-bit file cannot hold is not written into it.
  ASSERT_TRUE(document.Parse(ScoreDeclaring("ISO-8859-1", "Flute"), "latin.musicxml", &error)) << error;
  tinyxml2::XMLElement* name =
      document.Score()->FirstChildElement("part-list")->FirstChildElement("score-part")->FirstChildElement("part-name");
  name->SetText("Fl\xE2\x82\xAC");
  document.MarkChanged(name);
  TempFolder folder;
  EXPECT_FALSE(document.Save(folder.File("out.musicxml"), &error));
  EXPECT_NE(error.find("ISO-8859-1, its encoding, cannot hold"), std::string::npos) << error;
}

#ifdef RZ_HAVE_LIBZIP

TEST(ScoreEncodingTest, ACompressedUtf16ScoreIsWrittenBackAsUtf16) {
  TempFolder folder;
  const std::string container =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<container><rootfiles>"
      "<rootfile full-path=\"score.musicxml\"/></rootfiles></container>\n";
  std::string utf8 = ScoreDeclaring("UTF-16");
  musicxml_test::WriteArchive(folder.File("in.mxl"),
                              {{"mimetype", "application/vnd.recordare.musicxml"},
                               {"META-INF/container.xml", container},
                               {"score.musicxml", Utf16(utf8, true)}},
                              {"mimetype"});
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Load(folder.File("in.mxl"), &error)) << error;
  EXPECT_EQ(PartNameOf(document), "Fl\xC3\xBBte");
  EXPECT_EQ(document.Encoding().GetForm(), TextEncoding::Form::Utf16BigEndian);
  ASSERT_TRUE(document.Save(folder.File("out.mxl"), &error)) << error;
  std::vector<musicxml_test::ArchiveEntry> entries = musicxml_test::ReadArchive(folder.File("out.mxl"));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].content, Utf16(utf8, true));
}

#endif

}  // namespace
