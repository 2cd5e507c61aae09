// The seven functions the host calls. Each is a boundary: nothing thrown
// inside gets out to the host.
#include <windows.h>

#include <cstdint>

#include "shell/host_version.h"
#include "shell/plugin_lifecycle.h"

namespace {

template <typename Body>
uint32_t Guarded(uint32_t failure, Body body) {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace

extern "C" {

uint32_t __stdcall TavrelExtensionVersion(uint32_t hostVersion) {
  return Guarded(plugin_lifecycle::kExtensionVersion, [&] {
    SetHostVersion(hostVersion);
    return plugin_lifecycle::kExtensionVersion;
  });
}

uint32_t __stdcall TavrelExtensionInit(uint32_t, uint32_t* flags) {
  return Guarded(0, [&] {
    if (flags) *flags |= 1;
    return 1u;
  });
}

uint32_t __stdcall TavrelExtensionEnumerate(uint32_t, uint32_t index, uint8_t* record) {
  return Guarded(0, [&] {
    // The host numbers entries from 0; only the low 16 bits count.
    if (static_cast<int16_t>(index & 0xFFFF) >= 1) return 0u;
    plugin_lifecycle::FillMenuRecord(record);
    return 1u;
  });
}

uint32_t __stdcall TavrelExtensionEnumerate_UTF16(uint32_t, uint32_t index, uint8_t* record) {
  return Guarded(0, [&] {
    if ((index & 0xFFFF) != 0) return 0u;
    plugin_lifecycle::FillMenuRecordUtf16(record);
    return 1u;
  });
}

uint32_t __stdcall TavrelExtensionInvoke(void* ownerWindow, uint32_t, uint32_t, uint32_t) {
  return Guarded(0, [&] {
    plugin_lifecycle::Invoke(ownerWindow);
    return 0u;
  });
}

uint32_t __stdcall TavrelExtensionTerminate(uint32_t) {
  return Guarded(0, [&] {
    plugin_lifecycle::Terminate();
    return 0u;
  });
}

uint32_t __stdcall TavrelExtensionGetMenuStatus(uint32_t) {
  // The one menu entry is always enabled.
  return Guarded(1, [] { return 1u; });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

}  // extern "C"
