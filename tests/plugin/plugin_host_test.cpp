// The plug-in DLL as Tavrel meets it: copied into the plug-in folder of the
// stand-in host, loaded through its exports, used through its windows by a
// scripted session, and the files it leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Build paths come as Unix paths; Wine shows the Unix root as drive Z:.
fs::path WindowsPath(const std::string& path) {
  std::string converted = path;
  for (char& character : converted) {
    if (character == '/') character = '\\';
  }
  if (!converted.empty() && converted[0] == '\\') converted = "Z:" + converted;
  return fs::path(converted);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream << text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Example(const std::string& name) {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  return (WindowsPath(source ? source : ".") / "examples" / name).string();
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A plug-in folder holding the DLL, a session of the stand-in host on it,
// and what the session logged.
class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("rz_plugin_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_ / "Plug-ins");
    fs::copy_file(WindowsPath(RZ_PLUGIN_DLL), folder_ / "Plug-ins" / "RZAccidentals.dll");
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(folder_, error);
  }

  fs::path PluginFile(const char* name) const { return folder_ / "Plug-ins" / name; }

  // Runs the host with the script on the score; answers its exit status.
  int RunHost(const std::string& script, const std::string& score = std::string()) {
    WriteFile(folder_ / "script.txt", script);
    std::wstring command = L"\"" + WindowsPath(RZ_HOST_PROGRAM).wstring() + L"\" --plugins \"" +
                           (folder_ / "Plug-ins").wstring() + L"\" --script \"" + (folder_ / "script.txt").wstring() +
                           L"\" --log \"" + (folder_ / "log.txt").wstring() + L"\"";
    if (!score.empty()) command += L" \"" + fs::path(score).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      ADD_FAILURE() << "the stand-in host did not start";
      return -1;
    }
    DWORD status = 99;
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    log_ = Lines(ReadFile(folder_ / "log.txt"));
    return static_cast<int>(status);
  }

  std::vector<std::string> LogLines(const std::string& start) const {
    std::vector<std::string> found;
    for (const std::string& line : log_) {
      if (line.compare(0, start.size(), start) == 0) found.push_back(line);
    }
    return found;
  }

  std::string LogText() const {
    std::string text;
    for (const std::string& line : log_) text += line + "\n";
    return text;
  }

  fs::path folder_;
  std::vector<std::string> log_;
};

std::string HexOfRecord(const std::vector<std::pair<size_t, std::string>>& texts, size_t size, bool wide) {
  std::vector<uint8_t> record(size, 0);
  for (const auto& text : texts) {
    for (size_t index = 0; index < text.second.size(); ++index) {
      record[text.first + index * (wide ? 2 : 1)] = static_cast<uint8_t>(text.second[index]);
    }
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t byte : record) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 15]);
  }
  return hex;
}

const char kMenuText[] = "RZ Accidentals...";
const char kDescription[] = "Suggests cautionary accidentals to be added for the document.";

TEST_F(PluginHostTest, TheHostListsTheMenuEntryFromBothRecordForms) {
  ASSERT_EQ(RunHost("dump-menu\nquit\n"), 0) << LogText();
  std::vector<std::string> plugins = LogLines("plugin ");
  ASSERT_EQ(plugins.size(), 1u) << LogText();
  EXPECT_EQ(plugins[0], "plugin RZAccidentals.dll version 251658240 flags 1 entries 1");
  std::vector<std::string> records = LogLines("record8 ");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0],
            "record8 " + HexOfRecord({{0, kMenuText}, {64, kDescription}, {128, "Accidentals"}}, 196, false));
  std::vector<std::string> wideRecords = LogLines("record16 ");
  ASSERT_EQ(wideRecords.size(), 1u);
  EXPECT_EQ(wideRecords[0],
            "record16 " + HexOfRecord({{0, kMenuText}, {256, kDescription}, {512, "Accidentals"}}, 772, true));
}

