// The options that a settings profile stores as bit sets, and the choices of
// its numeric settings. One table drives the settings file and the profile
// editor, so a row's position is both its attribute's place in the file and
// its row in the editor.
#pragma once

#include <cstddef>
#include <cstdint>

struct TCSettingsOption {
  const char* label;  // shown by the profile editor
  uint32_t bit;
  const char* attribute;  // XML attribute name in the settings file
  bool defaultOn;         // used when the attribute is missing
};

enum class TCCheckOption {
  CrossStaveChecks,
  LayeredInstruments,
  ChordLineInstruments,
  GrandStaff,
  IndependentOctavesSame,
  IndependentOctavesCross,
  KeySigRestate,
  NoCourtesyAfterMeasureRest,
  RestateAfterGrace,
  Count
};

// Rules from engraving practice that narrow the checks above, or widen them
// where a convention asks for more signs. The profile editor does not show
// them: a profile keeps them in an element of its own (kEngravingRuleElement),
// so that a profile without it reads as before.
enum class TCEngravingRule {
  NextMeasureUpToBeat,
  OtherOctaveSameMeasure,
  SameBeatSameInstrument,
  AtonalEveryNote,
  Count
};

enum class TCParenthesisOption {
  ParenSameBeat,
  ParenSameMeasure,
  ParenNextMeasure,
  ParenSecondMeasure,
  ParenKeySig,
  ParenAfterGraceNote,
  ParenSystemBreaks,
  Count
};

inline constexpr TCSettingsOption kCheckOptionTable[] = {
    {"Cross-Stave Checks", 0x001, "CrossStaveChecks", true},
    {"Layers as Independent Instruments", 0x002, "LayeredInstruments", true},
    {"Chord Lines as Independent Instruments", 0x004, "ChordLineInstruments", true},
    {"Grand Staff as 1 Instrument", 0x008, "GrandStaff", true},
    {"Independent Octaves on Same Instrument", 0x010, "IndependentOctavesSame", true},
    {"Independent Octaves on Cross-Instrument", 0x020, "IndependentOctavesCross", false},
    {"Restate Differences After Key Sig Change", 0x040, "KeySigRestate", true},
    {"No Courtesy after 1 Measure Rest", 0x080, "NoCourtesyAfterMeasureRest", true},
    {"Restate After Grace Note Accidental", 0x100, "RestateAfterGrace", true},
};

inline constexpr const char* kEngravingRuleElement = "RZEngravingRules";

inline constexpr TCSettingsOption kEngravingRuleTable[] = {
    // A reader carries an inflection for about a bar's time: into the next
    // measure up to the beat where it stood, not further.
    {"Next Measure Only, Up to the Same Beat", 0x001, "NextMeasureUpToBeat", false},
    // Another octave's inflection misleads within its own measure; after the
    // barline the reader takes each octave from the key again.
    {"Other Octaves Only in the Same Measure", 0x002, "OtherOctaveSameMeasure", false},
    // A player reads the notes struck together on his own staves; another
    // instrument's inflection on the same beat is no reason for a courtesy sign.
    {"Same Beat Only Within One Instrument", 0x004, "SameBeatSameInstrument", false},
    // Where the notes keep to no key, the key tells the reader nothing and
    // engravers give every note its own sign.
    {"Atonal Music: an Accidental on Every Note", 0x008, "AtonalEveryNote", false},
};

inline constexpr TCSettingsOption kParenthesisOptionTable[] = {
    {"On Same Beat", 0x01, "ParenSameBeat", true},
    {"In Same Measure", 0x02, "ParenSameMeasure", false},
    {"In Next Measure", 0x04, "ParenNextMeasure", false},
    {"In 2nd Measure and Forward", 0x08, "ParenSecondMeasure", false},
    {"After Key Sig Change", 0x10, "ParenKeySig", true},
    {"After Grace Note", 0x20, "ParenAfterGraceNote", true},
    {"Over System Breaks", 0x40, "ParenSystemBreaks", false},
};

