// Stand-in for the process's module list on Linux: a host registers its
// exported functions under a module name, and GetModuleHandleA/GetProcAddress
// find them there.
#pragma once

#include <cstddef>

struct PlatformExport {
  const char* name;
  void (*function)();
};

// Registers (or replaces) a module with the given export table. The table must
// outlive the registration. An empty table still makes the module findable.
void PlatformRegisterModule(const char* moduleName, const PlatformExport* exports, size_t exportCount);
void PlatformUnregisterModule(const char* moduleName);

// Number of GetProcAddress calls answered so far, found or not; lets tests see
// how often a module is searched.
long PlatformLookupCount();
