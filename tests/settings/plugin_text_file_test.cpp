#include "settings/plugin_text_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include <memory>
#include <string>
#include <vector>

#include "framework/tc_strings.h"
#include "settings/tc_file_stream.h"
#include "settings/tc_settings_pair.h"
#include "settings_test_support.h"

namespace {

using settings_test::ReadBytes;
using settings_test::TextLineEnd;
using settings_test::WriteBytes;

std::string Text(const TCString* text) { return text ? std::string(text->GetCString(), text->GetLength()) : "<null>"; }

std::unique_ptr<TCSettingsPairs> ParseText(const std::vector<std::string>& texts) {
  TCStrings lines;
  for (const std::string& text : texts) {
    auto* line = new TCString;
    for (char byte : text) line->AppendCharacter(static_cast<unsigned char>(byte));
    lines.Add(line);
  }
  return std::unique_ptr<TCSettingsPairs>(ParsePairs(&lines));
}

class PreferencesFile : public settings_test::PluginFolderTest {
 protected:
  settings_test::fs::path PrefsFile() const { return folder_.File("rzpluginprefs.txt"); }
  settings_test::fs::path OptionsFile() const { return folder_.File("rzpluginoptions.txt"); }
  std::unique_ptr<TCSettingsPairs> ReadPrefs(PreferencesRead* read = nullptr) {
    return std::unique_ptr<TCSettingsPairs>(ReadPreferencesFile(read));
  }
};

TEST(SettingsPairs, LinesBecomePairsAtTheirFirstEqualsSign) {
  std::unique_ptr<TCSettingsPairs> pairs = ParseText({
      "  RZACCIDENTALS_LAYERS \t=  7 ",
      "KEY=a=b",
      "=no key",
      "no separator",
      "",
      "EMPTY=",
      " =blank key",
  });
  ASSERT_EQ(pairs->GetCount(), 3) << "a key blank after trimming is no key";
  EXPECT_EQ(Text(pairs->GetPairAt(0)->GetKey()), "RZACCIDENTALS_LAYERS");
  EXPECT_EQ(Text(pairs->GetPairAt(0)->GetValue()), "7");
  EXPECT_EQ(Text(pairs->GetPairAt(1)->GetKey()), "KEY");
  EXPECT_EQ(Text(pairs->GetPairAt(1)->GetValue()), "a=b");
  EXPECT_EQ(Text(pairs->GetPairAt(2)->GetKey()), "EMPTY");
  EXPECT_EQ(Text(pairs->GetPairAt(2)->GetValue()), "");

  std::unique_ptr<TCSettingsPairs> none(ParsePairs(nullptr));
  EXPECT_EQ(none->GetCount(), 0);
}

TEST(SettingsPairs, KeysMatchIgnoringCaseAndTheFirstMatchWins) {
  std::unique_ptr<TCSettingsPairs> pairs =
      ParseText({"rzaccidentals_layers=3", "OTHER_KEY=x", "RZAccidentals_Layers=9"});
  TCSettingsPair* found = pairs->FindPair("RZACCIDENTALS_LAYERS");
  ASSERT_EQ(found, pairs->GetPairAt(0));
  EXPECT_EQ(pairs->FindPair("RZACCIDENTALS_LAYER"), nullptr);
  EXPECT_EQ(pairs->FindPair("RZACCIDENTALS_LAYERSS"), nullptr);
  EXPECT_EQ(pairs->FindPair(static_cast<const char*>(nullptr)), nullptr);
  // Only A to Z fold: "_" and "\x7F" differ by 32 as well, and must not match.
  EXPECT_EQ(pairs->FindPair("OTHER\x7FKEY"), nullptr);

  TCString value(" 15 ");
  TCString key("RZACCIDENTALS_LAYERS");
  EXPECT_EQ(pairs->SetPair(&key, &value), pairs->GetPairAt(0));
  EXPECT_EQ(Text(pairs->GetPairAt(0)->GetKey()), "rzaccidentals_layers");
  EXPECT_EQ(Text(pairs->GetPairAt(0)->GetValue()), " 15 ") << "a set value is stored exactly";
  EXPECT_EQ(Text(pairs->GetPairAt(2)->GetValue()), "9");

  TCSettingsPair* added = pairs->SetPair(" NEW_KEY ", " 1 ");
  ASSERT_EQ(pairs->GetCount(), 4);
  EXPECT_EQ(added, pairs->GetPairAt(3));
  EXPECT_EQ(Text(added->GetKey()), "NEW_KEY");
  EXPECT_EQ(Text(added->GetValue()), "1");
}

TEST_F(PreferencesFile, RewriteKeepsForeignKeysTheirOrderAndSpelling) {
  WriteBytes(PrefsFile(),
             "RZOTHER_SIZE=4\r\n"
             "rzaccidentals_layers=3\r\n"
             "garbage line\r\n"
             "RZACCIDENTALS_LAYERS=5\r\n"
             "RZOTHER_NAME = a=b \r\n");
  std::unique_ptr<TCSettingsPairs> pairs = ReadPrefs();
  ASSERT_EQ(pairs->GetCount(), 4);
  pairs->SetPair("RZACCIDENTALS_LAYERS", "15");
  pairs->SetPair("RZACCIDENTALS_RESPACE", "1");
  ASSERT_TRUE(WritePairsToFile(pairs.get()));

  const std::string end = TextLineEnd();
  EXPECT_EQ(ReadBytes(PrefsFile()), "RZOTHER_SIZE=4" + end + "rzaccidentals_layers=15" + end +
                                        "RZACCIDENTALS_LAYERS=5" + end + "RZOTHER_NAME=a=b" + end +
                                        "RZACCIDENTALS_RESPACE=1" + end);

  std::unique_ptr<TCSettingsPairs> reread = ReadPrefs();
  ASSERT_EQ(reread->GetCount(), 5) << "no empty lines between the written ones";
  EXPECT_EQ(Text(reread->FindPair("RZACCIDENTALS_RESPACE")->GetValue()), "1");
}

TEST_F(PreferencesFile, MissingOrEmptyFileGivesNoPairsAndWritingCreatesIt) {
  PreferencesRead read = PreferencesRead::Read;
  EXPECT_EQ(ReadPrefs(&read)->GetCount(), 0);
  EXPECT_EQ(read, PreferencesRead::Absent);
  WriteBytes(PrefsFile(), "");
  EXPECT_EQ(ReadPrefs(&read)->GetCount(), 0);
  EXPECT_EQ(read, PreferencesRead::Read);

  TCSettingsPairs pairs;
  pairs.SetPair("RZACCIDENTALS_WINDOWX", "-1");
  pairs.SetPair("RZACCIDENTALS_COLUMN1", "120");
  ASSERT_TRUE(WritePairsToFile(&pairs));
  EXPECT_EQ(ReadBytes(PrefsFile()),
            "RZACCIDENTALS_WINDOWX=-1" + TextLineEnd() + "RZACCIDENTALS_COLUMN1=120" + TextLineEnd());
}

TEST_F(PreferencesFile, UpdateKeepsEveryForeignKeyOfALargeFile) {
  std::string bytes;
  int foreign = 0;
  for (; bytes.size() < 100u * 1024; ++foreign) {
    bytes += "RZOTHER_KEY" + std::to_string(foreign) + "=" + std::string(40, 'v') + "\n";
  }
  bytes += " =blank key\n";
  WriteBytes(PrefsFile(), bytes);
  TCSettingsPairs ours;
  ours.SetPair("RZACCIDENTALS_LAYERS", "15");
  ASSERT_TRUE(UpdatePreferencesFile(&ours));

  PreferencesRead read = PreferencesRead::Failed;
  std::unique_ptr<TCSettingsPairs> pairs = ReadPrefs(&read);
  EXPECT_EQ(read, PreferencesRead::Read);
  ASSERT_EQ(pairs->GetCount(), foreign + 1);
  EXPECT_EQ(Text(pairs->GetPairAt(foreign - 1)->GetKey()), "RZOTHER_KEY" + std::to_string(foreign - 1));
  EXPECT_EQ(Text(pairs->GetPairAt(foreign)->GetValue()), "15");
  EXPECT_NE(ReadBytes(PrefsFile()).find(TextLineEnd() + " =blank key" + TextLineEnd()), std::string::npos)
      << "another program's line";
}

TEST_F(PreferencesFile, UpdateChangesOnlyOurLinesAndKeepsEveryOtherLineByteForByte) {
  const std::string others[] = {"# written by RZ Other", "no separator here", " =value of a blank key",
                                "  RZOTHER_SIZE = 4 ", ""};
  WriteBytes(PrefsFile(),
             "\xEF\xBB\xBF"
             "rzaccidentals_layers = 3\r\n" +
                 others[0] + "\r\n" + others[1] + "\n" + others[2] + "\r\n" + others[3] + "\r\n" + others[4] + "\r\n");
  PreferencesRead read = PreferencesRead::Failed;
  std::unique_ptr<TCSettingsPairs> before = ReadPrefs(&read);
  ASSERT_EQ(before->GetCount(), 2);
  EXPECT_EQ(Text(before->FindPair("RZACCIDENTALS_LAYERS")->GetValue()), "3") << "the mark hides no key";

  TCSettingsPairs ours;
  ours.SetPair("RZACCIDENTALS_LAYERS", "15");
  ours.SetPair("RZACCIDENTALS_RESPACE", "1");
  ASSERT_TRUE(UpdatePreferencesFile(&ours));
  std::string expected =
      "\xEF\xBB\xBF"
      "rzaccidentals_layers=15" +
      TextLineEnd();
  for (const std::string& other : others) expected += other + TextLineEnd();
  EXPECT_EQ(ReadBytes(PrefsFile()), expected + "RZACCIDENTALS_RESPACE=1" + TextLineEnd());
}

TEST_F(PreferencesFile, AFileThatCannotBeReadIsNeverRewritten) {
  settings_test::fs::create_directory(PrefsFile());
  PreferencesRead read = PreferencesRead::Read;
  EXPECT_EQ(ReadPrefs(&read)->GetCount(), 0);
  EXPECT_EQ(read, PreferencesRead::Failed) << "the caller must be able to tell it from a missing file";
  TCSettingsPairs pairs;
  pairs.SetPair("RZACCIDENTALS_LAYERS", "1");
  EXPECT_FALSE(UpdatePreferencesFile(&pairs));
  EXPECT_FALSE(WritePairsToFile(&pairs));
  EXPECT_TRUE(settings_test::fs::is_directory(PrefsFile()));

  Host().Environment().SetPluginFolder((folder_.Path() / "missing").u8string());
  EXPECT_EQ(ReadPrefs(&read)->GetCount(), 0);
  EXPECT_EQ(read, PreferencesRead::Absent);
  EXPECT_FALSE(UpdatePreferencesFile(&pairs));
  EXPECT_FALSE(settings_test::fs::exists(folder_.Path() / "missing"));
}

#ifndef _WIN32
// A write limit stands in for a disk that fills up during the rewrite.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    struct rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  struct rlimit previous_ {};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(PreferencesFile, ARewriteCutShortLeavesTheFileAsItWasAndNoBackup) {
  std::string bytes;
  for (int foreign = 0; foreign < 50; ++foreign) bytes += "RZOTHER_KEY" + std::to_string(foreign) + "=value\n";
  WriteBytes(PrefsFile(), bytes);
  TCSettingsPairs ours;
  ours.SetPair("RZACCIDENTALS_NAME", std::string(8192, 'n').c_str());
  {
    FileSizeLimit limit(bytes.size() + 100);
    EXPECT_FALSE(UpdatePreferencesFile(&ours));
  }
  EXPECT_EQ(ReadBytes(PrefsFile()), bytes) << "every other plug-in's key is still there";
  auto files = [this] {
    std::vector<std::string> names;
    for (const auto& entry : settings_test::fs::directory_iterator(folder_.Path())) {
      names.push_back(entry.path().filename().u8string());
    }
    return names;
  };
  EXPECT_EQ(files(), std::vector<std::string>{"rzpluginprefs.txt"});

