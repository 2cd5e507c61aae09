// The settings profiles that come with the plug-in: one table, from which
// rzacc's --preset, its preset list and the presets file users copy into the
// plug-in folder are all made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/tc_settings_option.h"

class TCSettingsProfile;

struct Preset {
  const char* name;
  const char* purpose;  // one line: what the preset is for
  uint32_t checkOptions;
  uint32_t parenthesisOptions;
  int32_t courtesyMeasureRange;
  uint32_t engravingRules;
};

extern const Preset kPresets[];
extern const size_t kPresetCount;

// The preset of that exact name, or null.
const Preset* FindPreset(const std::string& name);
// A new profile that holds the preset's name and values.
void FillProfileFromPreset(const Preset& preset, TCSettingsProfile* profile);
// The text of a settings file (rzpluginstorage.xml) that holds every preset
// as a profile, in table order.
std::string PresetsFileText();
