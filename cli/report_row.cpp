#include "cli/report_row.h"

#include "analysis/accidental_finding.h"
#include "analysis/finding_columns.h"
#include "analysis/finding_kind.h"
#include "musicxml/imported_score.h"

namespace rzacc {

namespace {

constexpr const char* kKindNames[] = {
    "DifferOnBeat",         "PitchDiffSameOctave",
    "PitchDiffOtherOctave", "PreviousGraceAccidental",
    "LayerLineMissing",     "NoteMissing",
    "ChordLineMissing",     "KeySignatureDifference",
    "SystemBreakTie",       "SystemBreakTieMismatched",
    "AtonalNote",
};
static_assert(sizeof(kKindNames) / sizeof(kKindNames[0]) == kFindingKindCount, "one name per finding kind");

std::string Text(const TCString& text) { return text.ToUTF8String(); }

}  // namespace

const char* ReportRow::KindName(int kind) {
  if (kind < 0 || kind >= kFindingKindCount) return "Unknown";
  return kKindNames[kind];
}

std::string ReportRow::BuildLocationColumn(int measure, int layer, int entryIndex) {
  TCString text;
  BuildLocationColumnText(measure, layer, entryIndex, &text);
  return Text(text);
}

std::string ReportRow::BuildAccidentalColumn(const std::string& pitchName, bool parentheses, bool showAccidental) {
  TCString name;
  name.SetUTF8(pitchName.c_str());
  TCString text;
  BuildAccidentalColumnText(&name, parentheses, showAccidental, &text);
  return Text(text);
}

ReportRow ReportRow::FromFinding(const AccidentalFinding& finding, bool checked, const musicxml::ImportedScore& score) {
  ReportRow row;
  row.staff = Text(finding.staffName);
  row.location = BuildLocationColumn(finding.measure, finding.layer, finding.entryIndex);
  row.note = Text(finding.pitchName);
  row.info = Text(finding.description);
  TCString accidental;
  BuildAccidentalColumnText(&finding.pitchName, finding.parentheses, finding.showAccidental, &accidental);
  row.accidental = Text(accidental);
  row.locationText = Text(finding.location);
  row.relatedLocationText = Text(finding.relatedLocation);
  row.kind = KindName(static_cast<int>(finding.kind));
  row.checked = checked;
  row.applied = finding.applied;
  row.entryNumber = finding.entryNumber;
  row.noteIndex = finding.noteIndex;
  row.parentheses = finding.parentheses;
  row.measure = finding.measure;
  row.fileMeasure = score.FileMeasureNumber(finding.measure);
  row.hasRelated = finding.hasRelated;
  if (finding.hasRelated) {
    row.relatedMeasure = finding.relatedMeasure;
    row.relatedFileMeasure = score.FileMeasureNumber(finding.relatedMeasure);
  }
  return row;
}

}  // namespace rzacc
