#include "webengine/profiles_json.h"

#include <tinyxml2.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>

#include "cli/report_writer.h"
#include "settings/presets.h"
#include "settings/tc_settings_option.h"
#include "settings/tc_settings_profile.h"
#include "settings/tc_settings_profiles.h"

namespace webengine {

namespace {

using rzacc::ReportWriter;
// Ordered, so that a profile's other attributes keep the file's order.
using Json = nlohmann::ordered_json;

// A numeric setting: its attribute, the editor's label, its popup's entries.
struct ChoiceSetting {
  const char* attribute;
  const char* label;
  const char* const* choices;
  int32_t count;
  int32_t defaultValue;
  int32_t (TCSettingsProfile::*get)() const;
  void (TCSettingsProfile::*set)(int32_t);
};

const ChoiceSetting kChoiceSettings[] = {
    {"NotationMode", "Notation Mode", kNotationModeLabels, kNotationModeCount, kDefaultNotationMode,
     &TCSettingsProfile::GetNotationMode, &TCSettingsProfile::SetNotationMode},
    {"CourtesyMeasureRange", "Cautionary Measure Span", kCourtesyMeasureRangeLabels, kCourtesyMeasureRangeCount,
     kDefaultCourtesyMeasureRange, &TCSettingsProfile::GetCourtesyMeasureRange,
     &TCSettingsProfile::SetCourtesyMeasureRange},
    {"SystemTieMode", "Ties at System Breaks", kSystemTieModeLabels, kSystemTieModeCount, kDefaultSystemTieMode,
     &TCSettingsProfile::GetSystemTieMode, &TCSettingsProfile::SetSystemTieMode},
};

constexpr const char* kProfileElementName = "SettingsProfile";

// Calls visit(row, bits of the profile holding that row's option, setter).
template <typename Visit>
void ForEachCheck(Visit visit) {
  for (const TCSettingsOption& row : kCheckOptionTable) {
    visit(row, &TCSettingsProfile::GetCheckOptions, &TCSettingsProfile::SetCheckOptions);
  }
  for (const TCSettingsOption& row : kParenthesisOptionTable) {
    visit(row, &TCSettingsProfile::GetParenthesisOptions, &TCSettingsProfile::SetParenthesisOptions);
  }
  for (const TCSettingsOption& row : kEngravingRuleTable) {
    visit(row, &TCSettingsProfile::GetEngravingRules, &TCSettingsProfile::SetEngravingRules);
  }
}

// The profile's position in the file, which every save writes anew.
constexpr const char* kPositionAttribute = "CollectionIdx";

// Whether the attribute is one the profile's save writes itself.
bool IsOption(const char* attribute) {
  std::string name = attribute;
  if (name == "Name" || name == kPositionAttribute) return true;
  for (const ChoiceSetting& setting : kChoiceSettings) {
    if (name == setting.attribute) return true;
  }
  bool found = false;
  ForEachCheck([&](const TCSettingsOption& row, auto, auto) { found = found || name == row.attribute; });
  return found;
}

void WriteProfile(const TCSettingsProfile& profile, const tinyxml2::XMLElement* element, std::ostream& out) {
  const char* name = profile.GetName()->GetUTF8();
  out << "{\"name\":" << ReportWriter::JsonString(name ? name : "") << ",\"values\":{";
  const char* separator = "";
  ForEachCheck([&](const TCSettingsOption& row, auto get, auto) {
    out << separator << ReportWriter::JsonString(row.attribute) << ":"
        << (((profile.*get)() & row.bit) ? "true" : "false");
    separator = ",";
  });
  for (const ChoiceSetting& setting : kChoiceSettings) {
    out << "," << ReportWriter::JsonString(setting.attribute) << ":" << (profile.*setting.get)();
  }
  for (const tinyxml2::XMLAttribute* attribute = element ? element->FirstAttribute() : nullptr; attribute;
       attribute = attribute->Next()) {
    if (IsOption(attribute->Name())) continue;
    out << "," << ReportWriter::JsonString(attribute->Name()) << ":" << ReportWriter::JsonString(attribute->Value());
  }
  out << "}}";
}

std::string ProfilesText(const std::string& profiles, const std::string& error) {
  return "{\"profiles\":[" + profiles + "],\"error\":" + ReportWriter::JsonString(error) + "}";
}

bool IsWholeNumber(const Json& value) {
  return value.is_number_integer() && value.get<int64_t>() >= INT32_MIN && value.get<int64_t>() <= INT32_MAX;
}

// One profile of the JSON into profile and its element's other attributes.
bool TakeProfile(const Json& json, TCSettingsProfile* profile, tinyxml2::XMLElement* element, std::string* error) {
  auto name = json.is_object() ? json.find("name") : json.end();
  auto values = json.is_object() ? json.find("values") : json.end();
  if (!json.is_object() || name == json.end() || !name->is_string() || (values != json.end() && !values->is_object())) {
    *error = "a profile needs a \"name\" string and a \"values\" object";
    return false;
  }
  const std::string& profileName = name->get_ref<const std::string&>();
  TCString text;
  text.SetUTF8(profileName.c_str());
  profile->SetName(&text);
  if (values == json.end()) return true;
  for (const auto& member : values->items()) {
    const std::string& key = member.key();
    const Json& value = member.value();
    bool known = false;
    ForEachCheck([&](const TCSettingsOption& row, auto get, auto set) {
      if (key != row.attribute || !value.is_boolean()) return;
      (profile->*set)(value.get<bool>() ? ((profile->*get)() | row.bit) : ((profile->*get)() & ~row.bit));
      known = true;
    });
    for (const ChoiceSetting& setting : kChoiceSettings) {
      if (key != setting.attribute || !IsWholeNumber(value)) continue;
      (profile->*setting.set)(static_cast<int32_t>(value.get<int64_t>()));
      known = true;
    }
    if (known || key == kPositionAttribute) continue;
    if (IsOption(key.c_str()) || !value.is_string()) {
      *error = "profile \"" + profileName + "\": the value of " + key + " is not of its kind";
      return false;
    }
    element->SetAttribute(key.c_str(), value.get_ref<const std::string&>().c_str());
  }
  return true;
}

// The settings file to write into: the one the profiles came from, so that
// what other plug-ins of the family keep in it stays, or a new one.
bool LoadBase(const std::string& baseXml, tinyxml2::XMLDocument* document, std::string* error) {
  if (baseXml.find_first_not_of(" \t\r\n") == std::string::npos) return true;
  if (document->Parse(baseXml.data(), baseXml.size()) == tinyxml2::XML_SUCCESS) return true;
  *error = "rzpluginstorage.xml:" + std::to_string(document->ErrorLineNum()) + ": not well-formed XML";
  return false;
}

// The check rows of one table, under the heading the editor gives its list.
template <size_t RowCount>
void WriteCheckRows(const TCSettingsOption (&table)[RowCount], const char* group, const char** separator,
                    std::ostream& out) {
  for (const TCSettingsOption& row : table) {
    out << *separator << "{\"key\":" << ReportWriter::JsonString(row.attribute)
        << ",\"label\":" << ReportWriter::JsonString(row.label) << ",\"group\":" << ReportWriter::JsonString(group)
        << ",\"kind\":\"check\",\"default\":" << (row.defaultOn ? "true" : "false") << "}";
    *separator = ",";
  }
}

}  // namespace

std::string ProfilesJson::Options() {
  std::ostringstream out;
  out << "{\"options\":[";
  const char* separator = "";
  WriteCheckRows(kCheckOptionTable, "Options", &separator, out);
  WriteCheckRows(kParenthesisOptionTable, "Cautionary Parentheses", &separator, out);
  WriteCheckRows(kEngravingRuleTable, "Engraving Rules", &separator, out);
  for (const ChoiceSetting& setting : kChoiceSettings) {
    out << separator << "{\"key\":" << ReportWriter::JsonString(setting.attribute)
        << ",\"label\":" << ReportWriter::JsonString(setting.label)
        << ",\"group\":\"Settings\",\"kind\":\"choice\",\"choices\":[";
    for (int32_t index = 0; index < setting.count; ++index) {
      out << (index ? "," : "") << ReportWriter::JsonString(setting.choices[index]);
    }
    out << "],\"default\":" << setting.defaultValue << "}";
    separator = ",";
  }
  out << "],\"layers\":[1,2,3,4]}";
  return out.str();
}

std::string ProfilesJson::Read(const std::string& xmlText) {
  if (xmlText.find_first_not_of(" \t\r\n") == std::string::npos) return Read(PresetsFileText());
  std::ostringstream profiles;
  tinyxml2::XMLDocument document;
  if (document.Parse(xmlText.data(), xmlText.size()) != tinyxml2::XML_SUCCESS) {
    return ProfilesText("", "rzpluginstorage.xml:" + std::to_string(document.ErrorLineNum()) + ": not well-formed XML");
  }
  const tinyxml2::XMLElement* list = document.FirstChildElement("RZPluginSettings");
  list = list ? list->FirstChildElement("RZAccidentals") : nullptr;
  list = list ? list->FirstChildElement("SettingsProfiles") : nullptr;
  if (!list) return ProfilesText("", "rzpluginstorage.xml holds no RZ Accidentals profiles");
  const char* separator = "";
  for (const tinyxml2::XMLElement* element = list->FirstChildElement(kProfileElementName); element;
       element = element->NextSiblingElement(kProfileElementName)) {
    TCSettingsProfile profile;
    if (!profile.LoadFromXml(element)) continue;
    profiles << separator;
    WriteProfile(profile, element, profiles);
    separator = ",";
  }
  return ProfilesText(profiles.str(), "");
}

bool ProfilesJson::Write(const std::string& profilesJson, const std::string& baseXml, std::string* xmlText,
                         std::string* error) {
  Json json = Json::parse(profilesJson, nullptr, false);
  auto list = json.is_object() ? json.find("profiles") : json.end();
  if (json.is_discarded() || list == json.end() || !list->is_array()) {
    *error = "the JSON holds no \"profiles\" array";
    return false;
  }
  tinyxml2::XMLDocument document;
  if (!LoadBase(baseXml, &document, error)) return false;
  bool rootCreated = false;
  tinyxml2::XMLElement* plugin = TCSettingsProfiles::GetPluginElement(&document, &rootCreated);
  tinyxml2::XMLElement* profilesElement = plugin->FirstChildElement("SettingsProfiles");
  if (!profilesElement) profilesElement = plugin->InsertNewChildElement("SettingsProfiles");
  profilesElement->DeleteChildren();
  if (rootCreated) document.InsertEndChild(plugin->Parent());
  for (const Json& item : *list) {
    TCSettingsProfile profile;
    tinyxml2::XMLElement* element = document.NewElement(kProfileElementName);
    profilesElement->InsertEndChild(element);
    tinyxml2::XMLDocument others;
    tinyxml2::XMLElement* otherAttributes = others.NewElement(kProfileElementName);
    if (!TakeProfile(item, &profile, otherAttributes, error)) return false;
    profile.SaveToXml(element);
    for (const tinyxml2::XMLAttribute* attribute = otherAttributes->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
      element->SetAttribute(attribute->Name(), attribute->Value());
    }
    others.DeleteNode(otherAttributes);
  }
  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  *xmlText = printer.CStr();
  return true;
}

}  // namespace webengine
