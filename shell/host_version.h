// The host's version, told once by the host at load time, and the plug-in's
// own interface version that every host call carries.
#pragma once

#include <cstdint>

constexpr uint32_t kPluginApiVersion = 0x12050000;

// Layout and function variants are chosen by the newest threshold that the
// host version reaches (unsigned comparison).
constexpr uint32_t kHostVersion2010 = 0x10000000;
constexpr uint32_t kHostVersion2011 = 0x11000000;
constexpr uint32_t kHostVersion2012 = 0x12000000;

uint32_t GetHostVersion();
void SetHostVersion(uint32_t version);

inline bool HostReaches(uint32_t threshold) { return GetHostVersion() >= threshold; }
