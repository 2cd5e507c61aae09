#include "tavrel/plugin_module.h"

#include "headless/host_dialogs.h"

namespace tavrel {

namespace {

// The host asks for entries until the plug-in says there are no more; a
// plug-in that never says so is cut off here.
constexpr uint32_t kMostEntries = 64;

template <typename Function>
bool Bind(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *function != nullptr;
}

std::string TextAt(const std::vector<uint8_t>& record, size_t offset, size_t size) {
  std::string text;
  for (size_t index = offset; index < offset + size && record[index] != 0; ++index) {
    text.push_back(static_cast<char>(record[index]));
  }
  return text;
}

std::string NarrowName(const std::wstring& path) {
  std::string name;
  size_t slash = path.find_last_of(L"\\/");
  for (wchar_t unit : path.substr(slash == std::wstring::npos ? 0 : slash + 1)) name.push_back(static_cast<char>(unit));
  return name;
}

}  // namespace

PluginModule::~PluginModule() {
  Terminate();
  if (module_) FreeLibrary(module_);
}

bool PluginModule::Load(const std::wstring& path, std::string* error) {
  module_ = LoadLibraryW(path.c_str());
  name_ = NarrowName(path);
  if (!module_) {
    if (error) *error = name_ + ": not a plug-in the host can load";
    return false;
  }
  bool bound = Bind(module_, "TavrelExtensionVersion", &versionEntry_) &&
               Bind(module_, "TavrelExtensionInit", &initEntry_) &&
               Bind(module_, "TavrelExtensionEnumerate", &enumerateEntry_) &&
               Bind(module_, "TavrelExtensionInvoke", &invokeEntry_) &&
               Bind(module_, "TavrelExtensionTerminate", &terminateEntry_) &&
               Bind(module_, "TavrelExtensionGetMenuStatus", &menuStatusEntry_);
  Bind(module_, "TavrelExtensionEnumerate_UTF16", &enumerateUtf16Entry_);
  if (!bound) {
    if (error) *error = name_ + ": lacks the plug-in entry points";
    FreeLibrary(module_);
    module_ = nullptr;
    return false;
  }
  return true;
}

bool PluginModule::Start(uint32_t hostVersion) {
  if (!module_) return false;
  version_ = versionEntry_(hostVersion);
  initFlags_ = 0;
  if (!initEntry_(0, &initFlags_)) return false;
  ReadEntries();
  return true;
}

void PluginModule::ReadEntries() {
  entries_.clear();
  for (uint32_t index = 0; index < kMostEntries; ++index) {
    PluginMenuEntry entry;
    entry.record.assign(kRecordBytes, 0xCC);
    if (!enumerateEntry_(0, index, entry.record.data())) break;
    if (enumerateUtf16Entry_) {
      entry.recordUtf16.assign(kRecordUtf16Bytes, 0xCC);
      if (!enumerateUtf16Entry_(0, index, entry.recordUtf16.data())) entry.recordUtf16.clear();
    }
    entry.text = TextAt(entry.record, 0, 64);
    entry.description = TextAt(entry.record, 64, 64);
    entries_.push_back(entry);
  }
}

void PluginModule::Invoke(HWND owner) {
  if (!module_ || terminated_) return;
  // Dialogs the plug-in asks for come from its own resources.
  headless::host_dialogs::SetResourceModule(module_);
  invokeEntry_(owner, 0, 0, 0);
}

bool PluginModule::IsEnabled() const { return module_ && !terminated_ && menuStatusEntry_(0) != 0; }

void PluginModule::Terminate() {
  if (!module_ || terminated_) return;
  terminated_ = true;
  headless::host_dialogs::SetResourceModule(module_);
  terminateEntry_(0);
}

}  // namespace tavrel