TEST_F(PluginHostTest, TheExportsAnswerAsTheHostExpects) {
  HMODULE module = LoadLibraryW((folder_ / "Plug-ins" / "RZAccidentals.dll").wstring().c_str());
  ASSERT_NE(module, nullptr);
  using Init = uint32_t(__stdcall*)(uint32_t, uint32_t*);
  using Enumerate = uint32_t(__stdcall*)(uint32_t, uint32_t, uint8_t*);
  using OneValue = uint32_t(__stdcall*)(uint32_t);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(module, "TavrelExtensionInit")));
  auto enumerate =
      reinterpret_cast<Enumerate>(reinterpret_cast<void*>(GetProcAddress(module, "TavrelExtensionEnumerate")));
  auto enumerateWide =
      reinterpret_cast<Enumerate>(reinterpret_cast<void*>(GetProcAddress(module, "TavrelExtensionEnumerate_UTF16")));
  auto status =
      reinterpret_cast<OneValue>(reinterpret_cast<void*>(GetProcAddress(module, "TavrelExtensionGetMenuStatus")));
  auto terminate =
      reinterpret_cast<OneValue>(reinterpret_cast<void*>(GetProcAddress(module, "TavrelExtensionTerminate")));
  ASSERT_TRUE(init && enumerate && enumerateWide && status && terminate);
  uint32_t flags = 6;
  EXPECT_EQ(init(0, &flags), 1u);
  EXPECT_EQ(flags, 7u);
  std::vector<uint8_t> record(196, 0xCC);
  EXPECT_EQ(enumerate(0, 1, record.data()), 0u);
  EXPECT_EQ(record[0], 0xCC) << "a refused entry leaves the record alone";
  EXPECT_EQ(enumerate(0, 0xFFFF, record.data()), 1u) << "index -1 in the low 16 bits";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record.data())), kMenuText);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record.data() + 64)), kDescription);
  EXPECT_EQ(record[64 + 61], 0);
  std::vector<uint8_t> wide(772, 0xCC);
  EXPECT_EQ(enumerateWide(0, 1, wide.data()), 0u);
  EXPECT_EQ(enumerateWide(0, 0x10000, wide.data()), 1u) << "only the low 16 bits count";
  EXPECT_EQ(status(0), 1u);
  // Termination before any invocation makes and writes nothing.
  terminate(0);
  FreeLibrary(module);
  EXPECT_FALSE(fs::exists(PluginFile("rzpluginprefs.txt")));
}

TEST_F(PluginHostTest, TwoInvocationsShowOneWindowAndScanListsTheFindings) {
  std::string script =
      "invoke\n"
      "invoke\n"
      "count \"RZ Accidentals\"\n"
      "click \"RZ Accidentals\" 1\n"
      "dump-list \"RZ Accidentals\" 109\n"
      "dump-text \"RZ Accidentals\" 106\n"
      "terminate\n"
      "quit\n";
  ASSERT_EQ(RunHost(script, Example("piano_grand_staff.musicxml")), 0) << LogText();
  EXPECT_EQ(LogLines("count ")[0], "count \"RZ Accidentals\" 1");
  EXPECT_TRUE(LogLines("box ").empty()) << LogText();
  std::vector<std::string> rows = LogLines("row ");
  ASSERT_EQ(rows.size(), 3u) << LogText();
  EXPECT_EQ(rows[0], "row [x] Piano [Staff 2]|M 1: L 1: #1|F3|Differ on beat with F#4 (on grand staff).|(n) *");
  EXPECT_EQ(rows[1], "row [x] Piano [Staff 2]|M 3: L 1: #1|D3|Differ on beat with D#5 (on grand staff).|(n) *");
  EXPECT_EQ(rows[2], "row [x] Piano [Staff 2]|M 2: L 1: #2|C3|Pitch diff with C#5 (on grand staff).|n *");
}

TEST_F(PluginHostTest, ChangeCheckedThenSaveWritesTheAccidentalsAndUndoGivesTheScoreBack) {
  std::string input = ReadFile(Example("piano_grand_staff.musicxml"));
  fs::path changed = folder_ / "changed.musicxml";
  fs::path undone = folder_ / "undone.musicxml";
  std::string script =
      "invoke\n"
      "click \"RZ Accidentals\" 1\n"
      "check \"RZ Accidentals\" 109 1 off\n"
      "click \"RZ Accidentals\" 114\n"
      "dump-list \"RZ Accidentals\" 109\n"
      "save \"" +
      changed.string() +
      "\"\n"
      "undo\n"
      "save \"" +
      undone.string() +
      "\"\n"
      "quit\n";
  ASSERT_EQ(RunHost(script, Example("piano_grand_staff.musicxml")), 0) << LogText();
  std::vector<std::string> rows = LogLines("row ");
  ASSERT_EQ(rows.size(), 1u) << LogText();
  EXPECT_EQ(rows[0], "row [ ] Piano [Staff 2]|M 3: L 1: #1|D3|Differ on beat with D#5 (on grand staff).|(n) *");
  std::string written = ReadFile(changed);
  EXPECT_EQ(Count(written, "<accidental"), Count(input, "<accidental") + 2) << written;
  EXPECT_EQ(ReadFile(undone), input);
}

