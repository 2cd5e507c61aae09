#include "musicxml/musicxml_document.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <thread>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "musicxml/accidental_element.h"
#include "musicxml/mxl_archive.h"
#include "tests/musicxml/musicxml_test_support.h"

#ifdef RZ_HAVE_LIBZIP
#include "tests/musicxml/mxl_test_support.h"
#endif

namespace {

namespace fs = std::filesystem;
using musicxml::MusicXmlDocument;

using musicxml_test::ReadFile;
using musicxml_test::TempFolder;
using musicxml_test::WriteFile;

const std::string kScore = musicxml_test::Score(
    {{"P1", "Flute", {musicxml_test::Attributes(1) + musicxml_test::PitchNote('C', 0, 5, 4, "1", "", "whole")}}});

TEST(MusicXmlDocumentTest, ReadsPlainScoresAndNamesWhatIsWrongWithOthers) {
  TempFolder folder;
  std::string error;
  MusicXmlDocument document;
  WriteFile(folder.File("score.musicxml"), kScore);
  ASSERT_TRUE(document.Load(folder.File("score.musicxml"), &error)) << error;
  EXPECT_FALSE(document.IsCompressed());
  EXPECT_STREQ(document.Score()->Name(), "score-partwise");

  EXPECT_FALSE(document.Load(folder.File("missing.musicxml"), &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
  EXPECT_NE(error.find("missing.musicxml"), std::string::npos) << error;

  WriteFile(folder.File("broken.xml"), "<score-partwise>\n<part-list>\n\n<score-part id=P1/>\n</part-list>\n");
  EXPECT_FALSE(document.Load(folder.File("broken.xml"), &error));
  EXPECT_NE(error.find("broken.xml:4:"), std::string::npos) << error;
  EXPECT_NE(error.find("not well-formed XML"), std::string::npos) << error;

  WriteFile(folder.File("page.xml"), "<html><body/></html>");
  EXPECT_FALSE(document.Load(folder.File("page.xml"), &error));
  EXPECT_NE(error.find("not a MusicXML score"), std::string::npos) << error;
  EXPECT_NE(error.find("<html>"), std::string::npos) << error;

  WriteFile(folder.File("timewise.xml"), "<score-timewise><part-list/></score-timewise>");
  EXPECT_FALSE(document.Load(folder.File("timewise.xml"), &error));
  EXPECT_NE(error.find("score-timewise files are not supported"), std::string::npos) << error;

  WriteFile(folder.File("empty.xml"), "");
  EXPECT_FALSE(document.Load(folder.File("empty.xml"), &error));
  EXPECT_NE(error.find("empty.xml: the file is empty"), std::string::npos) << error;
  WriteFile(folder.File("blank.xml"), std::string(4096, ' ') + "\r\n\t\n");
  EXPECT_FALSE(document.Load(folder.File("blank.xml"), &error));
  EXPECT_NE(error.find("blank.xml: the file holds no XML, only white space"), std::string::npos) << error;

  // A broken UTF-16 file is named as one.
  WriteFile(folder.File("wide.xml"), std::string("\xFF\xFE<\0s\0", 6));
  EXPECT_FALSE(document.Load(folder.File("wide.xml"), &error));
  EXPECT_NE(error.find("UTF-16 (little endian)"), std::string::npos) << error;

  EXPECT_FALSE(document.Load(folder.File(""), &error));
  EXPECT_FALSE(error.empty());
}

TEST(MusicXmlDocumentTest, SavingKeepsEveryNodeAndRefusesToMakeAnArchiveOfAPlainScore) {
  TempFolder folder;
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
      "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
      "<!-- written by hand -->\n" +
      kScore.substr(kScore.find("<score-partwise"));
  text.replace(text.find("Flute"), 5, "Fl&#251;te &amp; \xC3\xA9");
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(text, "in.musicxml", &error)) << error;
  ASSERT_TRUE(document.Save(folder.File("out.musicxml"), &error)) << error;
  // Unchanged, the file is written byte for byte as it was read.
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), text);
  EXPECT_FALSE(fs::exists(folder.File("out.musicxml.rzacc-part")));

