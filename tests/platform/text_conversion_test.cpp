#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace {

std::u16string ToUtf16(const std::string& bytes) {
  int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string result(static_cast<size_t>(units), u'\0');
  if (units > 0) {
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), PlatformWide(&result[0]), units);
  }
  return result;
}

std::string ToUtf8(const std::u16string& units) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, PlatformWide(units.data()), static_cast<int>(units.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string result(static_cast<size_t>(bytes), '\0');
  if (bytes > 0) {
    WideCharToMultiByte(CP_UTF8, 0, PlatformWide(units.data()), static_cast<int>(units.size()), &result[0], bytes,
                        nullptr, nullptr);
  }
  return result;
}

TEST(TextConversion, ValidTextRoundTrips) {
  EXPECT_EQ(ToUtf16("Fl\xC3\xBBte"), u"Fl\u00FBte");
  EXPECT_EQ(ToUtf16("\xE2\x99\xAF"), u"\u266F");
  EXPECT_EQ(ToUtf16("\xF0\x9D\x84\x9E"), std::u16string(u"\U0001D11E"));
  EXPECT_EQ(ToUtf8(u"Fl\u00FBte \u266F \U0001D11E"), "Fl\xC3\xBBte \xE2\x99\xAF \xF0\x9D\x84\x9E");
}

TEST(TextConversion, InvalidSequencesBecomeReplacementCharacters) {
  // Expected values are what Windows produces; the same test runs against the
  // real functions in the Windows build.
  struct Case {
    const char* bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"a\x80z", u"a\uFFFDz"},                      // lone continuation byte
      {"a\xE2\x99z", u"a\uFFFDz"},                  // truncated before ASCII
      {"\xE2\x99", u"\uFFFD"},                      // truncated at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                // overlong two-byte form
      {"\xE0\x80\x80", u"\uFFFD\uFFFD"},            // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD"},            // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xF0\x90\x28\xBC", u"\uFFFD(\uFFFD"},
      {"\xFE\xFF", u"\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf16(c.bytes), c.expected) << "input " << c.bytes;
}

TEST(TextConversion, LoneSurrogateEncodesAsReplacement) {
  std::u16string lone = u"x";
  lone += static_cast<char16_t>(0xD800);
  lone += u"y";
  lone += static_cast<char16_t>(0xDC00);
  EXPECT_EQ(ToUtf8(lone), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST(TextConversion, TerminatedInputCountsTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, nullptr, 0), 4);
  char16_t buffer[2];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, PlatformWide(buffer), 2), 0)
      << "a buffer that is too small gives 0";
}

}  // namespace
