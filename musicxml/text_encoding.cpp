#include "musicxml/text_encoding.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

namespace musicxml {

namespace {

// The characters of Windows-1252 at 0x80 to 0x9F; 0 where it has none.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
// The XML declaration, if any, lies within this many bytes of the start.
constexpr size_t kDeclarationWindow = 256;

void AppendUtf8(char32_t code, std::string* text) {
  if (code < 0x80) {
    *text += static_cast<char>(code);
  } else if (code < 0x800) {
    *text += static_cast<char>(0xC0 | (code >> 6));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *text += static_cast<char>(0xE0 | (code >> 12));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *text += static_cast<char>(0xF0 | (code >> 18));
    *text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The next character of UTF-8 text; false at a malformed sequence.
bool NextUtf8(const std::string& text, size_t* index, char32_t* code) {
  unsigned char first = static_cast<unsigned char>(text[*index]);
  int length = first < 0x80 ? 1 : (first >> 5) == 6 ? 2 : (first >> 4) == 14 ? 3 : (first >> 3) == 30 ? 4 : 0;
  if (length == 0 || *index + static_cast<size_t>(length) > text.size()) return false;
  char32_t value = length == 1 ? first : first & (0x7F >> length);
  for (int offset = 1; offset < length; ++offset) {
    unsigned char next = static_cast<unsigned char>(text[*index + static_cast<size_t>(offset)]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  *index += static_cast<size_t>(length);
  *code = value;
  return true;
}

bool DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian, std::string* text, std::string* error) {
  if ((bytes.size() - start) % 2 != 0) {
    *error = "the UTF-16 file has an odd number of bytes";
    return false;
  }
  text->clear();
  text->reserve(bytes.size() / 2);
  for (size_t index = start; index < bytes.size(); index += 2) {
    auto unitAt = [&](size_t at) {
      unsigned char high = static_cast<unsigned char>(bytes[bigEndian ? at : at + 1]);
      unsigned char low = static_cast<unsigned char>(bytes[bigEndian ? at + 1 : at]);
      return static_cast<char16_t>((high << 8) | low);
    };
    char16_t unit = unitAt(index);
    char32_t code = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && index + 3 < bytes.size()) {
      char16_t second = unitAt(index + 2);
      if (second >= 0xDC00 && second <= 0xDFFF) {
        code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (second - 0xDC00);
        index += 2;
      }
    }
    // A lone surrogate could not be written back as it was read.
    if (code >= 0xD800 && code <= 0xDFFF) {
      *error = "the UTF-16 file holds a broken surrogate pair at byte " + std::to_string(index);
      return false;
    }
    AppendUtf8(code, text);
  }
  return true;
}

void AppendUtf16(char16_t unit, bool bigEndian, std::string* bytes) {
  char high = static_cast<char>(unit >> 8);
  char low = static_cast<char>(unit & 0xFF);
  *bytes += bigEndian ? high : low;
  *bytes += bigEndian ? low : high;
}

// The five bytes that Windows-1252 leaves undefined stand for themselves, as
// in ISO-8859-1, so that they are written back as they were read.
char16_t Windows1252Character(unsigned char byte) {
  char16_t high = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : 0;
  return high != 0 ? high : byte;
}

bool AppendEightBit(char32_t code, bool latin1, std::string* bytes) {
  for (int index = 0; index < 32 && !latin1; ++index) {
    if (kWindows1252High[index] == code) {
      *bytes += static_cast<char>(0x80 + index);
      return true;
    }
  }
  bool defined = code < 0x100 && (latin1 || code < 0x80 || code >= 0xA0 || kWindows1252High[code - 0x80] == 0);
  if (defined) *bytes += static_cast<char>(code);
  return defined;
}

// The encoding named by an XML declaration at the start of ASCII-readable
// bytes, in lower case; empty without one.
std::string DeclaredEncoding(const std::string& bytes) {
  std::string head = bytes.substr(0, std::min(bytes.size(), kDeclarationWindow));
  if (head.compare(0, 5, "<?xml") != 0) return std::string();
  size_t end = head.find("?>");
  size_t name = head.find("encoding");
  if (end == std::string::npos || name == std::string::npos || name > end) return std::string();
  size_t quote = head.find_first_of("\"'", name);
  if (quote == std::string::npos || quote > end) return std::string();
  size_t close = head.find(head[quote], quote + 1);
  if (close == std::string::npos || close > end) return std::string();
  std::string encoding = head.substr(quote + 1, close - quote - 1);
  std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                 [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
  return encoding;
}

bool IsLatin1Name(const std::string& name) {
  return name == "iso-8859-1" || name == "iso8859-1" || name == "latin1" || name == "latin-1" || name == "l1" ||
         name == "iso_8859-1" || name == "us-ascii" || name == "ascii";
}

}  // namespace

std::string TextEncoding::Name() const {
  switch (form_) {
    case Form::Utf8:
      return byteOrderMark_ ? "UTF-8 with a byte-order mark" : "UTF-8";
    case Form::Utf16LittleEndian:
      return "UTF-16 (little endian)";
    case Form::Utf16BigEndian:
      return "UTF-16 (big endian)";
    case Form::Latin1:
      return "ISO-8859-1";
    case Form::Windows1252:
      return "windows-1252";
  }
  return "?";
}

bool TextEncoding::Decode(std::string bytes, std::string* text, std::string* error) {
  auto startsWith = [&bytes](const char* mark, size_t length) { return bytes.compare(0, length, mark, length) == 0; };
  form_ = Form::Utf8;
  byteOrderMark_ = false;
  if (startsWith("\xEF\xBB\xBF", 3)) {
    byteOrderMark_ = true;
    bytes.erase(0, 3);
    *text = std::move(bytes);
    return true;
  }
  // With a byte-order mark, or without one as the XML declaration's "<?" shows it.
  bool little = startsWith("\xFF\xFE", 2) || startsWith("<\0?\0", 4);
  bool big = startsWith("\xFE\xFF", 2) || startsWith("\0<\0?", 4);
  if (little || big) {
    form_ = little ? Form::Utf16LittleEndian : Form::Utf16BigEndian;
    byteOrderMark_ = startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2);
    if (DecodeUtf16(bytes, byteOrderMark_ ? 2 : 0, big, text, error)) return true;
    *error = Name() + ": " + *error;
    return false;
  }
  std::string declared = DeclaredEncoding(bytes);
  // A file that declares UTF-16 but reads as ASCII was saved as UTF-8 by a
  // program that kept the declaration; XML parsers read it as UTF-8 too.
  if (declared.empty() || declared == "utf-8" || declared == "utf8" || declared == "utf-16") {
    *text = std::move(bytes);
    return true;
  }
  return DecodeEightBit(bytes, declared, text, error);
}

bool TextEncoding::DecodeEightBit(const std::string& bytes, const std::string& declared, std::string* text,
                                  std::string* error) {
  bool latin1 = IsLatin1Name(declared);
  bool windows1252 = declared == "windows-1252" || declared == "cp1252";
  if (!latin1 && !windows1252) {
    *error = "the file is encoded as \"" + declared +
             "\", which is not read; save the score as UTF-8 (UTF-16, ISO-8859-1 and windows-1252 are read too)";
    return false;
  }
  form_ = latin1 ? Form::Latin1 : Form::Windows1252;
  text->clear();
  text->reserve(bytes.size() + bytes.size() / 8);
  for (char byte : bytes) {
    unsigned char value = static_cast<unsigned char>(byte);
    AppendUtf8(latin1 ? value : Windows1252Character(value), text);
  }
  return true;
}

bool TextEncoding::Encode(const std::string& text, std::string* bytes) const {
  if (form_ == Form::Utf8) {
    *bytes = byteOrderMark_ ? "\xEF\xBB\xBF" + text : text;
    return true;
  }
  bytes->clear();
  bool utf16 = form_ == Form::Utf16LittleEndian || form_ == Form::Utf16BigEndian;
  bool bigEndian = form_ == Form::Utf16BigEndian;
  if (utf16 && byteOrderMark_) AppendUtf16(0xFEFF, bigEndian, bytes);
  for (size_t index = 0; index < text.size();) {
    char32_t code = 0;
    if (!NextUtf8(text, &index, &code)) return false;
    if (utf16 && code >= 0x10000) {
      AppendUtf16(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), bigEndian, bytes);
      AppendUtf16(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), bigEndian, bytes);
    } else if (utf16) {
      AppendUtf16(static_cast<char16_t>(code), bigEndian, bytes);
    } else if (!AppendEightBit(code, form_ == Form::Latin1, bytes)) {
      return false;
    }
  }
  return true;
}

}  // namespace musicxml
