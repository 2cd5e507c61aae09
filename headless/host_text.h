// Text as the host keeps and hands it out: 8-bit before host 0x11000000,
// UTF-16 from it on; UTF-8 on the test side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

bool HostUsesUtf16(uint32_t hostVersion);

std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const char16_t* text);
// Every code unit above 0xFF becomes '?', as an 8-bit host would store it.
std::string Utf8ToEightBit(const std::string& utf8);
std::string EightBitToUtf8(const char* text);

// Zero-terminated text bytes in the host's encoding for the version.
std::vector<uint8_t> EncodeHostText(const std::string& utf8, uint32_t hostVersion);
// Reads zero-terminated text bytes (bounded by their size) back to UTF-8.
std::string DecodeHostText(const std::vector<uint8_t>& bytes, uint32_t hostVersion);

// A staff or group name as plain text: "^font(...)" and other tags removed,
// "^flat()" as "b" and "^sharp()" as "#".
std::string PlainName(const std::string& utf8);

}  // namespace headless
