#include "framework/tc_string.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

#include "framework/tc_strings.h"

namespace {

std::u16string Units(const TCString& text) {
  return std::u16string(text.GetUTF16Pointer() ? text.GetUTF16Pointer() : u"", text.GetLength());
}

TEST(TCString, EightBitTextKeepsByteValues) {
  TCString text("caf\xE9");
  EXPECT_EQ(Units(text), u"caf\u00E9");
  text.SetUTF16(u"\u266F!");
  EXPECT_STREQ(text.GetCString(), "\x6F!") << "only the low byte of U+266F survives";
  TCString nulled("abc");
  nulled.SetCString(nullptr);
  EXPECT_EQ(nulled.GetLength(), 0u);
  EXPECT_EQ(nulled.GetCapacity(), 0);
  EXPECT_STREQ(nulled.GetCString(), "");
}

TEST(TCString, Utf8ConversionBothWays) {
  TCString text;
  text.SetUTF8("Fl\xC3\xBBte \xE2\x99\xAD");
  EXPECT_EQ(Units(text), u"Fl\u00FBte \u266D");
  EXPECT_STREQ(text.GetUTF8(), "Fl\xC3\xBBte \xE2\x99\xAD");
  text.SetUTF8(nullptr);
  EXPECT_EQ(Units(text), u"Fl\u00FBte \u266D") << "a null text leaves the string alone";
  text.SetUTF8("bad\xFF");
  EXPECT_EQ(Units(text), u"bad\uFFFD");
  TCString empty;
  EXPECT_STREQ(empty.GetUTF8(), "");
  EXPECT_EQ(empty.ToUTF8String(), "");
  TCString clef;
  clef.SetUTF8("G \xF0\x9D\x84\x9E\xC3\xA9");
  EXPECT_EQ(clef.ToUTF8String(), "G \xF0\x9D\x84\x9E\xC3\xA9") << "a surrogate pair and a two-byte character";
  EXPECT_EQ(clef.ToUTF8String(), std::string(clef.GetUTF8()));
  TCString lone;
  const char16_t units[] = {u'\xD834', u'\xD834', u'\xD834', 0};
  lone.SetUTF16(units);
  EXPECT_EQ(lone.ToUTF8String(), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "each lone surrogate takes three bytes";
}

TEST(TCString, CachedCopiesStayValidUntilTheNextConversion) {
  TCString text("first");
  const char* narrow = text.GetCString();
  const char* utf8 = text.GetUTF8();
  EXPECT_STREQ(narrow, "first");
  EXPECT_STREQ(utf8, "first");
  text.SetCString("second");
  EXPECT_STREQ(text.GetCString(), "second");
}

TEST(TCString, ReserveMakesRoomByTheSameRuleAndKeepsTheText) {
  TCString text("Staff: ");
  text.Reserve(95);
  EXPECT_EQ(text.GetCapacity(), 100);
  EXPECT_EQ(Units(text), u"Staff: ");
  for (int i = 0; i < 90; ++i) text.AppendCharacter(u'x');
  EXPECT_EQ(text.GetCapacity(), 100) << "appends within the room made do not grow the buffer";
  text.Reserve(10);
  EXPECT_EQ(text.GetCapacity(), 100) << "a smaller room never shrinks it";
}

TEST(TCString, GrowthInStepsOfTen) {
  TCString text;
  EXPECT_EQ(text.GetCapacity(), 10);
  for (int i = 0; i < 9; ++i) text.AppendCharacter(u'x');
  EXPECT_EQ(text.GetLength(), 9u);
  EXPECT_EQ(text.GetCapacity(), 10);
  text.AppendCharacter(u'y');
  EXPECT_EQ(text.GetCapacity(), 20);
  TCString longer("0123456789012345678901234");
  EXPECT_EQ(longer.GetCapacity(), 30);
}

// Short texts live in the string itself; these are the moves between that
// buffer and a separate one, with the text intact at every step.
TEST(TCString, TextSurvivesEveryChangeOfBuffer) {
  TCString text("C#4");
  text.SetCString("123456789");
  text.SetCString("987654321");
  EXPECT_EQ(Units(text), u"987654321");
  EXPECT_EQ(text.GetCapacity(), 10);
  text.AppendString(&text);
  EXPECT_EQ(Units(text), u"987654321987654321");
  EXPECT_EQ(text.GetCapacity(), 20);
  text.SetCString("Eb5");
  EXPECT_EQ(Units(text), u"Eb5");
  EXPECT_EQ(text.GetCapacity(), 20) << "a buffer never shrinks";
  text.SetCString(nullptr);
  text.SetCString("G");
  EXPECT_EQ(Units(text), u"G");
  EXPECT_EQ(text.GetCapacity(), 10);
  text.AppendCString("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(Units(text), u"Gabcdefghijklmnopqrstuvwxyz");
  TCString copy;
  copy.SetString(&text);
  text.RemoveAt(1, 26);
  EXPECT_EQ(Units(text), u"G");
  EXPECT_EQ(Units(copy), u"Gabcdefghijklmnopqrstuvwxyz");
  copy.TrimWhitespace();
  copy.ReplaceAll("abcdefghijklmnopqrstuvwxyz", "!");
  EXPECT_EQ(Units(copy), u"G!");
}

TEST(TCString, AppendAndIntegers) {
  TCString text("Measure ");
  text.AppendInteger(-12);
  TCString tail(": ok");
  text.AppendString(&tail);
  text.AppendString(nullptr);
  EXPECT_STREQ(text.GetCString(), "Measure -12: ok");
  text.AppendString(&text);
  EXPECT_STREQ(text.GetCString(), "Measure -12: okMeasure -12: ok");
  text.SetInteger(2147483647);
  EXPECT_STREQ(text.GetCString(), "2147483647");
  text.SetInteger(-2147483647 - 1);
  EXPECT_STREQ(text.GetCString(), "-2147483648");
  text.SetString(nullptr);
  EXPECT_TRUE(text.IsEmpty());
}

TEST(TCString, ComparisonIsExact) {
  TCString lower("abc");
  TCString upper("ABC");
  TCString same("abc");
  EXPECT_FALSE(lower.IsEqual(&upper));
  EXPECT_TRUE(lower.IsEqual(&same));
  EXPECT_FALSE(lower.IsEqual(nullptr));
  EXPECT_TRUE(lower.StartsWith("ab"));
  EXPECT_FALSE(lower.StartsWith("abcd"));
}

TEST(TCString, FindFromAStartIndex) {
  TCString text("abcb");
  TCString b("b");
  TCString empty("");
  EXPECT_EQ(text.Find(&b, 2), 3);
  EXPECT_EQ(text.Find(&b, 4), -1);
  EXPECT_EQ(text.Find(nullptr, 0), -1);
  EXPECT_EQ(text.Find(&empty, 2), 2);
  EXPECT_EQ(text.FindCString("cb", 0), 2);
  EXPECT_EQ(text.FindCString("abcbx", 0), -1);
}

TEST(TCString, ReplaceAllNeverSearchesInsertedText) {
  TCString clarinet("B^flat() Clarinet");
  EXPECT_TRUE(clarinet.ReplaceAll("^flat()", "b"));
  EXPECT_STREQ(clarinet.GetCString(), "Bb Clarinet");
  TCString letters("aaa");
  EXPECT_TRUE(letters.ReplaceAll("a", "aa"));
  EXPECT_STREQ(letters.GetCString(), "aaaaaa");
  EXPECT_FALSE(letters.ReplaceAll("z", "y"));
}

TEST(TCString, CharacterSets) {
  TCString text("F#4");
  EXPECT_TRUE(text.IsCharacterAt(1, "#bx"));
  EXPECT_FALSE(text.IsCharacterAt(0, "#bx"));
  EXPECT_FALSE(text.IsCharacterAt(3, "#bx"));
  EXPECT_FALSE(text.IsCharacterAt(1, ""));
  EXPECT_FALSE(text.IsCharacterAt(1, nullptr));
  EXPECT_EQ(text.GetCharAt(-1), 0);
  EXPECT_EQ(text.GetCharAt(3), 0);
}

TEST(TCString, Trimming) {
  TCString text(" \tx \r\n");
  text.TrimWhitespace();
  EXPECT_STREQ(text.GetCString(), "x");
  TCString blanks("   ");
  blanks.TrimWhitespace();
  EXPECT_TRUE(blanks.IsEmpty());
  TCString line("\r\n key = 1 \n");
  line.TrimLineBreaks();
  EXPECT_STREQ(line.GetCString(), " key = 1 ");
}

TEST(TCString, StripFontTags) {
  TCString violin("^font(Times,4096)Violin^size(12)");
  EXPECT_TRUE(violin.StripFontTags());
  EXPECT_STREQ(violin.GetCString(), "Violin");
  TCString caret("A^^B");
  EXPECT_FALSE(caret.StripFontTags());
  EXPECT_STREQ(caret.GetCString(), "A^B");
  TCString symbol("F^sharp()");
  EXPECT_FALSE(symbol.StripFontTags());
  EXPECT_STREQ(symbol.GetCString(), "F^sharp()");
  TCString open("Oboe^font(");
  EXPECT_FALSE(open.StripFontTags());
  EXPECT_STREQ(open.GetCString(), "Oboe");
  TCString mixed("^fontMus(Engraver)^Font(x)^nfx(1)Horn ^flat()");
  EXPECT_TRUE(mixed.StripFontTags());
  EXPECT_STREQ(mixed.GetCString(), "Horn ^flat()");
}

TEST(TCString, ParenthesisAndRemoval) {
  TCString text("#");
  text.PrependParenthesis();
  text.AppendCString(")");
  EXPECT_STREQ(text.GetCString(), "(#)");
  TCString name("F#x4");
  name.RemoveCharacters("#bx");
  EXPECT_STREQ(name.GetCString(), "F4");
  name.RemoveAt(0, 1);
  EXPECT_STREQ(name.GetCString(), "4");
  name.RemoveAt(5, 1);
  EXPECT_STREQ(name.GetCString(), "4");
}

TEST(TCString, XmlHooksAndAttributeReaders) {
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* element = document.NewElement("Item");
  document.InsertEndChild(element);
  TCString name;
  name.SetUTF8("Fl\xC3\xBBte");
  name.SaveToXml(element);
  EXPECT_STREQ(element->Attribute("TCString"), "Fl\xC3\xBBte");
  TCString loaded;
  EXPECT_TRUE(loaded.LoadFromXml(element));
  EXPECT_TRUE(loaded.IsEqual(&name));
  element->SetAttribute("TCString", "");
  EXPECT_FALSE(loaded.LoadFromXml(element));

  element->SetAttribute("Range", " 3x");
  element->SetAttribute("On", "1");
  element->SetAttribute("Yes", "true");
  element->SetAttribute("Empty", "");
  int32_t number = -5;
  bool flag = true;
  EXPECT_TRUE(ReadXmlIntegerAttribute(element, "Range", &number));
  EXPECT_EQ(number, 3);
  EXPECT_FALSE(ReadXmlIntegerAttribute(element, "Empty", &number));
  EXPECT_FALSE(ReadXmlIntegerAttribute(element, "Missing", &number));
  EXPECT_EQ(number, 3);
  EXPECT_TRUE(ReadXmlBooleanAttribute(element, "Yes", &flag));
  EXPECT_FALSE(flag);
  EXPECT_TRUE(ReadXmlBooleanAttribute(element, "On", &flag));
  EXPECT_TRUE(flag);
}

TEST(TCString, ClassIdentity) {
  TCString a;
  TCString b;
  TCStrings list;
  EXPECT_STREQ(a.ClassName(), "TCString");
  EXPECT_TRUE(a.IsSameClass(&b));
  EXPECT_FALSE(a.IsSameClass(&list));
  EXPECT_FALSE(a.IsSameClass(nullptr));
  EXPECT_STREQ(list.ClassName(), "TCStrings");
}

}  // namespace
