#include "shell/host_version.h"

namespace {
uint32_t hostVersion = kPluginApiVersion;
}

uint32_t GetHostVersion() { return hostVersion; }
void SetHostVersion(uint32_t version) { hostVersion = version; }
