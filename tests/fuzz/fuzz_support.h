// What the fuzz targets share: a private folder for the files they write, byte
// access to files, and a check that stops the run with a message, so that
// libFuzzer keeps the input that broke a promise.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "headless/headless_host.h"

namespace fuzz {

namespace fs = std::filesystem;

// One folder per process, made at the first call and emptied by Clear().
class ScratchFolder {
 public:
  static ScratchFolder& Instance() {
    static ScratchFolder folder;
    return folder;
  }

  std::string File(const char* name) const { return (path_ / name).string(); }
  const fs::path& Path() const { return path_; }

  void Clear() const {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(path_, error)) fs::remove_all(entry.path(), error);
  }

 private:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "rz_fuzz_XXXXXX").string();
    if (!mkdtemp(&pattern[0])) std::abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }

  fs::path path_;
};

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// A broken promise: tell which and crash, so that the input is kept.
inline void Check(bool kept, const std::string& promise) {
  if (kept) return;
  std::fprintf(stderr, "fuzz: broken: %s\n", promise.c_str());
  std::abort();
}

// A fresh headless host that names the scratch folder as its plug-in folder.
inline headless::HeadlessHost& FreshHost() {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  host.Reset();
  host.CallLog().SetEnabled(false);
  if (!host.Install()) std::abort();
  host.Environment().SetPluginFolder(ScratchFolder::Instance().Path().string());
  return host;
}

// Every frame and metrics record the run took was given back, rightly.
inline void CheckHostIsClean(const headless::HeadlessHost& host) {
  Check(host.Frames().LiveFrames() == 0, "every note-entry frame is freed");
  Check(host.Frames().LiveMetrics() == 0, "every entry metrics record is freed");
  Check(host.Misuse().FrameErrors().empty(),
        "no frame is misused: " + (host.Misuse().FrameErrors().empty() ? "" : host.Misuse().FrameErrors()[0]));
}

}  // namespace fuzz
