// The host's folder for plug-in files and the paths of the files the plug-in
// keeps there.
#pragma once

#include <cstdint>
#include <string>

class TCString;

// Size of the buffer that TX_GetTavrelPath fills.
constexpr int32_t kPluginFolderBufferSize = 520;

// Folder kinds that name the plug-in folder before and from host version 0x10000000.
constexpr int32_t kPluginFolderKindBefore2010 = 7;
constexpr int32_t kPluginFolderKind = 15;

int32_t GetPluginFolderKind();

// Zeroes the kPluginFolderBufferSize bytes of buffer and lets the host fill them.
void ReadPluginFolderBuffer(uint8_t* buffer);

// The folder text of a host buffer: 8-bit below host version 0x11000000, UTF-16
// from it on. Stops at the first zero or at the end of the buffer, so a buffer
// that the host filled to the last byte is never read past.
void PluginFolderBufferToString(const uint8_t* buffer, TCString* folder);

// Joins folder and file name with a backslash into the 8-bit path that the C
// library gets. False, with path emptied, when the folder is empty (the path
// would name the root of the drive) or a character of the path does not fit
// in 8 bits (its low byte would name another file).
bool JoinPluginFilePath(const TCString* folder, const TCString* fileName, std::string* path);

// ReadPluginFolderBuffer and JoinPluginFilePath in one.
bool GetPluginFilePath(const char* fileName, std::string* path);
