#include "analysis/finding_columns.h"

#include "analysis/accidental_finding.h"
#include "framework/tc_string.h"
#include "ui/tc_data_list_row.h"

void BuildLocationColumnText(int32_t measure, int32_t layer, int32_t entryIndex, TCString* text) {
  if (!text) return;
  text->SetCString("M ");
  text->AppendInteger(measure);
  text->AppendCString(": L ");
  text->AppendInteger(layer);
  text->AppendCString(": #");
  text->AppendInteger(entryIndex + 1);
}

void BuildAccidentalColumnText(const TCString* pitchName, bool parentheses, bool showAccidental, TCString* text) {
  if (!text) return;
  text->SetCString("");
  if (pitchName) text->SetString(pitchName);
  int32_t length = static_cast<int32_t>(text->GetLength());
  while (length > 0 && text->IsCharacterAt(length - 1, "0123456789")) {
    text->RemoveAt(length - 1, 1);
    --length;
  }
  if (length > 0) text->RemoveAt(0, 1);
  if (text->IsEmpty()) text->SetCString("n");
  if (parentheses) {
    text->PrependParenthesis();
    text->AppendCString(")");
  }
  if (showAccidental) text->AppendCString(" *");
}

void WriteAccidentalColumn(const AccidentalFinding& finding, TCDataListRow* row) {
  if (!row) return;
  TCString text;
  BuildAccidentalColumnText(&finding.pitchName, finding.parentheses, finding.showAccidental, &text);
  row->SetColumnText(kAccidentalColumn, &text);
}

void WriteFindingColumns(const AccidentalFinding& finding, TCDataListRow* row) {
  if (!row) return;
  row->SetColumnText(kStaffColumn, &finding.staffName);
  TCString location;
  BuildLocationColumnText(finding.measure, finding.layer, finding.entryIndex, &location);
  row->SetColumnText(kLocationColumn, &location);
  row->SetColumnText(kNoteColumn, &finding.pitchName);
  row->SetColumnText(kInfoColumn, &finding.description);
  WriteAccidentalColumn(finding, row);
}
