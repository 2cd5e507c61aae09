// A fresh plug-in folder per test, named to the headless host, and byte-exact
// file access for checking what the plug-in wrote.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "tests/headless/host_fixture.h"

namespace settings_test {

namespace fs = std::filesystem;

// A unique folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("rz_settings_") + (test ? test->name() : "test") + "_" +
                       std::to_string(std::random_device{}()) + "_" + std::to_string(counter++);
    path_ = fs::temp_directory_path() / name;
    std::error_code error;
    fs::create_directories(path_, error);
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return path_; }
  fs::path File(const char* name) const { return path_ / name; }
  // UTF-8, as the headless host is told its plug-in folder.
  std::string Utf8() const { return path_.u8string(); }

 private:
  fs::path path_;
};

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The line end that the C library writes in text mode.
inline std::string TextLineEnd() {
#ifdef _WIN32
  return "\r\n";
#else
  return "\n";
#endif
}

// Headless host installed, with a fresh temporary folder as its plug-in folder.
class PluginFolderTest : public headless::HostFixture {
 protected:
  void SetUp() override {
    headless::HostFixture::SetUp();
    Host().Environment().SetPluginFolder(folder_.Utf8());
  }
  // Reinstalls the host at another version, keeping the plug-in folder.
  void UseHostVersion(uint32_t version) {
    ReinstallHost(version);
    Host().Environment().SetPluginFolder(folder_.Utf8());
  }

  TempFolder folder_;
};

}  // namespace settings_test
