#include "platform/module_registry.h"

#include <cstring>

#include "platform/win32.h"

namespace {

struct RegisteredModule {
  const char* name = nullptr;
  const PlatformExport* exports = nullptr;
  size_t exportCount = 0;
};

constexpr int kMaxModules = 8;
RegisteredModule modules[kMaxModules];
long lookupCount = 0;

bool NamesEqualIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
    char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

RegisteredModule* FindModule(const char* name) {
  if (!name) return nullptr;
  for (auto& module : modules) {
    if (module.name && NamesEqualIgnoringCase(module.name, name)) return &module;
  }
  return nullptr;
}

}  // namespace

void PlatformRegisterModule(const char* moduleName, const PlatformExport* exports, size_t exportCount) {
  RegisteredModule* slot = FindModule(moduleName);
  for (int i = 0; !slot && i < kMaxModules; ++i) {
    if (!modules[i].name) slot = &modules[i];
  }
  if (!slot) return;
  slot->name = moduleName;
  slot->exports = exports;
  slot->exportCount = exports ? exportCount : 0;
}

void PlatformUnregisterModule(const char* moduleName) {
  if (RegisteredModule* module = FindModule(moduleName)) *module = RegisteredModule{};
}

HMODULE GetModuleHandleA(LPCSTR moduleName) { return reinterpret_cast<HMODULE>(FindModule(moduleName)); }

long PlatformLookupCount() { return lookupCount; }

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  ++lookupCount;
  auto* registered = reinterpret_cast<RegisteredModule*>(module);
  if (!registered || !procName) return nullptr;
  for (size_t i = 0; i < registered->exportCount; ++i) {
    if (std::strcmp(registered->exports[i].name, procName) == 0) {
      return registered->exports[i].function;
    }
  }
  return nullptr;
}