constexpr int32_t kCheckOptionCount = static_cast<int32_t>(TCCheckOption::Count);
constexpr int32_t kParenthesisOptionCount = static_cast<int32_t>(TCParenthesisOption::Count);
constexpr int32_t kEngravingRuleCount = static_cast<int32_t>(TCEngravingRule::Count);

static_assert(sizeof(kCheckOptionTable) / sizeof(kCheckOptionTable[0]) == kCheckOptionCount,
              "one check option row per TCCheckOption");
static_assert(sizeof(kParenthesisOptionTable) / sizeof(kParenthesisOptionTable[0]) == kParenthesisOptionCount,
              "one parenthesis option row per TCParenthesisOption");
static_assert(sizeof(kEngravingRuleTable) / sizeof(kEngravingRuleTable[0]) == kEngravingRuleCount,
              "one engraving rule row per TCEngravingRule");

constexpr const TCSettingsOption& CheckOptionRow(TCCheckOption option) {
  return kCheckOptionTable[static_cast<int>(option)];
}
constexpr const TCSettingsOption& EngravingRuleRow(TCEngravingRule rule) {
  return kEngravingRuleTable[static_cast<int>(rule)];
}
constexpr const TCSettingsOption& ParenthesisOptionRow(TCParenthesisOption option) {
  return kParenthesisOptionTable[static_cast<int>(option)];
}

template <size_t RowCount>
constexpr uint32_t DefaultOptionBits(const TCSettingsOption (&table)[RowCount]) {
  uint32_t bits = 0;
  for (size_t row = 0; row < RowCount; ++row) {
    if (table[row].defaultOn) bits |= table[row].bit;
  }
  return bits;
}

constexpr uint32_t kDefaultCheckOptions = DefaultOptionBits(kCheckOptionTable);
constexpr uint32_t kDefaultParenthesisOptions = DefaultOptionBits(kParenthesisOptionTable);
constexpr uint32_t kDefaultEngravingRules = DefaultOptionBits(kEngravingRuleTable);
static_assert(kDefaultCheckOptions == 0x1DF, "check option defaults");
static_assert(kDefaultEngravingRules == 0, "a new profile applies no engraving rule");
static_assert(kDefaultParenthesisOptions == 0x31, "parenthesis option defaults");

// Popup entries of the numeric settings; entry i stands for the value i.
inline constexpr const char* kNotationModeLabels[] = {"Traditional"};
inline constexpr const char* kCourtesyMeasureRangeLabels[] = {"Don't Use", "1", "2", "3", "4", "5", "Infinite"};
inline constexpr const char* kSystemTieModeLabels[] = {
    "Don't Scan",
    "Scan Current Part/Score Only",
    "Scan All",
    "Scan Score Only",
    "Scan Parts Only",
    "Scan only documents with no linked parts",
    "Report only when score and part match system breaks",
    "Report all, uncheck score/part conflicts",
};

constexpr int32_t kNotationModeCount = 1;
constexpr int32_t kCourtesyMeasureRangeCount = 7;  // 6 stands for no limit
constexpr int32_t kSystemTieModeCount = 8;
// What a new profile has, and what a file without the attribute gives.
constexpr int32_t kDefaultNotationMode = 0;
constexpr int32_t kDefaultCourtesyMeasureRange = 2;
constexpr int32_t kDefaultSystemTieMode = 0;
static_assert(sizeof(kNotationModeLabels) / sizeof(kNotationModeLabels[0]) == kNotationModeCount,
              "one label per notation mode");
static_assert(sizeof(kCourtesyMeasureRangeLabels) / sizeof(kCourtesyMeasureRangeLabels[0]) ==
                  kCourtesyMeasureRangeCount,
              "one label per courtesy measure range");
static_assert(sizeof(kSystemTieModeLabels) / sizeof(kSystemTieModeLabels[0]) == kSystemTieModeCount,
              "one label per system tie mode");