  ASSERT_TRUE(UpdatePreferencesFile(&ours));
  EXPECT_EQ(ReadPrefs()->GetCount(), 51);
  EXPECT_EQ(files(), std::vector<std::string>{"rzpluginprefs.txt"});
}
#endif

TEST_F(PreferencesFile, BinaryContentAfterAPairYieldsOnlyThatPair) {
  std::string bytes = "RZACCIDENTALS_LAYERS=5\n";
  for (int i = 0; i < 8192; ++i) {
    char byte = static_cast<char>((i * 131 + 7) % 256);
    if (byte == '=') byte = '#';
    bytes.push_back(byte);
  }
  WriteBytes(PrefsFile(), bytes);
  std::unique_ptr<TCSettingsPairs> pairs = ReadPrefs();
  ASSERT_EQ(pairs->GetCount(), 1);
  EXPECT_EQ(Text(pairs->GetPairAt(0)->GetValue()), "5");
}

TEST_F(PreferencesFile, ZeroByteInAValueDoesNotJoinLinesOnRewrite) {
  WriteBytes(PrefsFile(), std::string("A=x\0y\nC=\x1A\nB=2\n", 14));
  std::unique_ptr<TCSettingsPairs> pairs = ReadPrefs();
  ASSERT_EQ(pairs->GetCount(), 3) << "0x1A ends a text-mode read on Windows, not ours";
  ASSERT_TRUE(WritePairsToFile(pairs.get()));
  EXPECT_EQ(ReadBytes(PrefsFile()),
            std::string("A=x\0y", 5) + TextLineEnd() + "C=\x1A" + TextLineEnd() + "B=2" + TextLineEnd());
  EXPECT_EQ(ReadPrefs()->GetCount(), 3);
}