  // A changed element is put in; the rest, entities and comment included, stays.
  tinyxml2::XMLElement* name =
      document.Score()->FirstChildElement("part-list")->FirstChildElement("score-part")->FirstChildElement("part-name");
  name->SetText("Flute & Piccolo");
  document.MarkChanged(name);
  std::string expected = text;
  size_t start = expected.find("<part-name>");
  expected.replace(start, expected.find("</part-name>") + 12 - start, "<part-name>Flute &amp; Piccolo</part-name>");
  ASSERT_TRUE(document.Save(folder.File("out.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), expected);

  EXPECT_FALSE(document.Save(folder.File("out.mxl"), &error));
  EXPECT_NE(error.find(".mxl"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("out.mxl")));
  EXPECT_FALSE(document.Save(folder.File("no/such/folder/out.musicxml"), &error));
  EXPECT_NE(error.find("cannot write " + folder.File("no/such/folder/out.musicxml") + ": " + std::strerror(ENOENT)),
            std::string::npos)
      << error;
}

TEST(MusicXmlDocumentTest, RemovedElementsTakeTheWhiteSpaceThatWasWrittenWithThem) {
  std::string text =
      "<score-partwise>\n  <a/>\n  <b>1</b>\n  <c/>\n  <d>\n    <e/>\n    <f/>\n  </d>\n  <g><h/><!-- h --></g>\n"
      "</score-partwise>\n";
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(text, "removed.xml", &error)) << error;
  tinyxml2::XMLElement* score = document.Score();
  tinyxml2::XMLElement* d = score->FirstChildElement("d");
  // Neighbours, two that share the white space between them (as apply never
  // adds them, the line of the first stays), and one followed by a comment
  // (taken out alone).
  EXPECT_TRUE(document.MarkRemoved(score->FirstChildElement("b")));
  EXPECT_TRUE(document.MarkRemoved(score->FirstChildElement("c")));
  EXPECT_TRUE(document.MarkRemoved(d->FirstChildElement("e")));
  EXPECT_TRUE(document.MarkRemoved(d->FirstChildElement("f")));
  EXPECT_TRUE(document.MarkRemoved(score->FirstChildElement("g")->FirstChildElement("h")));
  EXPECT_EQ(musicxml_test::SavedTextOf(document),
            "<score-partwise>\n  <a/>\n  <d>\n    \n  </d>\n  <g><!-- h --></g>\n</score-partwise>\n");
  // A changed element is written anew, not taken out.
  tinyxml2::XMLElement* a = score->FirstChildElement("a");
  document.MarkChanged(a);
  EXPECT_FALSE(document.MarkRemoved(a));
  EXPECT_FALSE(document.MarkRemoved(nullptr));
}

TEST(MusicXmlDocumentTest, SavingTouchesNoFileButTheOutputAndItsOwnTemporary) {
  TempFolder folder;
  // Names a fixed temporary name would have taken: a file, and a link to the
  // input. Neither may be written, renamed or removed.
  WriteFile(folder.File("in.musicxml"), kScore);
  WriteFile(folder.File("out.musicxml.rzacc-part"), "someone else's file");
#ifndef _WIN32
  fs::create_symlink(folder.File("in.musicxml"), folder.File("linked.musicxml.rzacc-part"));
#endif
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Load(folder.File("out.musicxml.rzacc-part"), &error) == false);
  ASSERT_TRUE(document.Load(folder.File("in.musicxml"), &error)) << error;
  ASSERT_TRUE(document.Save(folder.File("out.musicxml"), &error)) << error;
  ASSERT_TRUE(document.Save(folder.File("linked.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("out.musicxml.rzacc-part")), "someone else's file");
  EXPECT_EQ(ReadFile(folder.File("in.musicxml")), kScore);
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), kScore);
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder.File("")))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {"in.musicxml", "linked.musicxml", "out.musicxml", "out.musicxml.rzacc-part"};
#ifndef _WIN32
  expected.insert(expected.begin() + 2, "linked.musicxml.rzacc-part");
#endif
  EXPECT_EQ(names, expected) << "no temporary file is left behind";
}

