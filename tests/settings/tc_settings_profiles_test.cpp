#include "settings/tc_settings_profiles.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

#include "settings_test_support.h"
#include "shell/host_version.h"

namespace {

using settings_test::ReadBytes;
using settings_test::WriteBytes;

TCSettingsProfile* MakeProfile(const char* utf8Name, uint32_t checks, int32_t range) {
  auto* profile = new TCSettingsProfile;
  TCString name;
  name.SetUTF8(utf8Name);
  profile->SetName(&name);
  profile->SetCheckOptions(checks);
  profile->SetCourtesyMeasureRange(range);
  return profile;
}

std::vector<std::string> ChildNames(const tinyxml2::XMLNode* parent) {
  std::vector<std::string> names;
  for (const tinyxml2::XMLNode* node = parent->FirstChild(); node; node = node->NextSibling()) {
    if (node->ToElement())
      names.push_back(node->Value());
    else if (node->ToComment())
      names.push_back(std::string("comment:") + node->Value());
    else if (node->ToDeclaration())
      names.push_back("declaration");
    else if (node->ToText())
      names.push_back(std::string("text:") + node->Value());
  }
  return names;
}

class SettingsProfileStore : public settings_test::PluginFolderTest {
 protected:
  std::string StorageFile() const { return folder_.File("rzpluginstorage.xml").u8string(); }
  std::string StorageBytes() const { return ReadBytes(folder_.File("rzpluginstorage.xml")); }
  void PutStorage(const std::string& bytes) { WriteBytes(folder_.File("rzpluginstorage.xml"), bytes); }
  bool ParseStorage(tinyxml2::XMLDocument* document) const {
    std::string bytes = StorageBytes();
    return document->Parse(bytes.c_str(), bytes.size()) == tinyxml2::XML_SUCCESS;
  }
};

TEST_F(SettingsProfileStore, SaveIntoMissingFileCreatesTheWholeTree) {
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile("First", 0x1DF, 2));
  profiles.Add(MakeProfile("Second", 0x001, 6));
  ASSERT_TRUE(profiles.SaveProfiles());

  tinyxml2::XMLDocument document;
  ASSERT_TRUE(ParseStorage(&document));
  EXPECT_EQ(ChildNames(&document), (std::vector<std::string>{"RZPluginSettings"}));
  const tinyxml2::XMLElement* root = document.FirstChildElement("RZPluginSettings");
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Author", "RZAccidentals"}));
  EXPECT_STREQ(root->FirstChildElement("Author")->GetText(), "Anno Kvellar");
  const tinyxml2::XMLElement* list = root->FirstChildElement("RZAccidentals")->FirstChildElement("SettingsProfiles");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ChildNames(list), (std::vector<std::string>{"SettingsProfile", "SettingsProfile"}));
  int index = 1;
  for (const tinyxml2::XMLElement* profile = list->FirstChildElement(); profile;
       profile = profile->NextSiblingElement(), ++index) {
    int attributes = 0;
    for (const tinyxml2::XMLAttribute* a = profile->FirstAttribute(); a; a = a->Next()) {
      ++attributes;
    }
    EXPECT_EQ(attributes, 21);
    EXPECT_STREQ(profile->FirstAttribute()->Name(), "CollectionIdx");
    EXPECT_EQ(profile->IntAttribute("CollectionIdx"), index);
    EXPECT_STREQ(profile->FirstAttribute()->Next()->Name(), "Name");
  }
  EXPECT_STREQ(list->LastChildElement()->Attribute("CourtesyMeasureRange"), "6");
  EXPECT_STREQ(list->LastChildElement()->Attribute("LayeredInstruments"), "0");

  TCSettingsProfiles loaded;
  ASSERT_TRUE(loaded.LoadProfiles());
  ASSERT_EQ(loaded.GetCount(), 2);
  EXPECT_TRUE(loaded.GetProfileAt(0)->GetName()->IsEqualCString("First"));
  EXPECT_EQ(loaded.GetProfileAt(1)->GetCheckOptions(), 0x001u);
  EXPECT_EQ(loaded.GetProfileAt(1)->GetCourtesyMeasureRange(), 6);
}

