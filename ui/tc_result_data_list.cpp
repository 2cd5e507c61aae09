#include "ui/tc_result_data_list.h"

#include "ui/windows_ui.h"

#include "analysis/accidental_finding.h"
#include "analysis/finding_columns.h"
#include "analysis/tc_analysis_run_context.h"
#include "framework/tc_string.h"
#include "resources/rz_resource_ids.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_user_window.h"

namespace {

// Only the first rows are repainted at once; later rows show their new texts
// when they are next painted.
constexpr int kLastRedrawnItem = 1000;
constexpr const char* kLabelGap = "):   ";

// "Location (F#4):   " for a finding with a location, else empty.
void BuildCaption(const char* start, const TCString& location, const TCString& pitchName, TCString* caption) {
  caption->SetCString("");
  if (location.IsEmpty()) return;
  caption->SetCString(start);
  caption->AppendString(&pitchName);
  caption->AppendCString(kLabelGap);
}

}  // namespace

TCResultDataList::~TCResultDataList() { ReleaseFindings(); }

void TCResultDataList::ItemSelected(int32_t index) {
  EnableRowButtons(index >= 0);
  ShowInfo(index);
}

void TCResultDataList::SelectionCleared() {
  EnableRowButtons(false);
  ShowInfo(-1);
}

void TCResultDataList::ItemDoubleClicked() {
  TCUserWindow* window = GetParent();
  TCControl* selectButton = window ? window->FindControl(IDC_MAIN_SELECT_IN_DOCUMENT) : nullptr;
  if (selectButton && selectButton->IsEnabled()) window->HandleCommand(selectButton);
}

void TCResultDataList::EnableRowButtons(bool enabled) {
  TCUserWindow* window = GetParent();
  if (!window) return;
  for (int16_t id : {IDC_MAIN_TOGGLE, IDC_MAIN_VIEW, IDC_MAIN_SELECT_IN_DOCUMENT}) {
    TCControl* button = window->FindControl(id);
    if (button) button->SetEnabled(enabled);
  }
}

void TCResultDataList::SetLabel(int16_t id, const TCString* text) {
  TCControl* label = GetParent() ? GetParent()->FindControl(id) : nullptr;
  if (label) label->SetText(text);
}

void TCResultDataList::ShowInfo(int32_t index) {
  const AccidentalFinding* finding = GetRowFinding(GetRow(index));
  TCString locationCaption;
  TCString relatedCaption;
  TCString empty;
  if (finding) {
    BuildCaption("Location (", finding->location, finding->pitchName, &locationCaption);
    BuildCaption("Reference (", finding->relatedLocation, finding->relatedPitchName, &relatedCaption);
  }
  SetLabel(IDC_MAIN_LOCATION_CAPTION, &locationCaption);
  SetLabel(IDC_MAIN_LOCATION, finding ? &finding->location : &empty);
  SetLabel(IDC_MAIN_RELATED_CAPTION, &relatedCaption);
  SetLabel(IDC_MAIN_RELATED_LOCATION, finding ? &finding->relatedLocation : &empty);
}

void TCResultDataList::ReleaseFindings() {
  TCDataListRows* rows = GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    TCDataListRow* row = rows->GetRowAt(position);
    delete GetRowFinding(row);
    AttachFinding(row, nullptr);
  }
}

void TCResultDataList::RemoveAppliedRows() {
  TCDataListRows* rows = GetRows();
  for (int32_t position = rows->GetRowCount() - 1; position >= 0; --position) {
    TCDataListRow* row = rows->GetRowAt(position);
    AccidentalFinding* finding = GetRowFinding(row);
    if (!finding || !finding->applied) continue;
    delete finding;
    AttachFinding(row, nullptr);
    rows->RemoveRowAt(position);
  }
}

void TCResultDataList::RedrawFirstItems() { SendItemMessage(LVM_REDRAWITEMS, 0, kLastRedrawnItem); }

void TCResultDataList::RefreshTexts() {
  const TCDataListRows* rows = GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    TCDataListRow* row = rows->GetRowAt(position);
    const AccidentalFinding* finding = GetRowFinding(row);
    if (finding) WriteFindingColumns(*finding, row);
  }
  RedrawFirstItems();
}

int32_t TCResultDataList::GetSelectionMark() const {
  return GetDialog() ? static_cast<int32_t>(SendItemMessage(LVM_GETSELECTIONMARK, 0, 0)) : -1;
}

TCDataListRow* TCResultDataList::GetSelectedRow() const {
  int32_t mark = GetSelectionMark();
  return mark < 0 ? nullptr : GetRow(mark);
}

AccidentalFinding* TCResultDataList::GetSelectedFinding() const { return GetRowFinding(GetSelectedRow()); }

void TCResultDataList::ToggleParentheses() {
  TCDataListRow* row = GetSelectedRow();
  AccidentalFinding* finding = GetRowFinding(row);
  if (!finding) return;
  finding->parentheses = !finding->parentheses;
  WriteAccidentalColumn(*finding, row);
  RedrawFirstItems();
}

bool TCResultDataList::AnyChecked() const {
  const TCDataListRows* rows = GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    if (rows->GetRowAt(position)->IsChecked()) return true;
  }
  return false;
}

void TCResultDataList::CheckAll(bool checked) {
  TCDataListRows* rows = GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    TCDataListRow* row = rows->GetRowAt(position);
    row->SetChecked(checked);
    int32_t item = FindItemOfRow(row);
    if (item >= 0) SetItemChecked(item, checked);
  }
}
