// The analysis settings: the five values of the chosen settings profile that
// a scan reads, and how its searches run. The main window keeps one active
// record for the whole process and hands it to each scan it starts; the
// analysis reads only what it is handed, never a profile or a global.
#pragma once

#include <cstdint>

#include "settings/tc_settings_option.h"

// Which checks run and how pitches are grouped: the bits of the options table.
enum CheckOption : uint32_t {
  kCrossStaveChecks = CheckOptionRow(TCCheckOption::CrossStaveChecks).bit,
  kLayeredInstruments = CheckOptionRow(TCCheckOption::LayeredInstruments).bit,
  kChordLineInstruments = CheckOptionRow(TCCheckOption::ChordLineInstruments).bit,
  kGrandStaff = CheckOptionRow(TCCheckOption::GrandStaff).bit,
  kIndependentOctavesSame = CheckOptionRow(TCCheckOption::IndependentOctavesSame).bit,
  kIndependentOctavesCross = CheckOptionRow(TCCheckOption::IndependentOctavesCross).bit,
  kKeySigRestate = CheckOptionRow(TCCheckOption::KeySigRestate).bit,
  kNoCourtesyAfterMeasureRest = CheckOptionRow(TCCheckOption::NoCourtesyAfterMeasureRest).bit,
  kRestateAfterGrace = CheckOptionRow(TCCheckOption::RestateAfterGrace).bit,
};

// Rules from engraving practice that narrow or widen the checks.
enum EngravingRule : uint32_t {
  kNextMeasureUpToBeat = EngravingRuleRow(TCEngravingRule::NextMeasureUpToBeat).bit,
  kOtherOctaveSameMeasure = EngravingRuleRow(TCEngravingRule::OtherOctaveSameMeasure).bit,
  kSameBeatSameInstrument = EngravingRuleRow(TCEngravingRule::SameBeatSameInstrument).bit,
  kAtonalEveryNote = EngravingRuleRow(TCEngravingRule::AtonalEveryNote).bit,
};

// Which kinds of finding suggest the accidental in parentheses.
enum ParenthesisOption : uint32_t {
  kParenSameBeat = ParenthesisOptionRow(TCParenthesisOption::ParenSameBeat).bit,
  kParenSameMeasure = ParenthesisOptionRow(TCParenthesisOption::ParenSameMeasure).bit,
  kParenNextMeasure = ParenthesisOptionRow(TCParenthesisOption::ParenNextMeasure).bit,
  kParenSecondMeasure = ParenthesisOptionRow(TCParenthesisOption::ParenSecondMeasure).bit,
  kParenKeySig = ParenthesisOptionRow(TCParenthesisOption::ParenKeySig).bit,
  kParenAfterGraceNote = ParenthesisOptionRow(TCParenthesisOption::ParenAfterGraceNote).bit,
  kParenSystemBreaks = ParenthesisOptionRow(TCParenthesisOption::ParenSystemBreaks).bit,
};

// A courtesy range of this value means without limit.
constexpr int32_t kUnlimitedCourtesyRange = kCourtesyMeasureRangeCount - 1;
// The highest system tie mode there is.
constexpr int32_t kLastSystemTieMode = kSystemTieModeCount - 1;

// Whether a value is one that the profile editor offers.
inline bool IsKnownCourtesyMeasureRange(int32_t range) { return range >= 0 && range <= kUnlimitedCourtesyRange; }
inline bool IsKnownSystemTieMode(int32_t mode) { return mode >= 0 && mode <= kLastSystemTieMode; }

// How a scan searches a group's memory: through the group's index, or by
// walking the whole group, the reference behaviour that the index must
// reproduce exactly (for tests and measurements).
enum class PitchSearch { Indexed, WholeGroup };

struct AnalysisSettings {
  uint32_t checkOptions = kDefaultCheckOptions;
  uint32_t parenthesisOptions = kDefaultParenthesisOptions;
  uint32_t engravingRules = kDefaultEngravingRules;
  // How many barlines back a remembered pitch still counts: 0 to 6.
  int32_t courtesyMeasureRange = kDefaultCourtesyMeasureRange;
  // How ties over system breaks are scanned: 0 to 7.
  int32_t systemTieMode = kDefaultSystemTieMode;
  // Not a profile's value: a choice of the run.
  PitchSearch search = PitchSearch::Indexed;

  bool HasCheck(uint32_t option) const { return (checkOptions & option) != 0; }
  bool HasParenthesis(uint32_t option) const { return (parenthesisOptions & option) != 0; }
  bool HasRule(uint32_t rule) const { return (engravingRules & rule) != 0; }
  bool UsesIndex() const { return search == PitchSearch::Indexed; }

  // The same settings with a range or tie mode that the editor does not
  // offer, from a file edited by hand, turned into its default: the analysis
  // only ever sees known values.
  AnalysisSettings WithKnownValues() const;
};

const AnalysisSettings& GetActiveAnalysisSettings();
// Keeps the settings with known values (WithKnownValues).
void SetActiveAnalysisSettings(const AnalysisSettings& settings);