TEST_F(SettingsProfileStore, SaveKeepsOtherPluginsDeclarationAndCommentsInOrder) {
  PutStorage(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- family settings -->\n"
      "<RZPluginSettings>\n"
      "  <Author>Anno Kvellar</Author>\n"
      "  <!-- keep me -->\n"
      "  <RZOther Size=\"3\"><Thing>text &amp; more</Thing></RZOther>\n"
      "  <RZAccidentals>\n"
      "    <Extra Keep=\"1\"/>\n"
      "    <SettingsProfiles><SettingsProfile Name=\"Old\"/><Junk/></SettingsProfiles>\n"
      "    <Later/>\n"
      "  </RZAccidentals>\n"
      "  <RZLast/>\n"
      "</RZPluginSettings>\n"
      "<!-- trailing -->\n");
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile("New", 0x1DF, 3));
  ASSERT_TRUE(profiles.SaveProfiles());

  tinyxml2::XMLDocument document;
  ASSERT_TRUE(ParseStorage(&document));
  EXPECT_EQ(ChildNames(&document), (std::vector<std::string>{"declaration", "comment: family settings ",
                                                             "RZPluginSettings", "comment: trailing "}));
  const tinyxml2::XMLElement* root = document.FirstChildElement("RZPluginSettings");
  EXPECT_EQ(ChildNames(root),
            (std::vector<std::string>{"Author", "comment: keep me ", "RZOther", "RZAccidentals", "RZLast"}));
  EXPECT_STREQ(root->FirstChildElement("RZOther")->Attribute("Size"), "3");
  EXPECT_STREQ(root->FirstChildElement("RZOther")->FirstChildElement("Thing")->GetText(), "text & more");
  const tinyxml2::XMLElement* plugin = root->FirstChildElement("RZAccidentals");
  EXPECT_EQ(ChildNames(plugin), (std::vector<std::string>{"Extra", "SettingsProfiles", "Later"}));
  const tinyxml2::XMLElement* list = plugin->FirstChildElement("SettingsProfiles");
  EXPECT_EQ(ChildNames(list), (std::vector<std::string>{"SettingsProfile"}));
  EXPECT_STREQ(list->FirstChildElement()->Attribute("Name"), "New");
  EXPECT_FALSE(settings_test::fs::exists(folder_.File("rzpluginstorage.xml.bak1")))
      << "the backup of a sound file goes once the new one has read back";
}

TEST_F(SettingsProfileStore, NonAsciiNameSurvivesSaveAndLoad) {
  // e acute, a Greek letter, a CJK character and one outside the BMP.
  const char* name = "R\xC3\xA9glage \xCE\xA9 \xE9\x9F\xB3 \xF0\x9D\x84\x9E";
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile(name, 0x1DF, 2));
  ASSERT_TRUE(profiles.SaveProfiles());
  EXPECT_NE(StorageBytes().find(name), std::string::npos) << "the name is stored as UTF-8";

  TCSettingsProfiles loaded;
  ASSERT_TRUE(loaded.LoadProfiles());
  ASSERT_EQ(loaded.GetCount(), 1);
  EXPECT_STREQ(loaded.GetProfileAt(0)->GetName()->GetUTF8(), name);
}

TEST_F(SettingsProfileStore, LoadKeepsFileOrderAndSkipsUnnamedProfiles) {
  PutStorage(
      "<RZPluginSettings><RZAccidentals><SettingsProfiles>"
      "<SettingsProfile CollectionIdx=\"2\" Name=\"B\" SystemTieMode=\"5\"/>"
      "<Other Name=\"not a profile\"/>"
      "<SettingsProfile CollectionIdx=\"3\" SystemTieMode=\"4\"/>"
      "<SettingsProfile CollectionIdx=\"1\" Name=\"A\"/>"
      "</SettingsProfiles></RZAccidentals></RZPluginSettings>");
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile("stale", 0, 0));
  ASSERT_TRUE(profiles.LoadProfiles());
  ASSERT_EQ(profiles.GetCount(), 2);
  EXPECT_TRUE(profiles.GetProfileAt(0)->GetName()->IsEqualCString("B"));
  EXPECT_EQ(profiles.GetProfileAt(0)->GetSystemTieMode(), 5);
  EXPECT_TRUE(profiles.GetProfileAt(1)->GetName()->IsEqualCString("A"));
}