TEST_F(PluginHostTest, TerminationKeepsTheChoicesForTheNextSession) {
  std::string first =
      "invoke\n"
      "move \"RZ Accidentals\" 60 50\n"
      "check \"RZ Accidentals\" 103 1 off\n"
      "column-width \"RZ Accidentals\" 109 3 200\n"
      "click \"RZ Accidentals\" 1\n"
      "terminate\n"
      "quit\n";
  ASSERT_EQ(RunHost(first, Example("piano_grand_staff.musicxml")), 0) << LogText();
  std::string preferences = ReadFile(PluginFile("rzpluginprefs.txt"));
  EXPECT_NE(preferences.find("RZACCIDENTALS_WINDOWX=60"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_WINDOWY=50"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_LAYERS=13"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_COLUMN4=200"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_SELECTEDPROFILE=0"), std::string::npos) << preferences;
  std::string storage = ReadFile(PluginFile("rzpluginstorage.xml"));
  EXPECT_NE(storage.find("Default Profile"), std::string::npos) << storage;

  // Closed by the user before the host terminates the plug-in: the choices are written all the same.
  std::string second =
      "invoke\n"
      "dump-rect \"RZ Accidentals\"\n"
      "dump-list \"RZ Accidentals\" 103\n"
      "check \"RZ Accidentals\" 103 3 off\n"
      "click \"RZ Accidentals\" 1\n"
      "click \"RZ Accidentals\" 162\n"
      "terminate\n"
      "quit\n";
  ASSERT_EQ(RunHost(second, Example("piano_grand_staff.musicxml")), 0) << LogText();
  preferences = ReadFile(PluginFile("rzpluginprefs.txt"));
  EXPECT_NE(preferences.find("RZACCIDENTALS_LAYERS=5"), std::string::npos) << preferences;
  std::vector<std::string> rect = LogLines("rect ");
  ASSERT_EQ(rect.size(), 1u);
  EXPECT_EQ(rect[0].find("rect \"RZ Accidentals\" 60 50 "), 0u) << rect[0];
  std::vector<std::string> layers = LogLines("row ");
  ASSERT_EQ(layers.size(), 4u);
  EXPECT_EQ(layers[0], "row [x] 1");
  EXPECT_EQ(layers[1], "row [ ] 2");
  EXPECT_EQ(layers[2], "row [x] 3");
}

TEST_F(PluginHostTest, TerminationWhileTheHostIsMinimizedKeepsTheProfileEditsAndLeavesNoDialog) {
  std::string script =
      "invoke\n"
      "click \"RZ Accidentals\" 102\n"
      "click \"RZ Accidentals - Profile Editor\" 103\n"
      "click \"RZ Accidentals - Profile Editor\" 101\n"
      "minimize\n"
      "terminate\n"
      "count \"RZ Accidentals\"\n"
      "quit\n";
  ASSERT_EQ(RunHost(script, Example("piano_grand_staff.musicxml")), 0) << LogText();
  EXPECT_EQ(LogLines("count ")[0], "count \"RZ Accidentals\" 0");
  std::string storage = ReadFile(PluginFile("rzpluginstorage.xml"));
  EXPECT_NE(storage.find("Profile Name"), std::string::npos) << storage;
  EXPECT_TRUE(fs::exists(PluginFile("rzpluginprefs.txt")));
}

TEST_F(PluginHostTest, TheBuiltInScoreAndAMissingDialogAreHandled) {
  // A step on a window that is not there fails the session; a plug-in never
  // invoked leaves no files.
  EXPECT_EQ(RunHost("click \"RZ Accidentals\" 1\n"), 1);
  EXPECT_EQ(LogLines("failed: ").size(), 1u) << LogText();
  EXPECT_FALSE(fs::exists(PluginFile("rzpluginprefs.txt")));
  EXPECT_FALSE(fs::exists(PluginFile("rzpluginstorage.xml")));

  ASSERT_EQ(RunHost("invoke\nclick \"RZ Accidentals\" 1\ndump-list \"RZ Accidentals\" 109\nquit\n"), 0) << LogText();
  std::vector<std::string> rows = LogLines("row ");
  ASSERT_EQ(rows.size(), 2u) << LogText();
  EXPECT_EQ(rows[0], "row [x] Piano [Staff 2]|M 1: L 1: #2|C3|Differ on beat with C#5 (on grand staff).|(n) *");
  EXPECT_EQ(rows[1], "row [x] Piano [Staff 1]|M 1: L 1: #1|F4|Differ on beat with F#5 (on 'Flute').|(n) *");
  // Quitting terminated the plug-in, which wrote its files.
  EXPECT_TRUE(fs::exists(PluginFile("rzpluginprefs.txt")));
}

}  // namespace
