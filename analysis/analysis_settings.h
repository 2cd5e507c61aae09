// The active analysis settings: the four values of the chosen settings
// profile that a scan reads. One record for the whole process; the main
// window sets it before each scan and the analysis never reads a profile.
#pragma once

#include <cstdint>

// Which checks run and how pitches are grouped.
enum CheckOption : uint32_t {
  kCrossStaveChecks = 0x001,
  kLayeredInstruments = 0x002,
  kChordLineInstruments = 0x004,
  kGrandStaff = 0x008,
  kIndependentOctavesSame = 0x010,
  kIndependentOctavesCross = 0x020,
  kKeySigRestate = 0x040,
  kNoCourtesyAfterMeasureRest = 0x080,
  kRestateAfterGrace = 0x100,
};

// Which kinds of finding suggest the accidental in parentheses.
enum ParenthesisOption : uint32_t {
  kParenSameBeat = 0x01,
  kParenSameMeasure = 0x02,
  kParenNextMeasure = 0x04,
  kParenSecondMeasure = 0x08,
  kParenKeySig = 0x10,
  kParenAfterGraceNote = 0x20,
  kParenSystemBreaks = 0x40,
};

// Every check on but the cross-instrument octaves; parentheses on the same
// beat, after a key change and after a grace note.
constexpr uint32_t kDefaultCheckOptions = kCrossStaveChecks | kLayeredInstruments | kChordLineInstruments |
                                          kGrandStaff | kIndependentOctavesSame | kKeySigRestate |
                                          kNoCourtesyAfterMeasureRest | kRestateAfterGrace;
constexpr uint32_t kDefaultParenthesisOptions = kParenSameBeat | kParenKeySig | kParenAfterGraceNote;
constexpr int32_t kDefaultCourtesyMeasureRange = 2;
constexpr int32_t kDefaultSystemTieMode = 0;

// A courtesy range of this value means without limit.
constexpr int32_t kUnlimitedCourtesyRange = 6;
// The highest system tie mode there is.
constexpr int32_t kLastSystemTieMode = 7;

// Whether a value is one that the profile editor offers.
inline bool IsKnownCourtesyMeasureRange(int32_t range) { return range >= 0 && range <= kUnlimitedCourtesyRange; }
inline bool IsKnownSystemTieMode(int32_t mode) { return mode >= 0 && mode <= kLastSystemTieMode; }

struct AnalysisSettings {
  uint32_t checkOptions = kDefaultCheckOptions;
  uint32_t parenthesisOptions = kDefaultParenthesisOptions;
  // How many barlines back a remembered pitch still counts: 0 to 6.
  int32_t courtesyMeasureRange = kDefaultCourtesyMeasureRange;
  // How ties over system breaks are scanned: 0 to 7.
  int32_t systemTieMode = kDefaultSystemTieMode;

  bool HasCheck(uint32_t option) const { return (checkOptions & option) != 0; }
  bool HasParenthesis(uint32_t option) const { return (parenthesisOptions & option) != 0; }
};

const AnalysisSettings& GetActiveAnalysisSettings();
// A range or tie mode that the editor does not offer, from a file edited by
// hand, becomes its default: the analysis only ever sees known values.
void SetActiveAnalysisSettings(const AnalysisSettings& settings);