TEST_F(SettingsProfileStore, RootWithoutThisPluginLoadsNothingAndSaveAppendsIt) {
  PutStorage("<RZPluginSettings><RZOther/><RZThird A=\"1\"/></RZPluginSettings>");
  TCSettingsProfiles profiles;
  EXPECT_FALSE(profiles.LoadProfiles());
  EXPECT_EQ(profiles.GetCount(), 0);

  profiles.Add(MakeProfile("Mine", 0x1DF, 2));
  ASSERT_TRUE(profiles.SaveProfiles());
  tinyxml2::XMLDocument document;
  ASSERT_TRUE(ParseStorage(&document));
  const tinyxml2::XMLElement* root = document.FirstChildElement("RZPluginSettings");
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"RZOther", "RZThird", "RZAccidentals"}));
  EXPECT_EQ(document.FirstChildElement()->NextSiblingElement(), nullptr) << "no second root";
}

TEST_F(SettingsProfileStore, DamagedFilesAreKeptAsBackupsAndWrittenFresh) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919 + 13) % 256));
  const std::vector<std::string> broken = {
      "<RZPluginSettings><RZAccidentals><SettingsProfiles><SettingsProfile Name=\"Cut",
      "<RZPluginSettings><RZAccidentals></RZPluginSettings>",
      "not XML at all",
      binary,
      std::string("\0<RZPluginSettings/>", 20),
      std::string(10 * 1024 * 1024, '<'),
  };
  int backups = 0;
  for (const std::string& bytes : broken) {
    PutStorage(bytes);
    TCSettingsProfiles profiles;
    profiles.Add(MakeProfile("in memory", 0, 0));
    EXPECT_FALSE(profiles.LoadProfiles()) << bytes.substr(0, 40);
    EXPECT_EQ(profiles.GetCount(), 0);
    profiles.Add(MakeProfile("edited", 0x1DF, 3));
    EXPECT_TRUE(profiles.SaveProfiles()) << bytes.substr(0, 40);
    ++backups;
    std::string backup = "rzpluginstorage.xml.bak" + std::to_string(backups);
    EXPECT_EQ(ReadBytes(folder_.File(backup.c_str())), bytes) << "no earlier backup is overwritten";
    TCSettingsProfiles loaded;
    ASSERT_TRUE(loaded.LoadProfiles());
    ASSERT_EQ(loaded.GetCount(), 1);
    EXPECT_TRUE(loaded.GetProfileAt(0)->HasSameValues(profiles.GetProfileAt(0)));
  }
}

