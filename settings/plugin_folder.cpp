#include "settings/plugin_folder.h"

#include <cstring>

#include "framework/tc_string.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace {

constexpr int32_t kUnitsInBuffer = kPluginFolderBufferSize / 2;

void EightBitBufferToString(const uint8_t* buffer, TCString* folder) {
  folder->SetCString("");
  for (int32_t i = 0; i < kPluginFolderBufferSize && buffer[i] != 0; ++i) {
    folder->AppendCharacter(buffer[i]);
  }
}

void WideBufferToString(const uint8_t* buffer, TCString* folder) {
  folder->SetCString("");
  for (int32_t i = 0; i < kUnitsInBuffer; ++i) {
    char16_t unit;
    std::memcpy(&unit, buffer + 2 * i, sizeof unit);
    if (unit == 0) break;
    folder->AppendCharacter(unit);
  }
}

}  // namespace

int32_t GetPluginFolderKind() {
  return HostReaches(kHostVersion2010) ? kPluginFolderKind : kPluginFolderKindBefore2010;
}

void ReadPluginFolderBuffer(uint8_t* buffer) {
  if (!buffer) return;
  std::memset(buffer, 0, kPluginFolderBufferSize);
  TX_GetTavrelPath(GetPluginFolderKind(), buffer);
}

void PluginFolderBufferToString(const uint8_t* buffer, TCString* folder) {
  if (!folder) return;
  if (!buffer) {
    folder->SetCString("");
    return;
  }
  if (HostReaches(kHostVersion2011)) {
    WideBufferToString(buffer, folder);
  } else {
    EightBitBufferToString(buffer, folder);
  }
}

bool JoinPluginFilePath(const TCString* folder, const TCString* fileName, std::string* path) {
  if (!path) return false;
  path->clear();
  if (!folder || !fileName || folder->IsEmpty() || fileName->IsEmpty()) return false;
  TCString joined;
  joined.SetString(folder);
  joined.AppendCString("\\");
  joined.AppendString(fileName);
  std::string bytes;
  bytes.reserve(joined.GetLength());
  for (uint32_t i = 0; i < joined.GetLength(); ++i) {
    char16_t unit = joined.GetCharAt(static_cast<int32_t>(i));
    if (unit == 0 || unit > 0xFF) return false;
    bytes.push_back(static_cast<char>(unit));
  }
  *path = bytes;
  return true;
}

bool GetPluginFilePath(const char* fileName, std::string* path) {
  uint8_t buffer[kPluginFolderBufferSize];
  ReadPluginFolderBuffer(buffer);
  TCString folder;
  PluginFolderBufferToString(buffer, &folder);
  TCString name(fileName);
  return JoinPluginFilePath(&folder, &name, path);
}
