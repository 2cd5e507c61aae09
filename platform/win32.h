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
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int byteCount,
                        LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                        LPSTR text, int byteCount, LPCCH defaultChar,
                        LPBOOL usedDefaultChar);

// Opens a file whose name may use backslashes as separators.
errno_t fopen_s(FILE** file, const char* fileName, const char* mode);

BOOL MessageBeep(UINT type);

#endif

// fopen with Windows path separators accepted on Linux as well.
#ifdef _WIN32
inline FILE* PlatformOpenFile(const char* fileName, const char* mode) {
  return (fileName && mode) ? std::fopen(fileName, mode) : nullptr;
}
#else
FILE* PlatformOpenFile(const char* fileName, const char* mode);
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
