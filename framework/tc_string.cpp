#include "framework/tc_string.h"

#include <tinyxml2.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

uint32_t WideLength(const char16_t* text) {
  uint32_t length = 0;
  while (text[length]) ++length;
  return length;
}

bool InSet(char16_t unit, const char* set) {
  for (const char* c = set; *c; ++c) {
    if (unit == static_cast<unsigned char>(*c)) return true;
  }
  return false;
}

// An 8-bit text widened byte by byte; owns its buffer.
class WidenedText {
 public:
  explicit WidenedText(const char* text) {
    length_ = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
    units_ = new char16_t[length_ + 1];
    for (uint32_t i = 0; i < length_; ++i) units_[i] = static_cast<unsigned char>(text[i]);
    units_[length_] = 0;
  }
  ~WidenedText() { delete[] units_; }
  WidenedText(const WidenedText&) = delete;
  WidenedText& operator=(const WidenedText&) = delete;
  const char16_t* units() const { return units_; }
  uint32_t length() const { return length_; }

 private:
  char16_t* units_;
  uint32_t length_;
};

int32_t FindUnits(const char16_t* text, uint32_t length, const char16_t* pattern, uint32_t patternLength,
                  int32_t start) {
  if (start < 0) start = 0;
  if (patternLength > length) return -1;
  for (int64_t i = start; i <= static_cast<int64_t>(length - patternLength); ++i) {
    if (patternLength == 0 || std::memcmp(text + i, pattern, patternLength * sizeof(char16_t)) == 0) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

const char16_t kEmptyUnits[1] = {0};

}  // namespace

TCString::TCString() { SetCString(""); }

TCString::TCString(const char* text) { SetCString(text); }

TCString::~TCString() {
  ReleaseBuffer();
  delete[] narrowCopy_;
  delete[] utf8Copy_;
}

void TCString::EnsureRoom(uint32_t units) {
  if (capacity_ > 0 && static_cast<uint32_t>(capacity_) > units + 1) return;
  uint32_t capacity = ((units + 10) / 10) * 10;
  // A text of 9 units in the inline buffer "grows" into a buffer of the same
  // capacity, which is the inline buffer again.
  char16_t* buffer = capacity <= kInlineUnits ? inlineUnits_ : new char16_t[capacity]();
  if (buffer != text_) {
    if (text_) std::memcpy(buffer, text_, length_ * sizeof(char16_t));
    ReleaseBuffer();
    text_ = buffer;
  }
  capacity_ = static_cast<int32_t>(capacity);
}

void TCString::ReleaseBuffer() {
  if (text_ != inlineUnits_) delete[] text_;
  text_ = nullptr;
}

void TCString::ReplaceWith(const char16_t* units, uint32_t count) {
  length_ = 0;
  EnsureRoom(count);
  std::memmove(text_, units, count * sizeof(char16_t));
  length_ = count;
  text_[length_] = 0;
}

void TCString::AppendUnits(const char16_t* units, uint32_t count) {
  if (count == 0) {
    EnsureRoom(length_);
    return;
  }
  EnsureRoom(length_ + count);
  std::memmove(text_ + length_, units, count * sizeof(char16_t));
  length_ += count;
  text_[length_] = 0;
}

void TCString::SetCString(const char* text) {
  if (!text) {
    ReleaseBuffer();
    length_ = 0;
    capacity_ = 0;
    return;
  }
  length_ = 0;
  AppendWidened(text, static_cast<uint32_t>(std::strlen(text)));
}

void TCString::SetBytes(const char* bytes, uint32_t count) {
  auto* units = new char16_t[count + 1];
  for (uint32_t i = 0; i < count; ++i) units[i] = static_cast<unsigned char>(bytes[i]);
  ReplaceWith(units, count);
  delete[] units;
}

void TCString::SetUTF8(const char* text) {
  if (!text) return;
  int units = text[0] ? MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0) : 1;
  if (units <= 0) {
    ReplaceWith(kEmptyUnits, 0);
    return;
  }
  auto* buffer = new char16_t[static_cast<size_t>(units)]();
  if (text[0]) MultiByteToWideChar(CP_UTF8, 0, text, -1, PlatformWide(buffer), units);
  ReplaceWith(buffer, WideLength(buffer));
  delete[] buffer;
}

void TCString::SetUTF16(const char16_t* text) {
  if (!text) return;
  uint32_t length = WideLength(text);
  if (text == text_) return;
  ReplaceWith(text, length);
}

