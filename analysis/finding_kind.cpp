#include "analysis/finding_kind.h"

#include "analysis/analysis_settings.h"

namespace {

constexpr FindingKindInfo kFindingKinds[] = {
    {FindingKind::DifferOnBeat, "Differ on beat with ", true, ParenthesisRule::Option, kParenSameBeat, true},
    {FindingKind::PitchDiffSameOctave, "Pitch diff with ", true, ParenthesisRule::MeasureDistance, 0, true},
    {FindingKind::PitchDiffOtherOctave, "Pitch diff with ", true, ParenthesisRule::MeasureDistance, 0, true},
    {FindingKind::PreviousGraceAccidental, "Accidental on previous grace note.", false, ParenthesisRule::Option,
     kParenAfterGraceNote, true},
    {FindingKind::LayerLineMissing, "Layer line is missing accidental.", false, ParenthesisRule::Option,
     kParenSameMeasure, true},
    {FindingKind::NoteMissing, "Note is missing accidental.", false, ParenthesisRule::Never, 0, true},
    {FindingKind::ChordLineMissing, "Voiced chord note is missing accidental.", false, ParenthesisRule::Option,
     kParenSameMeasure, true},
    {FindingKind::KeySignatureDifference, "Note is different to preceeding key signature.", false,
     ParenthesisRule::Option, kParenKeySig, true},
    {FindingKind::SystemBreakTie, "Tie with accidental over system break.", false, ParenthesisRule::Option,
     kParenSystemBreaks, true},
    {FindingKind::SystemBreakTieMismatched, "Tie with accidental over (mismatched) system breaks.", false,
     ParenthesisRule::Option, kParenSystemBreaks, false},
    // Atonal scores show their signs plainly, with no parentheses.
    {FindingKind::AtonalNote, "Atonal music: every note shows its accidental.", false, ParenthesisRule::Never, 0, true},
};

static_assert(sizeof(kFindingKinds) / sizeof(kFindingKinds[0]) == kFindingKindCount, "one table row per finding kind");

constexpr bool RowsFollowKinds() {
  for (int32_t i = 0; i < kFindingKindCount; ++i) {
    if (static_cast<int32_t>(kFindingKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(RowsFollowKinds(), "the table rows are in the order of the kinds");

}  // namespace

const FindingKindInfo* GetFindingKindInfo(FindingKind kind) {
  int32_t index = static_cast<int32_t>(kind);
  if (index < 0 || index >= kFindingKindCount) return nullptr;
  return &kFindingKinds[index];
}
