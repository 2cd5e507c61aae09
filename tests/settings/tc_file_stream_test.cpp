#include "settings/tc_file_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/tc_strings.h"
#include "settings/plugin_folder.h"
#include "settings/plugin_text_file.h"
#include "settings_test_support.h"
#include "shell/host_version.h"

namespace {

using settings_test::WriteBytes;

class TextFileStream : public settings_test::PluginFolderTest {
 protected:
  // The lines of the preferences file after writing bytes into it.
  std::vector<std::string> LinesOf(const std::string& bytes) {
    WriteBytes(folder_.File("rzpluginprefs.txt"), bytes);
    std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
    std::vector<std::string> lines;
    if (!stream->OpenRead()) return {"<not opened>"};
    while (std::unique_ptr<TCString> line{stream->ReadLine()}) {
      lines.emplace_back(line->GetCString(), line->GetLength());
    }
    return lines;
  }
};

TEST_F(TextFileStream, EveryLineEndFormEndsExactlyOneLine) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(LinesOf("A=1\r\nB=2\r\n"), (Lines{"A=1", "B=2"}));
  EXPECT_EQ(LinesOf("A=1\rB=2\r"), (Lines{"A=1", "B=2"}));
  EXPECT_EQ(LinesOf("A=1\nB=2"), (Lines{"A=1", "B=2"}));
  EXPECT_EQ(LinesOf("A=1\r\n\r\nB=2\n\rC"), (Lines{"A=1", "", "B=2", "", "C"}));
  EXPECT_EQ(LinesOf("\r"), (Lines{""}));
  EXPECT_EQ(LinesOf(""), (Lines{}));
  EXPECT_EQ(LinesOf(std::string("x\0y\n", 4)), (Lines{std::string("x\0y", 3)}));
}

TEST_F(TextFileStream, BytesAboveAsciiReadAsTheirOwnCodeUnits) {
  WriteBytes(folder_.File("rzpluginprefs.txt"), "K=\xE9\xFF\n");
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  ASSERT_TRUE(stream->OpenRead());
  std::unique_ptr<TCString> line(stream->ReadLine());
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->GetLength(), 4u);
  EXPECT_EQ(line->GetCharAt(2), 0xE9);
  EXPECT_EQ(line->GetCharAt(3), 0xFF);
}

TEST_F(TextFileStream, NothingIsReadWithoutAnOpenFile) {
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  EXPECT_EQ(stream->ReadLine(), nullptr);
  EXPECT_EQ(stream->ReadAllLines(), nullptr);
  EXPECT_FALSE(stream->OpenRead()) << "the file does not exist yet";
  EXPECT_EQ(stream->ReadAllLines(), nullptr);
}

TEST_F(TextFileStream, LargeFilesAndLongLinesReadWhole) {
  // Shared by a family of plug-ins, the file may well pass 64 KiB; a single
  // 4 MiB line must read in linear time, not by growing text unit by unit.
  std::string line = "RZOTHER_RECENT=" + std::string(100, 'r') + "\n";
  std::string bytes;
  while (bytes.size() < 256u * 1024) bytes += line;
  bytes += "RZACCIDENTALS_LAYERS=15\n" + std::string(4u * 1024 * 1024, 'x') + "\nLAST=1";
  WriteBytes(folder_.File("rzpluginprefs.txt"), bytes);
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  ASSERT_TRUE(stream->OpenRead());
  std::unique_ptr<TCStrings> lines(stream->ReadAllLines());
  ASSERT_NE(lines, nullptr);
  EXPECT_FALSE(stream->ReadFailed());
  int32_t count = lines->GetCount();
  ASSERT_EQ(count, static_cast<int32_t>((bytes.size() - 4u * 1024 * 1024) / line.size()) + 3);
  EXPECT_EQ(lines->GetStringAt(count - 2)->GetLength(), 4u * 1024 * 1024);
  EXPECT_TRUE(lines->GetStringAt(count - 1)->IsEqualCString("LAST=1"));
}

TEST_F(TextFileStream, AFolderOpenedAsTheFileIsAFailedReadNotAMissingFile) {
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  EXPECT_FALSE(stream->OpenRead());
  EXPECT_TRUE(stream->IsMissing());

  settings_test::fs::create_directory(folder_.File("rzpluginprefs.txt"));
  // Windows refuses to open a folder; Linux opens it and fails the first read.
  if (stream->OpenRead()) {
    EXPECT_EQ(stream->ReadAllLines(), nullptr);
    EXPECT_TRUE(stream->ReadFailed());
  }
  EXPECT_FALSE(stream->IsMissing());
}

TEST_F(TextFileStream, MissingOrEmptyFolderOpensNothing) {
  Host().Environment().SetPluginFolder((folder_.Path() / "missing").u8string());
  std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(true));
  EXPECT_FALSE(stream->OpenWrite());
  EXPECT_FALSE(settings_test::fs::exists(folder_.Path() / "missing"));

  // Without a folder the path would be the root of the drive.
  Host().Environment().SetPluginFolder("");
  std::unique_ptr<TCTextFileStream> rootless(CreatePluginTextFile(true));
  std::string path;
  EXPECT_FALSE(rootless->BuildPath(&path));
  EXPECT_FALSE(rootless->OpenWrite());
  EXPECT_FALSE(rootless->IsOpen());
}

TEST_F(TextFileStream, FolderKindAndPathFormFollowTheHostVersion) {
  for (uint32_t version : {0x0F000000u, 0x10000000u, 0x11000000u}) {
    UseHostVersion(version);
    std::unique_ptr<TCTextFileStream> stream(CreatePluginTextFile(false));
    std::string path;
    ASSERT_TRUE(stream->BuildPath(&path)) << std::hex << version;
    EXPECT_EQ(path, folder_.Utf8() + "\\rzpluginoptions.txt");
    std::vector<headless::HostCall> calls = Host().CallLog().Named("TX_GetTavrelPath");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments.at(0), version < 0x10000000u ? 7 : 15);
    EXPECT_TRUE(Host().Misuse().CallErrors().empty());
  }
}

TEST(PluginFolderBuffer, FullBufferIsNeverReadPastItsEnd) {
  std::vector<uint8_t> buffer(kPluginFolderBufferSize, 'a');
  TCString folder;
  uint32_t previous = GetHostVersion();
  SetHostVersion(0x10500000);
  PluginFolderBufferToString(buffer.data(), &folder);
  EXPECT_EQ(folder.GetLength(), static_cast<uint32_t>(kPluginFolderBufferSize));
  SetHostVersion(0x11000000);
  PluginFolderBufferToString(buffer.data(), &folder);
  EXPECT_EQ(folder.GetLength(), static_cast<uint32_t>(kPluginFolderBufferSize / 2));
  EXPECT_EQ(folder.GetCharAt(0), 0x6161);
  SetHostVersion(previous);
}

}  // namespace
