#include "settings/presets.h"

#include <tinyxml2.h>

#include "settings/tc_settings_profile.h"
#include "settings/tc_settings_profiles.h"

namespace {

constexpr uint32_t Check(TCCheckOption option) { return CheckOptionRow(option).bit; }
constexpr uint32_t Rule(TCEngravingRule rule) { return EngravingRuleRow(rule).bit; }

// A courtesy sign answers an inflection the reader still hears: on the same
// staff or grand staff, in the same measure or the next one up to the same
// beat, another octave only within its measure. Other instruments and
// single notes of chords are left alone.
constexpr uint32_t kEngraverChecks = kDefaultCheckOptions & ~Check(TCCheckOption::CrossStaveChecks) &
                                     ~Check(TCCheckOption::ChordLineInstruments) &
                                     ~Check(TCCheckOption::IndependentOctavesSame);
// Music that keeps to no key gets a sign on every note, as its engravers print it.
constexpr uint32_t kEngraverRules =
    Rule(TCEngravingRule::NextMeasureUpToBeat) | Rule(TCEngravingRule::OtherOctaveSameMeasure) |
    Rule(TCEngravingRule::SameBeatSameInstrument) | Rule(TCEngravingRule::AtonalEveryNote);
// The Engraver preset on each staff by itself: no comparison between the
// staves of a grand staff or between layers, no restating after key changes.
constexpr uint32_t kSparingChecks = kEngraverChecks & ~Check(TCCheckOption::KeySigRestate) &
                                    ~Check(TCCheckOption::LayeredInstruments) & ~Check(TCCheckOption::GrandStaff);
// Everything a reader could stumble over, for a last look: every staff
// against every other, octaves linked within an instrument and kept apart
// across instruments, three measures back; only notes of chords compared
// line by line and other instruments' notes on the same beat are left out.
constexpr uint32_t kThoroughChecks = (kDefaultCheckOptions & ~Check(TCCheckOption::IndependentOctavesSame) &
                                      ~Check(TCCheckOption::ChordLineInstruments)) |
                                     Check(TCCheckOption::IndependentOctavesCross);
constexpr uint32_t kThoroughRules =
    Rule(TCEngravingRule::SameBeatSameInstrument) | Rule(TCEngravingRule::AtonalEveryNote);

}  // namespace

const Preset kPresets[] = {
    {"Default Profile", "the settings of a new profile", kDefaultCheckOptions, kDefaultParenthesisOptions,
     kDefaultCourtesyMeasureRange, kDefaultEngravingRules},
    {"Engraver", "what engravers print: the best balance of found and needless signs", kEngraverChecks,
     kDefaultParenthesisOptions, 1, kEngraverRules},
    {"Thorough", "a final check that misses little and suggests more than an engraver prints", kThoroughChecks,
     kDefaultParenthesisOptions, 3, kThoroughRules},
    {"Sparing", "a first pass that suggests only the signs nearly every engraver prints", kSparingChecks,
     kDefaultParenthesisOptions, 1, kEngraverRules},
};
const size_t kPresetCount = sizeof(kPresets) / sizeof(kPresets[0]);

const Preset* FindPreset(const std::string& name) {
  for (size_t index = 0; index < kPresetCount; ++index) {
    if (name == kPresets[index].name) return &kPresets[index];
  }
  return nullptr;
}

void FillProfileFromPreset(const Preset& preset, TCSettingsProfile* profile) {
  if (!profile) return;
  TCString name;
  name.SetUTF8(preset.name);
  profile->SetName(&name);
  profile->SetCheckOptions(preset.checkOptions);
  profile->SetParenthesisOptions(preset.parenthesisOptions);
  profile->SetCourtesyMeasureRange(preset.courtesyMeasureRange);
  profile->SetNotationMode(kDefaultNotationMode);
  profile->SetSystemTieMode(kDefaultSystemTieMode);
  profile->SetEngravingRules(preset.engravingRules);
}

std::string PresetsFileText() {
  TCSettingsProfiles profiles;
  for (size_t index = 0; index < kPresetCount; ++index) {
    auto* profile = new TCSettingsProfile;
    FillProfileFromPreset(kPresets[index], profile);
    profiles.Add(profile);
  }
  tinyxml2::XMLDocument document;
  document.InsertFirstChild(document.NewDeclaration());
  bool rootCreated = false;
  tinyxml2::XMLElement* plugin = TCSettingsProfiles::GetPluginElement(&document, &rootCreated);
  tinyxml2::XMLElement* list = document.NewElement("SettingsProfiles");
  plugin->InsertEndChild(list);
  profiles.SaveElementsToXml(list);
  if (rootCreated) document.InsertEndChild(plugin->Parent());
  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  return printer.CStr();
}