TEST_F(SettingsProfileStore, AWriteThatDoesNotReadBackRestoresThePreviousFile) {
  // tinyxml2 drops what follows a stray end tag after the root, so this file
  // loads but would be printed into one that does not.
  const std::string bytes =
      "<RZPluginSettings><RZAccidentals><SettingsProfiles><SettingsProfile Name=\"Kept\"/>"
      "</SettingsProfiles></RZAccidentals></RZPluginSettings>x</y>";
  PutStorage(bytes);
  TCSettingsProfiles profiles;
  ASSERT_TRUE(profiles.LoadProfiles());
  ASSERT_EQ(profiles.GetCount(), 1);
  profiles.Add(MakeProfile("New", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_EQ(StorageBytes(), bytes);
  EXPECT_FALSE(settings_test::fs::exists(folder_.File("rzpluginstorage.xml.bak1")));
}

TEST_F(SettingsProfileStore, AFileBeyondSixteenMebibytesIsNeitherReadNorWritten) {
  std::string bytes =
      "<RZPluginSettings><RZAccidentals><SettingsProfiles><SettingsProfile Name=\"Big\"/>"
      "</SettingsProfiles></RZAccidentals><RZOther>";
  bytes += std::string(16u * 1024 * 1024, ' ') + "</RZOther></RZPluginSettings>";
  PutStorage(bytes);
  TCSettingsProfiles profiles;
  EXPECT_FALSE(profiles.LoadProfiles());
  profiles.Add(MakeProfile("New", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_EQ(StorageBytes().size(), bytes.size());
  EXPECT_FALSE(settings_test::fs::exists(folder_.File("rzpluginstorage.xml.bak1")));
}

TEST_F(SettingsProfileStore, EmptyFileLoadsNothingAndIsWrittenFresh) {
  for (const std::string& bytes : {std::string(), std::string(" \r\n\t \n")}) {
    PutStorage(bytes);
    TCSettingsProfiles profiles;
    EXPECT_FALSE(profiles.LoadProfiles());
    profiles.Add(MakeProfile("Fresh", 0x1DF, 2));
    ASSERT_TRUE(profiles.SaveProfiles());
    TCSettingsProfiles loaded;
    ASSERT_TRUE(loaded.LoadProfiles());
    ASSERT_EQ(loaded.GetCount(), 1);
    EXPECT_TRUE(loaded.GetProfileAt(0)->GetName()->IsEqualCString("Fresh"));
  }
}

TEST_F(SettingsProfileStore, HugeWellFormedFileKeepsItsContent) {
  std::string bytes = "<RZPluginSettings><RZOther>";
  std::string item = "<Item Value=\"0123456789012345678901234567890123456789\"/>\n";
  int written = 0;
  for (; bytes.size() < 10u * 1024 * 1024; ++written) bytes += item;
  bytes +=
      "</RZOther><RZAccidentals><SettingsProfiles><SettingsProfile Name=\"Big\"/>"
      "</SettingsProfiles></RZAccidentals></RZPluginSettings>";
  PutStorage(bytes);
  TCSettingsProfiles profiles;
  ASSERT_TRUE(profiles.LoadProfiles());
  ASSERT_EQ(profiles.GetCount(), 1);
  ASSERT_TRUE(profiles.SaveProfiles());
  tinyxml2::XMLDocument document;
  ASSERT_TRUE(ParseStorage(&document));
  const tinyxml2::XMLElement* other = document.FirstChildElement("RZPluginSettings")->FirstChildElement("RZOther");
  int items = 0;
  for (const tinyxml2::XMLElement* e = other->FirstChildElement("Item"); e; e = e->NextSiblingElement("Item")) {
    ++items;
  }
  EXPECT_EQ(items, written);
}

TEST_F(SettingsProfileStore, MissingFolderOrDirectoryInPlaceOfFileWritesNothing) {
  settings_test::fs::create_directory(folder_.File("rzpluginstorage.xml"));
  TCSettingsProfiles profiles;
  EXPECT_FALSE(profiles.LoadProfiles());
  profiles.Add(MakeProfile("Nowhere", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_TRUE(settings_test::fs::is_directory(folder_.File("rzpluginstorage.xml")));

  settings_test::fs::path missing = folder_.Path() / "no such folder";
  Host().Environment().SetPluginFolder(missing.u8string());
  EXPECT_FALSE(profiles.LoadProfiles());
  profiles.Add(MakeProfile("Nowhere", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_FALSE(settings_test::fs::exists(missing));
}

TEST_F(SettingsProfileStore, HostWithoutFolderGivesNoPath) {
  Host().Environment().SetPluginFolder("");
  char path[kStorageFilePathSize];
  path[0] = 'x';
  EXPECT_FALSE(TCSettingsProfiles::GetStorageFilePath(path));
  EXPECT_STREQ(path, "");
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile("Kept", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_EQ(profiles.GetCount(), 1);
}

TEST_F(SettingsProfileStore, FolderKindAndPathFormFollowTheHostVersion) {
  struct Case {
    uint32_t version;
    int64_t folderKind;
  };
  for (const Case& c :
       {Case{0x0F000000, 7}, Case{0x10000000, 15}, Case{0x10FFFFFF, 15}, Case{0x11000000, 15}, Case{0x12050000, 15}}) {
    UseHostVersion(c.version);
    TCSettingsProfiles profiles;
    profiles.Add(MakeProfile("Versioned", 0x1DF, c.version >> 24));
    ASSERT_TRUE(profiles.SaveProfiles()) << std::hex << c.version;
    TCSettingsProfiles loaded;
    ASSERT_TRUE(loaded.LoadProfiles()) << std::hex << c.version;
    EXPECT_EQ(loaded.GetProfileAt(0)->GetCourtesyMeasureRange(), static_cast<int32_t>(c.version >> 24));
    std::vector<headless::HostCall> calls = Host().CallLog().Named("TX_GetTavrelPath");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments.at(0), c.folderKind) << std::hex << c.version;
    EXPECT_TRUE(Host().Misuse().CallErrors().empty()) << Host().Misuse().CallErrors().front();
    char path[kStorageFilePathSize];
    ASSERT_TRUE(TCSettingsProfiles::GetStorageFilePath(path));
    EXPECT_EQ(std::string(path), folder_.Utf8() + "\\rzpluginstorage.xml");
  }
}

TEST_F(SettingsProfileStore, AccentedFolderWorksInBothPathForms) {
  // U+00E9 fits the 8-bit path; the folder is made under the name the C
  // library will be given (its Latin-1 byte on Linux, the ANSI code page on Windows).
#ifdef _WIN32
  settings_test::fs::path accented = folder_.Path() / u"R\u00E9glages";
#else
  settings_test::fs::path accented = folder_.Path() / "R\xE9glages";
#endif
  settings_test::fs::create_directory(accented);
  for (uint32_t version : {0x10500000u, 0x12050000u}) {
    ReinstallHost(version);
    Host().Environment().SetPluginFolder(folder_.Utf8() + "/R\xC3\xA9glages");
    TCSettingsProfiles profiles;
    profiles.Add(MakeProfile("Accented", 0x1DF, 2));
    ASSERT_TRUE(profiles.SaveProfiles()) << std::hex << version;
    EXPECT_TRUE(settings_test::fs::exists(accented / "rzpluginstorage.xml"));
    TCSettingsProfiles loaded;
    EXPECT_TRUE(loaded.LoadProfiles());
    settings_test::fs::remove(accented / "rzpluginstorage.xml");
  }
}

TEST_F(SettingsProfileStore, FolderBeyondEightBitsIsNotReplacedByItsLowBytes) {
  // U+0141 has the low byte of "A": the file must not land in folder "A".
  settings_test::fs::create_directory(folder_.Path() / "A");
  Host().Environment().SetPluginFolder(folder_.Utf8() + "/\xC5\x81");
  TCSettingsProfiles profiles;
  profiles.Add(MakeProfile("Lost", 0x1DF, 2));
  EXPECT_FALSE(profiles.SaveProfiles());
  EXPECT_FALSE(settings_test::fs::exists(folder_.Path() / "A" / "rzpluginstorage.xml"));
  EXPECT_FALSE(profiles.LoadProfiles());
}

TEST(SettingsProfiles, CopyFromMakesIndependentCopies) {
  TCSettingsProfiles source;
  source.Add(MakeProfile("One", 0x003, 1));
  source.Add(MakeProfile("Two", 0x100, 6));
  source.GetProfileAt(1)->SetParenthesisOptions(0x7F);
  source.GetProfileAt(1)->SetSystemTieMode(7);
  source.GetProfileAt(1)->SetNotationMode(3);

  TCSettingsProfiles copy;
  copy.Add(MakeProfile("replaced", 0, 0));
  copy.CopyFrom(&source);
  ASSERT_EQ(copy.GetCount(), 2);
  TCSettingsProfile* two = copy.GetProfileAt(1);
  EXPECT_NE(two, source.GetProfileAt(1));
  EXPECT_TRUE(two->GetName()->IsEqualCString("Two"));
  EXPECT_EQ(two->GetCheckOptions(), 0x100u);
  EXPECT_EQ(two->GetParenthesisOptions(), 0x7Fu);
  EXPECT_EQ(two->GetCourtesyMeasureRange(), 6);
  EXPECT_EQ(two->GetSystemTieMode(), 7);
  EXPECT_EQ(two->GetNotationMode(), 3);
  two->SetCheckOptions(0);
  EXPECT_EQ(source.GetProfileAt(1)->GetCheckOptions(), 0x100u);

  copy.CopyFrom(&copy);
  EXPECT_EQ(copy.GetCount(), 2) << "copying from itself must not empty the collection";
}

}  // namespace