TEST(MusicXmlDocumentTest, AnOutputThatIsNotARegularFileIsWrittenThroughOrRefusedButNeverReplaced) {
  TempFolder folder;
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(kScore, "in.musicxml", &error)) << error;
  std::string readOnly = folder.File("read_only.musicxml");
  WriteFile(readOnly, "old");
  fs::permissions(readOnly, fs::perms::owner_read);
  EXPECT_FALSE(document.Save(readOnly, &error));
  EXPECT_NE(error.find("cannot write " + readOnly + ": it is read-only"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(readOnly), "old");
  EXPECT_FALSE(document.Save(folder.File(""), &error));
  EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
  // The temporary name does not grow with the output's, which may be as
  // long as a name can be.
  ASSERT_TRUE(document.Save(folder.File(std::string(246, 'n') + ".musicxml"), &error)) << error;
#ifndef _WIN32
  std::string target = folder.File("target.musicxml");
  WriteFile(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("target.musicxml", folder.File("link.musicxml"));
  ASSERT_TRUE(document.Save(folder.File("link.musicxml"), &error)) << error;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.File("link.musicxml"))));
  EXPECT_EQ(ReadFile(target), kScore);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("nowhere.musicxml", folder.File("dangling.musicxml"));
  EXPECT_FALSE(document.Save(folder.File("dangling.musicxml"), &error));
  EXPECT_NE(error.find("it is a link to nothing"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("nowhere.musicxml")));

  std::string pipe = folder.File("pipe.musicxml");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::string piped;
  std::thread reader([&piped, &pipe] { piped = ReadFile(pipe); });
  EXPECT_TRUE(document.Save(pipe, &error)) << error;
  reader.join();
  EXPECT_EQ(piped, kScore);
  EXPECT_TRUE(fs::is_fifo(fs::status(pipe)));
  EXPECT_TRUE(document.Save("/dev/null", &error)) << error;
  EXPECT_TRUE(fs::is_character_file(fs::status("/dev/null")));
  EXPECT_FALSE(document.Save("/dev/full", &error));
  EXPECT_NE(error.find("cannot write /dev/full: " + std::string(std::strerror(ENOSPC))), std::string::npos) << error;

  std::string socketPath = folder.File("socket.musicxml");
  int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_FALSE(document.Save(socketPath, &error));
  EXPECT_NE(error.find("it is a socket or block device"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_socket(fs::status(socketPath)));
  close(listener);
#endif
}

TEST(MusicXmlDocumentTest, AScoreWhoseTextCannotBeMappedIsNeverReprinted) {
  // tinyxml2 stops at the stray end tag and keeps the score; the text then
  // holds more than the tree, and a reprinted tree did not read again.
  TempFolder folder;
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(kScore + "x</y>", "tail.musicxml", &error)) << error;
  tinyxml2::XMLElement* name =
      document.Score()->FirstChildElement("part-list")->FirstChildElement("score-part")->FirstChildElement("part-name");
  name->SetText("Piccolo");
  document.MarkChanged(name);
  EXPECT_FALSE(document.Save(folder.File("out.musicxml"), &error));
  EXPECT_NE(error.find("tail.musicxml: the score's text cannot be matched"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("out.musicxml")));
}

// Adds a cautionary sharp to the score's note and renames its part.
void ChangeNoteAndPartName(MusicXmlDocument* document) {
  tinyxml2::XMLElement* note = document->Score()->FirstChildElement("part")->FirstChildElement("measure");
  note = note->FirstChildElement("note");
  document->MarkChanged(musicxml::AccidentalElement::Write(note, 1, false, false, std::string()));
  tinyxml2::XMLElement* name = document->Score()
                                   ->FirstChildElement("part-list")
                                   ->FirstChildElement("score-part")
                                   ->FirstChildElement("part-name");
  name->SetText("Piccolo");
  document->MarkChanged(name);
}