TEST_F(PreferencesFile, OptionsAreLookedUpOneKeyAtATimeInTheOptionsFile) {
  WriteBytes(PrefsFile(), "RZACCIDENTALS_WINDOWSHADE=0\n");
  TCString shade("rzaccidentals_windowshade");
  EXPECT_EQ(ReadOption(&shade), nullptr) << "the options file does not exist";

  WriteBytes(OptionsFile(), "RZACCIDENTALS_WINDOWALPHA = 0\r\nRZACCIDENTALS_WINDOWSHADE= 1 \r\n");
  std::unique_ptr<TCSettingsPair> option(ReadOption(&shade));
  ASSERT_NE(option, nullptr);
  EXPECT_EQ(Text(option->GetKey()), "RZACCIDENTALS_WINDOWSHADE");
  EXPECT_EQ(Text(option->GetValue()), "1");
  TCString absent("RZACCIDENTALS_NONE");
  EXPECT_EQ(ReadOption(&absent), nullptr);
  EXPECT_EQ(ReadOption(nullptr), nullptr);
  EXPECT_EQ(ReadBytes(OptionsFile()), "RZACCIDENTALS_WINDOWALPHA = 0\r\nRZACCIDENTALS_WINDOWSHADE= 1 \r\n");
}

}  // namespace
