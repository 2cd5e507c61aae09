// The five column texts of the report row that shows a finding: staff,
// location ("M 12: L 1: #3"), pitch name, reason and the accidental to write.
#pragma once

#include <cstdint>

class AccidentalFinding;
class TCDataListRow;
class TCString;

enum FindingColumn : int32_t {
  kStaffColumn = 0,
  kLocationColumn = 1,
  kNoteColumn = 2,
  kInfoColumn = 3,
  kAccidentalColumn = 4,
  kFindingColumnCount = 5,
};

// "M " measure ": L " layer ": #" entry index + 1.
void BuildLocationColumnText(int32_t measure, int32_t layer, int32_t entryIndex, TCString* text);
// The pitch name's accidental signs without letter and octave ("n" when there
// are none), in parentheses when asked, then " *" when the accidental is to
// be shown.
void BuildAccidentalColumnText(const TCString* pitchName, bool parentheses, bool showAccidental, TCString* text);
// Rewrites every column of the row from the finding.
void WriteFindingColumns(const AccidentalFinding& finding, TCDataListRow* row);
// Rewrites the accidental column only.
void WriteAccidentalColumn(const AccidentalFinding& finding, TCDataListRow* row);