TEST(MusicXmlDocumentTest, ChangesMadeBeforeTheTextIsFirstMappedAreWrittenAsIfMappedAtOnce) {
  TempFolder folder;
  std::string text = "<?xml version=\"1.0\"?>\n<!-- by hand -->\n" + kScore.substr(kScore.find("<score-partwise"));
  MusicXmlDocument early;
  MusicXmlDocument late;
  std::string error;
  ASSERT_TRUE(early.Parse(text, "early.musicxml", &error)) << error;
  ASSERT_TRUE(late.Parse(text, "late.musicxml", &error)) << error;
  EXPECT_EQ(musicxml_test::SavedTextOf(early), text);
  ChangeNoteAndPartName(&early);
  ChangeNoteAndPartName(&late);
  std::string written = musicxml_test::SavedTextOf(late);
  EXPECT_EQ(written, musicxml_test::SavedTextOf(early));
  EXPECT_NE(written.find("<accidental cautionary=\"yes\">sharp</accidental>"), std::string::npos) << written;
  EXPECT_NE(written.find("<part-name>Piccolo</part-name>"), std::string::npos) << written;
  EXPECT_EQ(written.find("Flute"), std::string::npos) << written;
  ASSERT_TRUE(late.Save(folder.File("out.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), written);
}

TEST(MusicXmlDocumentTest, AScoreWhoseTextCannotBeMappedIsRefusedWhenARemovalFirstAsksForTheMap) {
  TempFolder folder;
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(kScore + "x</y>", "tail.musicxml", &error)) << error;
  EXPECT_FALSE(document.MarkRemoved(document.Score()->FirstChildElement("part-list")));
  EXPECT_EQ(musicxml_test::SavedTextOf(document), "<no text: the document cannot be saved>");
  EXPECT_FALSE(document.Save(folder.File("out.musicxml"), &error));
  EXPECT_NE(error.find("the score's text cannot be matched"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("out.musicxml")));
}

TEST(MusicXmlDocumentTest, SavingAndLettingGoWritesWhatSavingWritesAndLeavesTheDocumentEmpty) {
  TempFolder folder;
  MusicXmlDocument kept;
  MusicXmlDocument released;
  std::string error;
  ASSERT_TRUE(kept.Parse(kScore, "kept.musicxml", &error)) << error;
  ASSERT_TRUE(released.Parse(kScore, "released.musicxml", &error)) << error;
  ChangeNoteAndPartName(&kept);
  ChangeNoteAndPartName(&released);
  ASSERT_TRUE(kept.Save(folder.File("kept.musicxml"), &error)) << error;
  ASSERT_TRUE(released.SaveAndRelease(folder.File("released.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("released.musicxml")), ReadFile(folder.File("kept.musicxml")));
  EXPECT_NE(ReadFile(folder.File("released.musicxml")).find("Piccolo"), std::string::npos);
  EXPECT_EQ(released.Score(), nullptr);
  EXPECT_EQ(musicxml_test::SavedTextOf(released), "<no text: the document cannot be saved>");
  EXPECT_FALSE(released.Save(folder.File("again.musicxml"), &error));
  EXPECT_FALSE(fs::exists(folder.File("again.musicxml")));

  // A score that cannot be written is refused and kept.
  MusicXmlDocument tail;
  ASSERT_TRUE(tail.Parse(kScore + "x</y>", "tail.musicxml", &error)) << error;
  EXPECT_FALSE(tail.SaveAndRelease(folder.File("tail.musicxml"), &error));
  EXPECT_NE(error.find("the score's text cannot be matched"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("tail.musicxml")));
  EXPECT_NE(tail.Score(), nullptr);

  // So is one whose changes cannot all be spliced into its text: a changed
  // note inside a measure that is taken out.
  MusicXmlDocument clash;
  ASSERT_TRUE(clash.Parse(kScore, "clash.musicxml", &error)) << error;
  tinyxml2::XMLElement* measure = clash.Score()->FirstChildElement("part")->FirstChildElement("measure");
  ASSERT_TRUE(clash.MarkRemoved(measure));
  clash.MarkChanged(measure->FirstChildElement("note"));
  EXPECT_FALSE(clash.SaveAndRelease(folder.File("clash.musicxml"), &error));
  EXPECT_FALSE(fs::exists(folder.File("clash.musicxml")));
  EXPECT_NE(clash.Score(), nullptr);
  EXPECT_EQ(musicxml_test::SavedTextOf(clash), "<no text: the document cannot be saved>");
}

TEST(MusicXmlDocumentTest, ADocumentThatDidNotReadAsAScoreHasNoTextToSave) {
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Parse(kScore, "score.musicxml", &error)) << error;
  for (const std::string text : {"", "<score-partwise>", "<html/>"}) {
    EXPECT_FALSE(document.Parse(text, "bad.musicxml", &error)) << text;
    EXPECT_EQ(musicxml_test::SavedTextOf(document), "<no text: the document cannot be saved>") << text;
  }
}

TEST(MusicXmlDocumentTest, OnlyRegularFilesAreRead) {
  TempFolder folder;
  MusicXmlDocument document;
  std::string error;
  EXPECT_FALSE(document.Load(folder.File(""), &error));
  EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
#ifndef _WIN32
  ASSERT_EQ(mkfifo(folder.File("pipe.musicxml").c_str(), 0600), 0);
  EXPECT_FALSE(document.Load(folder.File("pipe.musicxml"), &error)) << "and does not block";
  EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;
  EXPECT_FALSE(document.Load("/dev/zero", &error));
  EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;
#endif
}

#ifdef RZ_HAVE_LIBZIP

using musicxml_test::ArchiveEntry;
using musicxml_test::ReadArchive;
using musicxml_test::WriteArchive;

const char kContainer[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><container><rootfiles>"
    "<rootfile full-path=\"cover.png\" media-type=\"image/png\"/>"
    "<rootfile full-path=\"music/score.musicxml\" media-type=\"application/vnd.recordare.musicxml+xml\"/>"
    "</rootfiles></container>";

TEST(MusicXmlDocumentTest, CompressedScoresAreReadFromTheirRootFileAndWrittenBackEntryByEntry) {
  TempFolder folder;
  std::string binary("\x89PNG\r\n\x1a\n\0\0\0", 11);
  WriteArchive(folder.File("in.mxl"),
               {{"mimetype", "application/vnd.recordare.musicxml"},
                {"META-INF/container.xml", kContainer},
                {"music/score.musicxml", kScore},
                {"cover.png", binary}},
               {"mimetype"});
  MusicXmlDocument document;
  std::string error;
  ASSERT_TRUE(document.Load(folder.File("in.mxl"), &error)) << error;
  EXPECT_TRUE(document.IsCompressed());
  EXPECT_EQ(document.RootFilePath(), "music/score.musicxml");

  tinyxml2::XMLElement* name =
      document.Score()->FirstChildElement("part-list")->FirstChildElement("score-part")->FirstChildElement("part-name");
  name->SetText("Flute II");
  document.MarkChanged(name);
  ASSERT_TRUE(document.Save(folder.File("out.mxl"), &error)) << error;
  std::vector<ArchiveEntry> entries = ReadArchive(folder.File("out.mxl"));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "mimetype");
  EXPECT_TRUE(entries[0].stored);
  EXPECT_EQ(entries[0].content, "application/vnd.recordare.musicxml");
  EXPECT_EQ(entries[1].content, kContainer);
  EXPECT_EQ(entries[2].name, "music/score.musicxml");
  EXPECT_FALSE(entries[2].stored);
  EXPECT_EQ(entries[2].content, musicxml_test::SavedTextOf(document));
  EXPECT_NE(entries[2].content.find("<part-name>Flute II</part-name>"), std::string::npos);
  EXPECT_EQ(entries[3].content, binary);

  // A compressed score can also be written out plain.
  ASSERT_TRUE(document.Save(folder.File("out.musicxml"), &error)) << error;
  EXPECT_EQ(ReadFile(folder.File("out.musicxml")), musicxml_test::SavedTextOf(document));

  // An archive goes where a plain score goes: through a link, never over
  // a read-only file.
  std::string archive = ReadFile(folder.File("out.mxl"));
  fs::permissions(folder.File("out.mxl"), fs::perms::owner_read);
  EXPECT_FALSE(document.Save(folder.File("out.mxl"), &error));
  EXPECT_NE(error.find("it is read-only"), std::string::npos) << error;
#ifndef _WIN32
  fs::create_symlink("linked.mxl", folder.File("link.mxl"));
  WriteFile(folder.File("linked.mxl"), "old");
  ASSERT_TRUE(document.Save(folder.File("link.mxl"), &error)) << error;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.File("link.mxl"))));
  EXPECT_EQ(ReadFile(folder.File("linked.mxl")), archive);
#endif

  // Text the map cannot place is named in the member that holds it.
  WriteArchive(folder.File("tail.mxl"),
               {{"META-INF/container.xml", kContainer}, {"music/score.musicxml", kScore + "x</y>\n"}});
  ASSERT_TRUE(document.Load(folder.File("tail.mxl"), &error)) << error;
  EXPECT_FALSE(document.Save(folder.File("tail_out.mxl"), &error));
  EXPECT_NE(error.find("tail.mxl (music/score.musicxml): the score's text cannot be matched"), std::string::npos)
      << error;
}

// The archive with the uncompressed size of one entry in its central
// directory replaced by claimed.
std::string WithClaimedSize(std::string archive, const std::string& name, uint32_t claimed) {
  const size_t kNameOffset = 46;
  const size_t kSizeOffset = 24;
  for (size_t at = archive.find("PK\x01\x02"); at != std::string::npos; at = archive.find("PK\x01\x02", at + 4)) {
    if (archive.compare(at + kNameOffset, name.size(), name) != 0) continue;
    for (size_t byte = 0; byte < 4; ++byte) archive[at + kSizeOffset + byte] = static_cast<char>(claimed >> (8 * byte));
  }
  return archive;
}

TEST(MusicXmlDocumentTest, DamagedArchivesAreRefusedWithAMessage) {
  TempFolder folder;
  std::string error;
  MusicXmlDocument document;
  WriteArchive(folder.File("nocontainer.mxl"), {{"score.musicxml", kScore}});
  EXPECT_FALSE(document.Load(folder.File("nocontainer.mxl"), &error));
  EXPECT_NE(error.find("META-INF/container.xml"), std::string::npos) << error;

  WriteArchive(folder.File("norootfile.mxl"), {{"META-INF/container.xml", "<container><rootfiles/></container>"}});
  EXPECT_FALSE(document.Load(folder.File("norootfile.mxl"), &error));
  EXPECT_NE(error.find("names no score"), std::string::npos) << error;

  WriteArchive(folder.File("dangling.mxl"), {{"META-INF/container.xml", kContainer}});
  EXPECT_FALSE(document.Load(folder.File("dangling.mxl"), &error));
  EXPECT_NE(error.find("music/score.musicxml"), std::string::npos) << error;

  WriteArchive(folder.File("notascore.mxl"),
               {{"META-INF/container.xml", kContainer}, {"music/score.musicxml", "<html/>"}});
  EXPECT_FALSE(document.Load(folder.File("notascore.mxl"), &error));
  EXPECT_NE(error.find("not a MusicXML score"), std::string::npos) << error;

  // Damage that only a hand can do to a sound archive: a name given twice,
  // and entry sizes claimed far beyond what the archive holds.
  WriteArchive(folder.File("sound.mxl"),
               {{"META-INF/container.xml", kContainer},
                {"music/score.musicxml", kScore},
                {"cover1.png", "one"},
                {"cover2.png", "two"}},
               {"music/score.musicxml"});
  std::string sound = ReadFile(folder.File("sound.mxl"));
  std::string twice = sound;
  for (size_t at = twice.find("cover2.png"); at != std::string::npos; at = twice.find("cover2.png", at)) {
    twice[at + 5] = '1';
  }
  WriteFile(folder.File("twice.mxl"), twice);
  ASSERT_TRUE(document.Load(folder.File("twice.mxl"), &error)) << error;
  EXPECT_FALSE(document.Save(folder.File("out.mxl"), &error));
  EXPECT_NE(error.find("twice.mxl holds two entries named cover1.png"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(folder.File("out.mxl")));
  for (uint32_t claimed : {0xFFFFFFF0u, 200u << 20}) {
    WriteFile(folder.File("claims.mxl"), WithClaimedSize(sound, "music/score.musicxml", claimed));
    EXPECT_FALSE(document.Load(folder.File("claims.mxl"), &error));
    EXPECT_NE(error.find(claimed > (256u << 20) ? "is too large" : "damaged"), std::string::npos) << error;
  }

  WriteFile(folder.File("truncated.mxl"), std::string("PK\x03\x04\x14\0\0\0", 8));
  EXPECT_FALSE(document.Load(folder.File("truncated.mxl"), &error));
  EXPECT_NE(error.find("truncated.mxl"), std::string::npos) << error;
}

#else

TEST(MusicXmlDocumentTest, CompressedScoresAreRefusedWithoutLibzip) {
  TempFolder folder;
  WriteFile(folder.File("in.mxl"), std::string("PK\x03\x04\x14\0\0\0", 8));
  MusicXmlDocument document;
  std::string error;
  EXPECT_FALSE(musicxml::MxlArchive::IsAvailable());
  EXPECT_FALSE(document.Load(folder.File("in.mxl"), &error));
  EXPECT_NE(error.find("libzip"), std::string::npos) << error;
}

#endif

}  // namespace
