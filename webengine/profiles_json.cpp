#include "webengine/profiles_json.h"

#include <tinyxml2.h>

#include <cmath>
#include <sstream>

#include "cli/report_writer.h"
#include "session/profile_choice.h"
#include "settings/tc_settings_option.h"
#include "settings/tc_settings_profile.h"
#include "settings/tc_settings_profiles.h"
#include "webengine/json_reader.h"

namespace webengine {

namespace {

using rzacc::ReportWriter;

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
}

bool IsOption(const char* attribute) {
  std::string name = attribute;
  if (name == "Name") return true;
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

bool IsWholeNumber(const JsonValue& value) {
  return value.GetKind() == JsonValue::Kind::Number && std::floor(value.Number()) == value.Number() &&
         std::fabs(value.Number()) < 2147483648.0;
}

// One profile of the JSON into profile and its element's other attributes.
bool TakeProfile(const JsonValue& json, TCSettingsProfile* profile, tinyxml2::XMLElement* element, std::string* error) {
  const JsonValue* name = json.Find("name");
  const JsonValue* values = json.Find("values");
  if (!json.IsObject() || !name || name->GetKind() != JsonValue::Kind::String || (values && !values->IsObject())) {
    *error = "a profile needs a \"name\" string and a \"values\" object";
    return false;
  }
  TCString text;
  text.SetUTF8(name->String().c_str());
  profile->SetName(&text);
  if (!values) return true;
  for (const auto& member : values->Members()) {
    const std::string& key = member.first;
    const JsonValue& value = member.second;
    bool known = false;
    ForEachCheck([&](const TCSettingsOption& row, auto get, auto set) {
      if (key != row.attribute || value.GetKind() != JsonValue::Kind::Boolean) return;
      (profile->*set)(value.Boolean() ? ((profile->*get)() | row.bit) : ((profile->*get)() & ~row.bit));
      known = true;
    });
    for (const ChoiceSetting& setting : kChoiceSettings) {
      if (key != setting.attribute || !IsWholeNumber(value)) continue;
      (profile->*setting.set)(static_cast<int32_t>(value.Number()));
      known = true;
    }
    if (known) continue;
    if (IsOption(key.c_str()) || value.GetKind() != JsonValue::Kind::String) {
      *error = "profile \"" + name->String() + "\": the value of " + key + " is not of its kind";
      return false;
    }
    element->SetAttribute(key.c_str(), value.String().c_str());
  }
  return true;
}

}  // namespace

std::string ProfilesJson::Options() {
  std::ostringstream out;
  out << "{\"options\":[";
  const char* separator = "";
  ForEachCheck([&](const TCSettingsOption& row, auto, auto) {
    out << separator << "{\"key\":" << ReportWriter::JsonString(row.attribute)
        << ",\"label\":" << ReportWriter::JsonString(row.label)
        << ",\"kind\":\"check\",\"default\":" << (row.defaultOn ? "true" : "false") << "}";
    separator = ",";
  });
  for (const ChoiceSetting& setting : kChoiceSettings) {
    out << ",{\"key\":" << ReportWriter::JsonString(setting.attribute)
        << ",\"label\":" << ReportWriter::JsonString(setting.label) << ",\"kind\":\"choice\",\"choices\":[";
    for (int32_t index = 0; index < setting.count; ++index) {
      out << (index ? "," : "") << ReportWriter::JsonString(setting.choices[index]);
    }
    out << "],\"default\":" << setting.defaultValue << "}";
  }
  out << "],\"layers\":[1,2,3,4]}";
  return out.str();
}

std::string ProfilesJson::Read(const std::string& xmlText) {
  std::ostringstream profiles;
  if (xmlText.find_first_not_of(" \t\r\n") == std::string::npos) {
    TCSettingsProfile profile;
    TCString name;
    name.SetUTF8(session::ProfileChoice::kDefaultProfileName);
    profile.SetName(&name);
    WriteProfile(profile, nullptr, profiles);
    return ProfilesText(profiles.str(), "");
  }
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

bool ProfilesJson::Write(const std::string& profilesJson, std::string* xmlText, std::string* error) {
  JsonValue json;
  if (!JsonValue::Parse(profilesJson, &json, error)) return false;
  const JsonValue* list = json.Find("profiles");
  if (!list || !list->IsArray()) {
    *error = "the JSON holds no \"profiles\" array";
    return false;
  }
  tinyxml2::XMLDocument document;
  bool rootCreated = false;
  tinyxml2::XMLElement* plugin = TCSettingsProfiles::GetPluginElement(&document, &rootCreated);
  tinyxml2::XMLElement* profilesElement = document.NewElement("SettingsProfiles");
  plugin->InsertEndChild(profilesElement);
  if (rootCreated) document.InsertEndChild(plugin->Parent());
  for (const JsonValue& item : list->Items()) {
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
