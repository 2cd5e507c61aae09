// The Windows functions that the portable code calls. On Windows this is
// <windows.h>; on Linux the same names are declared here and implemented in
// platform/, with the meanings Windows gives them.
#pragma once

#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else

#include <cerrno>

using BOOL = int;
using UINT = unsigned int;
using DWORD = uint32_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;
using LPCCH = const char*;
using LPBOOL = BOOL*;
using errno_t = int;
struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using FARPROC = void (*)();

constexpr UINT CP_UTF8 = 65001;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_OK = 0;

HMODULE GetModuleHandleA(LPCSTR moduleName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// UTF-8 conversion only (code page CP_UTF8); flags must be 0. Invalid input
// sequences become U+FFFD, as on Windows.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int byteCount, LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR text, int byteCount,
                        LPCCH defaultChar, LPBOOL usedDefaultChar);

// Opens a file whose name may use backslashes as separators.
errno_t fopen_s(FILE** file, const char* fileName, const char* mode);

BOOL MessageBeep(UINT type);

#endif

// File functions that take Windows path separators on Linux as well.
// PlatformOpenFile: fopen. PlatformCreateNewFile: a new file opened for
// binary writing, or null when anything, even a dangling link, already has
// the name. PlatformRemoveFile: remove, true when the file is gone.
#ifdef _WIN32
inline FILE* PlatformOpenFile(const char* fileName, const char* mode) {
  return (fileName && mode) ? std::fopen(fileName, mode) : nullptr;
}
inline FILE* PlatformCreateNewFile(const char* fileName) {
  if (!fileName) return nullptr;
  int descriptor = _open(fileName, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  FILE* file = _fdopen(descriptor, "wb");
  if (!file) _close(descriptor);
  return file;
}
inline bool PlatformRemoveFile(const char* fileName) { return fileName && std::remove(fileName) == 0; }
#else
FILE* PlatformOpenFile(const char* fileName, const char* mode);
FILE* PlatformCreateNewFile(const char* fileName);
bool PlatformRemoveFile(const char* fileName);
#endif

// UTF-16 <-> wchar_t pointer bridge: on Windows a char16_t buffer is what the
// API calls wide text; on Linux the declarations above take char16_t directly.
#ifdef _WIN32
inline LPWSTR PlatformWide(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }
inline LPCWSTR PlatformWide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
#else
inline LPWSTR PlatformWide(char16_t* text) { return text; }
inline LPCWSTR PlatformWide(const char16_t* text) { return text; }
#endif
