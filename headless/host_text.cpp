#include "headless/host_text.h"

#include <cstring>

#include "framework/tc_string.h"
#include "shell/host_version.h"

namespace headless {

bool HostUsesUtf16(uint32_t hostVersion) { return hostVersion >= kHostVersion2011; }

std::u16string Utf8ToUtf16(const std::string& utf8) {
  TCString text;
  text.SetUTF8(utf8.c_str());
  const char16_t* units = text.GetUTF16Pointer();
  return units ? std::u16string(units, text.GetLength()) : std::u16string();
}

std::string Utf16ToUtf8(const char16_t* units) {
  if (!units) return std::string();
  TCString text;
  text.SetUTF16(units);
  const char* utf8 = text.GetUTF8();
  return utf8 ? std::string(utf8) : std::string();
}

std::string Utf8ToEightBit(const std::string& utf8) {
  std::u16string wide = Utf8ToUtf16(utf8);
  std::string narrow;
  for (char16_t unit : wide) narrow += unit > 0xFF ? '?' : static_cast<char>(unit);
  return narrow;
}

std::string EightBitToUtf8(const char* text) {
  if (!text) return std::string();
  std::u16string wide;
  for (const char* c = text; *c; ++c) wide += static_cast<char16_t>(static_cast<unsigned char>(*c));
  return Utf16ToUtf8(wide.c_str());
}

std::vector<uint8_t> EncodeHostText(const std::string& utf8, uint32_t hostVersion) {
  std::vector<uint8_t> bytes;
  if (HostUsesUtf16(hostVersion)) {
    std::u16string wide = Utf8ToUtf16(utf8);
    bytes.resize((wide.size() + 1) * sizeof(char16_t), 0);
    std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(char16_t));
  } else {
    std::string narrow = Utf8ToEightBit(utf8);
    bytes.assign(narrow.begin(), narrow.end());
    bytes.push_back(0);
  }
  return bytes;
}

std::string DecodeHostText(const std::vector<uint8_t>& bytes, uint32_t hostVersion) {
  if (HostUsesUtf16(hostVersion)) {
    std::u16string wide;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      char16_t unit;
      std::memcpy(&unit, bytes.data() + i, sizeof unit);
      if (unit == 0) break;
      wide += unit;
    }
    return Utf16ToUtf8(wide.c_str());
  }
  std::string narrow;
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    narrow += static_cast<char>(byte);
  }
  return EightBitToUtf8(narrow.c_str());
}

std::string PlainName(const std::string& utf8) {
  std::string plain;
  size_t i = 0;
  while (i < utf8.size()) {
    if (utf8[i] != '^') {
      plain += utf8[i++];
      continue;
    }
    // A tag runs from '^' to the ')' that closes its argument list.
    size_t open = utf8.find('(', i);
    size_t close = open == std::string::npos ? std::string::npos : utf8.find(')', open);
    if (close == std::string::npos) {
      plain += utf8.substr(i);
      break;
    }
    std::string name = utf8.substr(i + 1, open - i - 1);
    if (name == "flat") plain += 'b';
    if (name == "sharp") plain += '#';
    i = close + 1;
  }
  return plain;
}

}  // namespace headless
