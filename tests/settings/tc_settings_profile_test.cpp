#include "settings/tc_settings_profile.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

#include "settings/tc_settings_option.h"

namespace {

// One SettingsProfile element parsed from its XML text.
class ProfileElement {
 public:
  explicit ProfileElement(const char* xml) {
    document_.Parse(xml);
    element_ = document_.FirstChildElement("SettingsProfile");
  }
  const tinyxml2::XMLElement* Get() const { return element_; }

 private:
  tinyxml2::XMLDocument document_;
  const tinyxml2::XMLElement* element_ = nullptr;
};

TEST(SettingsProfile, NewProfileHasTheTableDefaults) {
  TCSettingsProfile profile;
  EXPECT_TRUE(profile.GetName()->IsEqualCString("Profile Name"));
  EXPECT_EQ(profile.GetCheckOptions(), 0x1DFu);
  EXPECT_EQ(profile.GetParenthesisOptions(), 0x31u);
  EXPECT_EQ(profile.GetCourtesyMeasureRange(), 2);
  EXPECT_EQ(profile.GetNotationMode(), 0);
  EXPECT_EQ(profile.GetSystemTieMode(), 0);
}

TEST(SettingsProfile, NameOnlyElementLoadsTheDefaults) {
  ProfileElement element(R"(<SettingsProfile Name="Only a name"/>)");
  TCSettingsProfile profile;
  profile.SetCheckOptions(0);
  profile.SetParenthesisOptions(0);
  profile.SetCourtesyMeasureRange(5);
  profile.SetSystemTieMode(3);
  ASSERT_TRUE(profile.LoadFromXml(element.Get()));
  EXPECT_TRUE(profile.GetName()->IsEqualCString("Only a name"));
  EXPECT_EQ(profile.GetCheckOptions(), 0x1DFu);
  EXPECT_EQ(profile.GetParenthesisOptions(), 0x31u);
  EXPECT_EQ(profile.GetCourtesyMeasureRange(), 2);
  EXPECT_EQ(profile.GetNotationMode(), 0);
  EXPECT_EQ(profile.GetSystemTieMode(), 0);
}

TEST(SettingsProfile, ElementWithoutNameIsRefusedAndEmptyNameAccepted) {
  ProfileElement unnamed(R"(<SettingsProfile CourtesyMeasureRange="4"/>)");
  TCSettingsProfile profile;
  EXPECT_FALSE(profile.LoadFromXml(unnamed.Get()));
  EXPECT_FALSE(profile.LoadFromXml(nullptr));
  EXPECT_TRUE(profile.GetName()->IsEqualCString("Profile Name"));

  ProfileElement emptyName(R"(<SettingsProfile Name=""/>)");
  ASSERT_TRUE(profile.LoadFromXml(emptyName.Get()));
  EXPECT_TRUE(profile.GetName()->IsEmpty());
}

TEST(SettingsProfile, OptionBitIsSetOnlyByValuesThatReadAsOne) {
  ProfileElement element(R"(<SettingsProfile Name="x" CrossStaveChecks="true" LayeredInstruments=" 1")"
                         R"( ChordLineInstruments="2" GrandStaff="yes" IndependentOctavesSame="1abc")"
                         R"( IndependentOctavesCross="+1" KeySigRestate="" NoCourtesyAfterMeasureRest="0")"
                         R"( ParenSameBeat="0" ParenSameMeasure="1" ParenSystemBreaks="01"/>)");
  TCSettingsProfile profile;
  ASSERT_TRUE(profile.LoadFromXml(element.Get()));
  // RestateAfterGrace is missing and keeps its default.
  EXPECT_EQ(profile.GetCheckOptions(), 0x002u | 0x010u | 0x020u | 0x100u);
  // ParenNextMeasure, ParenSecondMeasure, ParenKeySig, ParenAfterGraceNote missing.
  EXPECT_EQ(profile.GetParenthesisOptions(), 0x02u | 0x40u | 0x10u | 0x20u);
}

TEST(SettingsProfile, NumbersReadAsAtoiAndAreStoredUnchecked) {
  ProfileElement element(R"(<SettingsProfile Name="x" CourtesyMeasureRange="  17 measures")"
                         R"( NotationMode="mode" SystemTieMode="-3"/>)");
  TCSettingsProfile profile;
  ASSERT_TRUE(profile.LoadFromXml(element.Get()));
  EXPECT_EQ(profile.GetCourtesyMeasureRange(), 17);
  EXPECT_EQ(profile.GetNotationMode(), 0);
  EXPECT_EQ(profile.GetSystemTieMode(), -3);
}

TEST(SettingsProfile, AtoiConversionIsDefinedForEveryText) {
  EXPECT_EQ(ConvertLikeAtoi(" \t\r\n7"), 7);
  EXPECT_EQ(ConvertLikeAtoi(""), 0);
  EXPECT_EQ(ConvertLikeAtoi(nullptr), 0);
  EXPECT_EQ(ConvertLikeAtoi("-"), 0);
  EXPECT_EQ(ConvertLikeAtoi("2147483647"), 2147483647);
  EXPECT_EQ(ConvertLikeAtoi("-2147483648"), INT32_MIN);
  EXPECT_EQ(ConvertLikeAtoi("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(ConvertLikeAtoi("-99999999999999999999"), INT32_MIN);
  // U+0131 and U+0120: their low bytes are "1" and a space, their characters are neither.
  EXPECT_EQ(ConvertLikeAtoi("\xC4\xB1"), 0);
  EXPECT_EQ(ConvertLikeAtoi("\xC4\xA0"
                            "5"),
            0);
}

TEST(SettingsProfile, SavedAttributesFollowTheFileOrderAndReadBack) {
  TCSettingsProfile profile;
  TCString name;
  name.SetUTF8("Chor <\"A&B\"> \xC3\xA9t\xC3\xA9");
  profile.SetName(&name);
  profile.SetCheckOptions(0x0A5);
  profile.SetParenthesisOptions(0x4A);
  profile.SetCourtesyMeasureRange(6);
  profile.SetNotationMode(0);
  profile.SetSystemTieMode(7);

  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* element = document.NewElement("SettingsProfile");
  document.InsertEndChild(element);
  profile.SaveToXml(element);

  std::vector<std::string> names;
  std::vector<std::string> values;
  for (const tinyxml2::XMLAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
    names.push_back(a->Name());
    values.push_back(a->Value());
  }
  std::vector<std::string> expectedNames = {"Name", "NotationMode", "CourtesyMeasureRange", "SystemTieMode"};
  for (const TCSettingsOption& row : kCheckOptionTable) expectedNames.push_back(row.attribute);
  for (const TCSettingsOption& row : kParenthesisOptionTable) expectedNames.push_back(row.attribute);
  EXPECT_EQ(names, expectedNames);
  std::vector<std::string> expectedValues = {"Chor <\"A&B\"> \xC3\xA9t\xC3\xA9",
                                             "0",
                                             "6",
                                             "7",
                                             "1",
                                             "0",
                                             "1",
                                             "0",
                                             "0",
                                             "1",
                                             "0",
                                             "1",
                                             "0",
                                             "0",
                                             "1",
                                             "0",
                                             "1",
                                             "0",
                                             "0",
                                             "1"};
  EXPECT_EQ(values, expectedValues);

  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  tinyxml2::XMLDocument reread;
  ASSERT_EQ(reread.Parse(printer.CStr()), tinyxml2::XML_SUCCESS);
  TCSettingsProfile loaded;
  ASSERT_TRUE(loaded.LoadFromXml(reread.FirstChildElement("SettingsProfile")));
  EXPECT_TRUE(loaded.GetName()->IsEqual(&name));
  EXPECT_EQ(loaded.GetCheckOptions(), 0x0A5u);
  EXPECT_EQ(loaded.GetParenthesisOptions(), 0x4Au);
  EXPECT_EQ(loaded.GetCourtesyMeasureRange(), 6);
  EXPECT_EQ(loaded.GetSystemTieMode(), 7);
  EXPECT_EQ(loaded.GetEngravingRules(), kDefaultEngravingRules);
  EXPECT_EQ(element->FirstChildElement(), nullptr) << "a profile without rules is written as before";
}

TEST(SettingsProfile, EngravingRulesLiveInTheirOwnElementAndReadBack) {
  TCSettingsProfile profile;
  profile.SetEngravingRules(0x5);
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* element = document.NewElement("SettingsProfile");
  document.InsertEndChild(element);
  profile.SaveToXml(element);
  const tinyxml2::XMLElement* rules = element->FirstChildElement(kEngravingRuleElement);
  ASSERT_NE(rules, nullptr);
  for (const TCSettingsOption& row : kEngravingRuleTable) {
    EXPECT_EQ(element->Attribute(row.attribute), nullptr) << row.attribute;
    EXPECT_EQ(rules->IntAttribute(row.attribute, -1), (0x5u & row.bit) ? 1 : 0) << row.attribute;
  }
  TCSettingsProfile loaded;
  ASSERT_TRUE(loaded.LoadFromXml(element));
  EXPECT_EQ(loaded.GetEngravingRules(), 0x5u);
  TCSettingsProfile copy;
  copy.CopyValuesFrom(&loaded);
  EXPECT_TRUE(copy.HasSameValues(&profile));
  EXPECT_EQ(copy.GetEngravingRules(), 0x5u);

  // Saved again with every rule off, the element stays and says so.
  loaded.SetEngravingRules(0);
  loaded.SaveToXml(element);
  EXPECT_EQ(element->FirstChildElement(kEngravingRuleElement)->IntAttribute(kEngravingRuleTable[0].attribute, -1), 0);
  profile.SetEngravingRules(0x1);
  EXPECT_FALSE(loaded.HasSameValues(&profile));
}

}  // namespace
