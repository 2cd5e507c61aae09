// One plug-in DLL as the host loads it: its seven exports, bound by name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

// A menu entry of a plug-in, read from both record forms.
struct PluginMenuEntry {
  std::string text;
  std::string description;
  std::vector<uint8_t> record;       // the 8-bit record as the plug-in filled it
  std::vector<uint8_t> recordUtf16;  // the UTF-16 record, or empty when it gave none
};

class PluginModule {
 public:
  static constexpr size_t kRecordBytes = 196;
  static constexpr size_t kRecordUtf16Bytes = 772;

  PluginModule() = default;
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Loads the DLL and binds the exports; false (nothing kept) when one is missing.
  bool Load(const std::wstring& path, std::string* error);
  // Version, Init and Enumerate until the plug-in answers 0.
  bool Start(uint32_t hostVersion);
  void Invoke(HWND owner);
  void Terminate();
  bool IsEnabled() const;

  HMODULE Module() const { return module_; }
  const std::string& Name() const { return name_; }
  const std::vector<PluginMenuEntry>& Entries() const { return entries_; }
  uint32_t Version() const { return version_; }
  uint32_t InitFlags() const { return initFlags_; }

 private:
  using VersionFunction = uint32_t(__stdcall*)(uint32_t);
  using InitFunction = uint32_t(__stdcall*)(uint32_t, uint32_t*);
  using EnumerateFunction = uint32_t(__stdcall*)(uint32_t, uint32_t, uint8_t*);
  using InvokeFunction = uint32_t(__stdcall*)(void*, uint32_t, uint32_t, uint32_t);
  using OneValueFunction = uint32_t(__stdcall*)(uint32_t);

  void ReadEntries();

  HMODULE module_ = nullptr;
  std::string name_;
  VersionFunction versionEntry_ = nullptr;
  InitFunction initEntry_ = nullptr;
  EnumerateFunction enumerateEntry_ = nullptr;
  EnumerateFunction enumerateUtf16Entry_ = nullptr;
  InvokeFunction invokeEntry_ = nullptr;
  OneValueFunction terminateEntry_ = nullptr;
  OneValueFunction menuStatusEntry_ = nullptr;
  std::vector<PluginMenuEntry> entries_;
  uint32_t version_ = 0;
  uint32_t initFlags_ = 0;
  bool terminated_ = false;
};

}  // namespace tavrel
