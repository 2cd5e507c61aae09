#include "settings/tc_settings_profile.h"

#include <tinyxml2.h>

#include <cstdint>

#include "settings/tc_settings_option.h"

namespace {

bool IsAtoiSpace(char16_t unit) { return unit == ' ' || (unit >= '\t' && unit <= '\r'); }

int32_t ReadNumberAttribute(const tinyxml2::XMLElement* element, const char* name, int32_t missingValue) {
  const char* value = element->Attribute(name);
  return value ? ConvertLikeAtoi(value) : missingValue;
}

template <size_t RowCount>
uint32_t ReadOptionBits(const tinyxml2::XMLElement* element, const TCSettingsOption (&table)[RowCount]) {
  uint32_t bits = 0;
  for (const TCSettingsOption& row : table) {
    const char* value = element->Attribute(row.attribute);
    bool on = value ? ConvertLikeAtoi(value) == 1 : row.defaultOn;
    if (on) bits |= row.bit;
  }
  return bits;
}

template <size_t RowCount>
void WriteOptionBits(tinyxml2::XMLElement* element, uint32_t bits, const TCSettingsOption (&table)[RowCount]) {
  for (const TCSettingsOption& row : table) {
    element->SetAttribute(row.attribute, (bits & row.bit) ? 1 : 0);
  }
}

}  // namespace

int32_t ConvertLikeAtoi(const char* text) {
  if (!text) return 0;
  // Decoded first, so that only real ASCII digits and spaces count and no
  // byte of a multi-byte character is taken for one.
  TCString decoded;
  decoded.SetUTF8(text);
  int32_t index = 0;
  while (IsAtoiSpace(decoded.GetCharAt(index))) ++index;
  bool negative = false;
  char16_t sign = decoded.GetCharAt(index);
  if (sign == '-' || sign == '+') {
    negative = sign == '-';
    ++index;
  }
  int64_t magnitude = 0;
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  for (char16_t unit = decoded.GetCharAt(index); unit >= '0' && unit <= '9'; unit = decoded.GetCharAt(++index)) {
    magnitude = magnitude * 10 + (unit - '0');
    if (magnitude >= limit) {
      magnitude = limit;
      // Further digits only make the number larger.
      break;
    }
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

TCSettingsProfile::TCSettingsProfile()
    : name_("Profile Name"),
      checkOptions_(kDefaultCheckOptions),
      parenthesisOptions_(kDefaultParenthesisOptions),
      engravingRules_(kDefaultEngravingRules),
      courtesyMeasureRange_(kDefaultCourtesyMeasureRange),
      notationMode_(kDefaultNotationMode),
      systemTieMode_(kDefaultSystemTieMode) {}

TCSettingsProfile::~TCSettingsProfile() = default;

void TCSettingsProfile::CopyValuesFrom(const TCSettingsProfile* other) {
  if (!other || other == this) return;
  name_.SetString(&other->name_);
  checkOptions_ = other->checkOptions_;
  parenthesisOptions_ = other->parenthesisOptions_;
  engravingRules_ = other->engravingRules_;
  courtesyMeasureRange_ = other->courtesyMeasureRange_;
  notationMode_ = other->notationMode_;
  systemTieMode_ = other->systemTieMode_;
}

bool TCSettingsProfile::HasSameValues(const TCSettingsProfile* other) const {
  return other && name_.IsEqual(&other->name_) && checkOptions_ == other->checkOptions_ &&
         parenthesisOptions_ == other->parenthesisOptions_ && engravingRules_ == other->engravingRules_ &&
         courtesyMeasureRange_ == other->courtesyMeasureRange_ && notationMode_ == other->notationMode_ &&
         systemTieMode_ == other->systemTieMode_;
}

void TCSettingsProfile::SaveToXml(tinyxml2::XMLElement* element) const {
  if (!element) return;
  element->SetAttribute("Name", name_.GetUTF8());
  element->SetAttribute("NotationMode", notationMode_);
  element->SetAttribute("CourtesyMeasureRange", courtesyMeasureRange_);
  element->SetAttribute("SystemTieMode", systemTieMode_);
  WriteOptionBits(element, checkOptions_, kCheckOptionTable);
  WriteOptionBits(element, parenthesisOptions_, kParenthesisOptionTable);
  // A profile without rules is written as before they existed.
  tinyxml2::XMLElement* rules = element->FirstChildElement(kEngravingRuleElement);
  if (!rules && engravingRules_ == kDefaultEngravingRules) return;
  if (!rules) {
    rules = element->GetDocument()->NewElement(kEngravingRuleElement);
    element->InsertEndChild(rules);
  }
  WriteOptionBits(rules, engravingRules_, kEngravingRuleTable);
}

bool TCSettingsProfile::LoadFromXml(const tinyxml2::XMLElement* element) {
  const char* name = element ? element->Attribute("Name") : nullptr;
  if (!name) return false;
  name_.SetUTF8(name);
  notationMode_ = ReadNumberAttribute(element, "NotationMode", kDefaultNotationMode);
  courtesyMeasureRange_ = ReadNumberAttribute(element, "CourtesyMeasureRange", kDefaultCourtesyMeasureRange);
  systemTieMode_ = ReadNumberAttribute(element, "SystemTieMode", kDefaultSystemTieMode);
  checkOptions_ = ReadOptionBits(element, kCheckOptionTable);
  parenthesisOptions_ = ReadOptionBits(element, kParenthesisOptionTable);
  const tinyxml2::XMLElement* rules = element->FirstChildElement(kEngravingRuleElement);
  engravingRules_ = rules ? ReadOptionBits(rules, kEngravingRuleTable) : kDefaultEngravingRules;
  return true;
}
