// UTF-8 <-> UTF-16 as Windows converts with CP_UTF8: an invalid sequence
// becomes U+FFFD, cut where Windows cuts it, and so does a lone surrogate.
#include <cstring>

#include "platform/win32.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
  return byte >= low && byte <= high;
}

// Decodes one code point at text[index], advancing index past what it used.
char32_t DecodeOne(const unsigned char* text, int length, int& index) {
  unsigned char lead = text[index++];
  if (lead < 0x80) return lead;
  int needed;
  char32_t value;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kReplacement;
  }
  for (int i = 0; i < needed; ++i) {
    if (index >= length || !IsContinuation(text[index])) return kReplacement;
    unsigned char next = text[index++];
    // Windows takes the first continuation byte into the bad sequence even
    // when it makes the form overlong, a surrogate or out of range.
    if (next < low || next > high) return kReplacement;
    value = (value << 6) | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return value;
}

int UnitsOf(char32_t codePoint) { return codePoint >= 0x10000 ? 2 : 1; }

void PutUtf16(char32_t codePoint, char16_t* out) {
  if (codePoint >= 0x10000) {
    codePoint -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
  } else {
    out[0] = static_cast<char16_t>(codePoint);
  }
}

// Reads one code point from UTF-16, pairing surrogates; lone ones are invalid.
char32_t ReadUtf16(const char16_t* wide, int length, int& index) {
  char16_t unit = wide[index++];
  if (unit >= 0xD800 && unit <= 0xDBFF && index < length && wide[index] >= 0xDC00 && wide[index] <= 0xDFFF) {
    char16_t low = wide[index++];
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
  return unit;
}

int EncodeUtf8(char32_t codePoint, unsigned char* out) {
  if (codePoint < 0x80) {
    out[0] = static_cast<unsigned char>(codePoint);
    return 1;
  }
  if (codePoint < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 2;
  }
  if (codePoint < 0x10000) {
    out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 3;
  }
  out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
  out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
  out[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  return 4;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int byteCount, LPWSTR wide, int wideCount) {
  if (codePage != CP_UTF8 || flags != 0 || !text || byteCount == 0 || wideCount < 0) return 0;
  if (byteCount < 0) byteCount = static_cast<int>(std::strlen(text)) + 1;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  int written = 0;
  for (int index = 0; index < byteCount;) {
    char32_t codePoint = DecodeOne(bytes, byteCount, index);
    int units = UnitsOf(codePoint);
    if (wideCount > 0) {
      if (written + units > wideCount) return 0;
      PutUtf16(codePoint, wide + written);
    }
    written += units;
  }
  return written;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR text, int byteCount, LPCCH,
                        LPBOOL usedDefaultChar) {
  if (codePage != CP_UTF8 || flags != 0 || !wide || wideCount == 0 || byteCount < 0) return 0;
  if (usedDefaultChar) return 0;  // not allowed with CP_UTF8
  if (wideCount < 0) {
    wideCount = 0;
    while (wide[wideCount]) ++wideCount;
    ++wideCount;
  }
  int written = 0;
  unsigned char buffer[4];
  for (int index = 0; index < wideCount;) {
    int length = EncodeUtf8(ReadUtf16(wide, wideCount, index), buffer);
    if (byteCount > 0) {
      if (written + length > byteCount) return 0;
      std::memcpy(text + written, buffer, static_cast<size_t>(length));
    }
    written += length;
  }
  return written;
}
