// The one text type: UTF-16 code units inside, 8-bit and UTF-8 forms on
// demand. A pointer returned by GetCString or GetUTF8 stays valid until the
// next call of the same operation on this string, or its destruction.
#pragma once

#include <cstdint>
#include <string>

#include "framework/tc_base.h"

class TCString : public __TCBase {
 public:
  TCString();
  explicit TCString(const char* text);
  ~TCString() override;

  const char* ClassName() const override { return "TCString"; }
  void SaveToXml(tinyxml2::XMLElement* element) const override;
  bool LoadFromXml(const tinyxml2::XMLElement* element) override;

  uint32_t GetLength() const { return length_; }
  int32_t GetCapacity() const { return capacity_; }
  bool IsEmpty() const { return length_ == 0; }
  // The code unit at index, or 0 outside the text. Inline: pitch names are
  // compared unit by unit for every note a scan decides.
  char16_t GetCharAt(int32_t index) const {
    return index >= 0 && static_cast<uint32_t>(index) < length_ && text_ ? text_[index] : 0;
  }
  const char16_t* GetUTF16Pointer() const { return text_; }

  // Makes room for a text of this many code units at once, by the same
  // growth rule, so that a text built in many appends is copied only once.
  void Reserve(uint32_t units) { EnsureRoom(units); }
  void SetCString(const char* text);
  // Each of count bytes becomes one code unit of the same value, zeros
  // included.
  void SetBytes(const char* bytes, uint32_t count);
  void SetUTF8(const char* text);
  void SetUTF16(const char16_t* text);
  void GetUTF16(char16_t* buffer) const;
  const char* GetCString() const;
  const char* GetUTF8() const;
  // The same UTF-8 text, as a string of the caller's; the string keeps no copy.
  std::string ToUTF8String() const;
  void SetString(const TCString* other);
  void AppendString(const TCString* other);
  void AppendCString(const char* text);
  void AppendCharacter(char16_t unit);
  void SetInteger(int32_t value);
  void AppendInteger(int32_t value);

  bool IsEqual(const TCString* other) const;
  bool IsEqualCString(const char* text) const;
  bool StartsWith(const char* text) const;
  int32_t Find(const TCString* other, int32_t start) const;
  int32_t FindCString(const char* text, int32_t start) const;
  bool ReplaceAll(const char* from, const char* to);
  bool IsCharacterAt(int32_t index, const char* set) const;

  void TrimWhitespace();
  void TrimLineBreaks();
  void PrependParenthesis();
  bool StripFontTags();

  // Removes count code units starting at index (clamped to the text).
  void RemoveAt(int32_t index, int32_t count);
  // Removes every code unit that equals one of the bytes of set.
  void RemoveCharacters(const char* set);

 private:
  void EnsureRoom(uint32_t units);
  void ReleaseBuffer();
  void ReplaceWith(const char16_t* units, uint32_t count);
  void AppendUnits(const char16_t* units, uint32_t count);
  // Each byte becomes one code unit of the same value.
  void AppendWidened(const char* bytes, uint32_t count);
  void TrimSet(const char* set);

  uint32_t length_ = 0;
  int32_t capacity_ = 0;
  char16_t* text_ = nullptr;
  // A buffer of the first capacity lives in the string itself: most texts
  // (pitch names, numbers, short labels) never outgrow it, and a scan makes
  // one string per note.
  static constexpr uint32_t kInlineUnits = 10;
  char16_t inlineUnits_[kInlineUnits] = {};
  mutable char* narrowCopy_ = nullptr;
  mutable char* utf8Copy_ = nullptr;
};

// Attribute readers of the settings store. Both answer false and leave the
// output untouched when the attribute is missing or empty.
bool ReadXmlIntegerAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t* value);
bool ReadXmlBooleanAttribute(const tinyxml2::XMLElement* element, const char* name, bool* value);
