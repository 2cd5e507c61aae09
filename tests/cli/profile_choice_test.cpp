#include "cli/profile_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/musicxml/musicxml_test_support.h"

namespace {

using musicxml_test::TempFolder;
using musicxml_test::WriteFile;
using rzacc::ProfileChoice;

std::string ProfilesFile(const std::string& profiles) {
  return "<?xml version=\"1.0\"?>\n<RZPluginSettings><Author>Anno Kvellar</Author><Other/><RZAccidentals>"
         "<SettingsProfiles>" +
         profiles + "</SettingsProfiles></RZAccidentals></RZPluginSettings>\n";
}

TEST(ProfileChoiceTest, WithoutAFileANewProfilesSettingsAreUsed) {
  ProfileChoice choice;
  std::string error;
  ASSERT_TRUE(choice.Choose("", "", &error));
  EXPECT_EQ(choice.Name(), "Default Profile");
  EXPECT_EQ(choice.Settings().checkOptions, 0x1DFu);
  EXPECT_EQ(choice.Settings().parenthesisOptions, 0x31u);
  EXPECT_EQ(choice.Settings().courtesyMeasureRange, 2);
  EXPECT_EQ(choice.Settings().systemTieMode, 0);
}

TEST(ProfileChoiceTest, AProfileIsPickedByNameOrTheFirstOneIsTaken) {
  TempFolder folder;
  WriteFile(folder.File("p.xml"),
            ProfilesFile("<SettingsProfile Name=\"Loose\" CourtesyMeasureRange=\"0\" CrossStaveChecks=\"0\"/>"
                         "<SettingsProfile Name=\"Ties \xC3\xA9\" SystemTieMode=\"7\" ParenSystemBreaks=\"1\" "
                         "ParenSameBeat=\"0\"/>"
                         "<SettingsProfile CourtesyMeasureRange=\"5\"/>"));
  ProfileChoice choice;
  std::string error;
  ASSERT_TRUE(choice.Choose(folder.File("p.xml"), "", &error)) << error;
  EXPECT_EQ(choice.Name(), "Loose");
  EXPECT_EQ(choice.Settings().courtesyMeasureRange, 0);
  EXPECT_EQ(choice.Settings().checkOptions, 0x1DEu);

  ASSERT_TRUE(choice.Choose(folder.File("p.xml"), "Ties \xC3\xA9", &error)) << error;
  EXPECT_EQ(choice.Name(), "Ties \xC3\xA9");
  EXPECT_EQ(choice.Settings().systemTieMode, 7);
  EXPECT_EQ(choice.Settings().parenthesisOptions, 0x70u);
  EXPECT_EQ(choice.Settings().courtesyMeasureRange, 2);

  // The profile without a name is not loaded, so it cannot be chosen.
  EXPECT_FALSE(choice.Choose(folder.File("p.xml"), "Strict", &error));
  EXPECT_EQ(error,
            "there is no profile \"Strict\" in " + folder.File("p.xml") + " (it holds \"Loose\", \"Ties \xC3\xA9\")");

  WriteFile(folder.File("none.xml"), ProfilesFile(""));
  ASSERT_TRUE(choice.Choose(folder.File("none.xml"), "", &error)) << error;
  EXPECT_EQ(choice.Name(), "Default Profile");
  EXPECT_EQ(choice.Settings().checkOptions, 0x1DFu);
  EXPECT_FALSE(choice.Choose(folder.File("none.xml"), "Loose", &error));
  EXPECT_NE(error.find("(it holds no profiles)"), std::string::npos) << error;
}

TEST(ProfileChoiceTest, FilesThatHoldNoProfilesAreRefused) {
  TempFolder folder;
  ProfileChoice choice;
  std::string error;
  EXPECT_FALSE(choice.Choose(folder.File("missing.xml"), "", &error));
  EXPECT_NE(error.find("cannot open the profiles file"), std::string::npos) << error;

  WriteFile(folder.File("broken.xml"), "<RZPluginSettings>\n<RZAccidentals>\n</RZPluginSettings>\n");
  EXPECT_FALSE(choice.Choose(folder.File("broken.xml"), "", &error));
  EXPECT_NE(error.find("broken.xml:"), std::string::npos) << error;
  EXPECT_NE(error.find("not well-formed XML"), std::string::npos) << error;

  WriteFile(folder.File("other.xml"), "<RZPluginSettings><RZOther/></RZPluginSettings>");
  EXPECT_FALSE(choice.Choose(folder.File("other.xml"), "", &error));
  EXPECT_NE(error.find("holds no RZ Accidentals profiles"), std::string::npos) << error;
  // A refused file leaves a new profile's settings, not half of another's.
  EXPECT_EQ(choice.Name(), "Default Profile");
}

}  // namespace