void TCString::GetUTF16(char16_t* buffer) const {
  if (!buffer) return;
  if (text_) std::memcpy(buffer, text_, length_ * sizeof(char16_t));
  buffer[text_ ? length_ : 0] = 0;
}

const char* TCString::GetCString() const {
  delete[] narrowCopy_;
  narrowCopy_ = new char[length_ + 1];
  for (uint32_t i = 0; i < length_; ++i) narrowCopy_[i] = static_cast<char>(text_[i] & 0xFF);
  narrowCopy_[length_] = 0;
  return narrowCopy_;
}

const char* TCString::GetUTF8() const {
  delete[] utf8Copy_;
  utf8Copy_ = nullptr;
  int bytes = length_ > 0 ? WideCharToMultiByte(CP_UTF8, 0, PlatformWide(text_), static_cast<int>(length_), nullptr, 0,
                                                nullptr, nullptr)
                          : 0;
  if (bytes < 0) bytes = 0;
  utf8Copy_ = new char[static_cast<size_t>(bytes) + 1]();
  if (bytes > 0) {
    WideCharToMultiByte(CP_UTF8, 0, PlatformWide(text_), static_cast<int>(length_), utf8Copy_, bytes, nullptr, nullptr);
  }
  return utf8Copy_;
}

std::string TCString::ToUTF8String() const {
  if (length_ == 0 || !text_) return std::string();
  // No code unit takes more than three bytes: a surrogate pair makes four
  // from two units, a lone surrogate the three of U+FFFD.
  std::string text(static_cast<size_t>(length_) * 3, '\0');
  int bytes = WideCharToMultiByte(CP_UTF8, 0, PlatformWide(text_), static_cast<int>(length_), &text[0],
                                  static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
  return text;
}

void TCString::SetString(const TCString* other) {
  if (!other || !other->text_) {
    ReplaceWith(kEmptyUnits, 0);
    return;
  }
  if (other == this) return;
  ReplaceWith(other->text_, other->length_);
}

void TCString::AppendString(const TCString* other) {
  if (!other || !other->text_) return;
  if (other == this) {
    TCString copy;
    copy.SetString(this);
    AppendUnits(copy.text_, copy.length_);
    return;
  }
  AppendUnits(other->text_, other->length_);
}

void TCString::AppendCString(const char* text) {
  if (!text) return;
  AppendWidened(text, static_cast<uint32_t>(std::strlen(text)));
}

void TCString::AppendWidened(const char* bytes, uint32_t count) {
  EnsureRoom(length_ + count);
  for (uint32_t i = 0; i < count; ++i) text_[length_ + i] = static_cast<unsigned char>(bytes[i]);
  length_ += count;
  text_[length_] = 0;
}

void TCString::AppendCharacter(char16_t unit) { AppendUnits(&unit, 1); }

void TCString::SetInteger(int32_t value) {
  length_ = 0;
  AppendInteger(value);
}

void TCString::AppendInteger(int32_t value) {
  char digits[16];
  std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
  AppendWidened(digits, static_cast<uint32_t>(written.ptr - digits));
}

bool TCString::IsEqual(const TCString* other) const {
  if (!other || other->length_ != length_) return false;
  for (uint32_t i = 0; i < length_; ++i) {
    if (text_[i] != other->text_[i]) return false;
  }
  return true;
}

bool TCString::IsEqualCString(const char* text) const {
  TCString other(text);
  return IsEqual(&other);
}

bool TCString::StartsWith(const char* text) const {
  if (!text) return false;
  size_t prefix = std::strlen(text);
  if (length_ < prefix) return false;
  return std::strncmp(GetCString(), text, prefix) == 0;
}

int32_t TCString::Find(const TCString* other, int32_t start) const {
  if (!other) return -1;
  const char16_t* pattern = other->text_ ? other->text_ : kEmptyUnits;
  return FindUnits(text_ ? text_ : kEmptyUnits, length_, pattern, other->length_, start);
}

int32_t TCString::FindCString(const char* text, int32_t start) const {
  if (!text) return -1;
  WidenedText widened(text);
  return FindUnits(text_ ? text_ : kEmptyUnits, length_, widened.units(), widened.length(), start);
}

bool TCString::ReplaceAll(const char* from, const char* to) {
  if (!from || !*from || !text_) return false;
  WidenedText pattern(from);
  WidenedText replacement(to ? to : "");
  TCString result;
  bool replaced = false;
  int32_t searchFrom = 0;
  for (;;) {
    int32_t found = FindUnits(text_, length_, pattern.units(), pattern.length(), searchFrom);
    if (found < 0) break;
    result.AppendUnits(text_ + searchFrom, static_cast<uint32_t>(found - searchFrom));
    result.AppendUnits(replacement.units(), replacement.length());
    searchFrom = found + static_cast<int32_t>(pattern.length());
    replaced = true;
  }
  if (!replaced) return false;
  result.AppendUnits(text_ + searchFrom, length_ - static_cast<uint32_t>(searchFrom));
  ReplaceWith(result.text_, result.length_);
  return true;
}

bool TCString::IsCharacterAt(int32_t index, const char* set) const {
  if (!set || !*set) return false;
  if (index < 0 || static_cast<uint32_t>(index) >= length_) return false;
  return InSet(text_[index], set);
}

void TCString::TrimSet(const char* set) {
  if (!text_) return;
  while (length_ > 0 && InSet(text_[length_ - 1], set)) text_[--length_] = 0;
  uint32_t leading = 0;
  while (leading < length_ && InSet(text_[leading], set)) ++leading;
  RemoveAt(0, static_cast<int32_t>(leading));
}

void TCString::TrimWhitespace() { TrimSet(" \r\n\t"); }

void TCString::TrimLineBreaks() { TrimSet("\r\n"); }

void TCString::PrependParenthesis() {
  TCString result("(");
  result.AppendString(this);
  SetString(&result);
}

void TCString::RemoveAt(int32_t index, int32_t count) {
  if (!text_ || index < 0 || count <= 0 || static_cast<uint32_t>(index) >= length_) return;
  uint32_t end = static_cast<uint32_t>(index) + static_cast<uint32_t>(count);
  if (end > length_) end = length_;
  std::memmove(text_ + index, text_ + end, (length_ - end) * sizeof(char16_t));
  length_ -= end - static_cast<uint32_t>(index);
  text_[length_] = 0;
}

void TCString::RemoveCharacters(const char* set) {
  if (!text_ || !set) return;
  uint32_t kept = 0;
  for (uint32_t i = 0; i < length_; ++i) {
    if (!InSet(text_[i], set)) text_[kept++] = text_[i];
  }
  length_ = kept;
  text_[length_] = 0;
}

namespace {

// Tags the host puts into text-block text for font, size and effect changes.
bool IsFormattingTag(const TCString& tag) {
  if (tag.GetLength() >= 5 && (tag.StartsWith("^font") || tag.StartsWith("^Font"))) return true;
  return tag.StartsWith("^nfx") || tag.StartsWith("^size");
}

}  // namespace

bool TCString::StripFontTags() {
  TCString output;
  TCString tag;
  bool insideTag = false;
  bool removed = false;
  for (uint32_t i = 0; i < length_; ++i) {
    char16_t unit = text_[i];
    if (insideTag) {
      tag.AppendCharacter(unit);
      if (unit != u')') continue;
      insideTag = false;
      if (IsFormattingTag(tag)) {
        removed = true;
      } else {
        output.AppendString(&tag);
      }
    } else if (unit == u'^' && GetCharAt(static_cast<int32_t>(i) + 1) == u'^') {
      output.AppendCharacter(u'^');
      ++i;
    } else if (unit == u'^') {
      tag.SetCString("^");
      insideTag = true;
    } else {
      output.AppendCharacter(unit);
    }
  }
  SetString(&output);
  return removed;
}

void TCString::SaveToXml(tinyxml2::XMLElement* element) const {
  if (element) element->SetAttribute("TCString", GetUTF8());
}

bool TCString::LoadFromXml(const tinyxml2::XMLElement* element) {
  const char* value = element ? element->Attribute("TCString") : nullptr;
  if (!value || !*value) return false;
  SetUTF8(value);
  return true;
}

bool ReadXmlIntegerAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t* value) {
  const char* text = (element && name) ? element->Attribute(name) : nullptr;
  if (!text || !*text || !value) return false;
  TCString converted;
  converted.SetUTF8(text);
  *value = std::atoi(converted.GetCString());
  return true;
}

bool ReadXmlBooleanAttribute(const tinyxml2::XMLElement* element, const char* name, bool* value) {
  int32_t number = 0;
  if (!value || !ReadXmlIntegerAttribute(element, name, &number)) return false;
  *value = number == 1;
  return true;
}
