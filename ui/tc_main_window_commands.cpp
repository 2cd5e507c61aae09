// The commands behind the main window's buttons.
#include <memory>

#include "analysis/accidental_finding.h"
#include "analysis/region_scan.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_change_checked_handler.h"
#include "analysis/tc_undo_block.h"
#include "shell/tx_api.h"
#include "ui/tc_ctrl_popup.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_main_window.h"
#include "ui/tc_options_window.h"
#include "ui/tc_result_data_list.h"
#include "ui/tc_ui.h"
#include "ui/tc_view_in_doc_handler.h"
#include "ui/windows_ui.h"

namespace {

constexpr const char* kNoRegionTitle = "No Region Selected";
constexpr const char* kNoRegionText = "Please select a region in the document before processing.";
constexpr const char* kNoLayersTitle = "No Layers";
constexpr const char* kNoLayersText = "Please check at least one layer for processing.";
constexpr const char* kNothingTitle = "Nothing to Report";
constexpr const char* kNothingText =
    "No lacking accidentals were found, based on the selected settings profile. Try to change the profile settings "
    "to achieve a different report result from the Scan.";
constexpr const char* kNoCheckedTitle = "No Checked Items";
constexpr const char* kNoCheckedText = "There are no checked items in the list to change.";
constexpr const char* kDifferentDocumentTitle = "Different Document";
constexpr const char* kDifferentDocumentText =
    "The currently document is not the same as when the 'Scan' was made. Please switch back to the scanned document "
    "and try again.";
constexpr const char* kUseScannedTitle = "Use Scanned Region?";
constexpr const char* kRegionChangedText =
    "The selected region has changed since the scan.\n\nDo you want to apply the changes to the scanned region? (If "
    "you select 'No', the changes will be applied to the currently selected region.)";
constexpr const char* kNoRegionNowText =
    "There isn't any selected region.\nDo you want to apply the changes to the scanned region?";

// A note without duration is shown as the 512 units around its position.
constexpr int32_t kZeroDurationSpan = 512;
constexpr size_t kUnusedRegionSize = 64;

// The region of one note: the selection's slot lists, the staff's slot, the
// note's measure and its time span.
void BuildNoteRegion(const TCMusicRegion& selection, int16_t staff, int32_t measure, int32_t position,
                     int32_t entryTimeValue, TCMusicRegion* note) {
  note->CopyFrom(&selection);
  int16_t slot = TX_InstToSlot(staff, selection.GetStartSlotList());
  note->SetStartSlot(slot);
  note->SetEndSlot(slot);
  note->SetStartMeasure(static_cast<int16_t>(measure));
  note->SetEndMeasure(static_cast<int16_t>(measure));
  int32_t start = position;
  int32_t end = position + entryTimeValue;
  if (entryTimeValue == 0) {
    if (position >= kZeroDurationSpan) {
      start = position - kZeroDurationSpan;
      end = position;
    } else {
      end = kZeroDurationSpan;
    }
  }
  note->SetStartPosition(start);
  note->SetEndPosition(end);
}

bool RelatedNoteLiesElsewhere(const AccidentalFinding& finding) {
  if (!finding.hasRelated) return false;
  bool oneWithoutDuration = (finding.entryTimeValue == 0) != (finding.relatedEntryTimeValue == 0);
  return finding.relatedStaff != finding.staff || finding.relatedMeasure != finding.measure ||
         finding.relatedPosition != finding.position || oneWithoutDuration;
}

}  // namespace

bool TCMainWindow::IsInScannedDocument() const {
  if (TX_GetCurrentOrbeltDocument() == scannedDocument_.GetDocumentNumber()) return true;
  ShowMessage(kDifferentDocumentText, kDifferentDocumentTitle);
  return false;
}

void TCMainWindow::RedrawSelection() const {
  uint8_t first[kUnusedRegionSize] = {};
  uint8_t region[TCMusicRegion::kRecordSize] = {};
  uint8_t third[kUnusedRegionSize] = {};
  TX_GetCurERegions(first, region, third);
  TX_RedrawMusic(third);
}

void TCMainWindow::ViewInDocument(int32_t measure, int16_t staff) const {
  TCViewInDocHandler handler(ui_, staff, measure);
  TCUndoBlock block;
  block.ExecuteHandler(&handler, TCViewInDocHandler::kEditName);
}

int32_t TCMainWindow::CountCheckedRows() const {
  const TCDataListRows* rows = resultList_->GetRows();
  int32_t checked = 0;
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    if (rows->GetRowAt(position)->IsChecked()) ++checked;
  }
  return checked;
}

bool TCMainWindow::Scan() {
  TCMusicRegion selection;
  selection.ReadCurrentSelection();
  if (selection.IsEmpty()) {
    ShowMessage(kNoRegionText, kNoRegionTitle);
    return false;
  }
  ReadChoices();
  if (layerMask_ == 0) {
    ShowMessage(kNoLayersText, kNoLayersTitle);
    return false;
  }
  resultList_->ReleaseFindings();
  resultList_->ClearRows();
  scannedDocument_.SetDocumentNumber(TX_GetCurrentOrbeltDocument());
  scannedRegion_.ReadCurrentSelection();
  // The active settings are read once, here, where the run starts.
  if (!ScanRegion(GetActiveAnalysisSettings(), layerMask_, &selection, resultList_->GetRows())) return false;
  resultList_->RefreshTexts();
  bool found = resultList_->GetRows()->GetRowCount() > 0;
  if (!found) ShowMessage(kNothingText, kNothingTitle);
  UpdateButtons();
  return found;
}

void TCMainWindow::ScanAndChange() {
  if (Scan()) ChangeChecked();
}

void TCMainWindow::ChangeChecked() {
  if (CountCheckedRows() <= 0) {
    ShowMessage(kNoCheckedText, kNoCheckedTitle);
    return;
  }
  if (!IsInScannedDocument()) return;
  TCMusicRegion region;
  region.ReadCurrentSelection();
  if (!region.IsEqual(&scannedRegion_)) {
    if (!region.IsEmpty()) {
      // A box that could not be shown, or was closed without Yes or No,
      // confirmed neither region.
      int32_t answer = ui_ ? ui_->AskYesNo(kRegionChangedText, kUseScannedTitle) : TCUI::kAnswerOther;
      if (answer == TCUI::kAnswerYes) {
        region.CopyFrom(&scannedRegion_);
      } else if (answer != TCUI::kAnswerNo) {
        return;
      }
    } else {
      if (!ui_ || ui_->AskYesNo(kNoRegionNowText, kUseScannedTitle) != TCUI::kAnswerYes) return;
      region.CopyFrom(&scannedRegion_);
    }
  }
  if (ApplyCheckedFindings(resultList_->GetRows(), &region, respace_ != 0)) {
    resultList_->RemoveAppliedRows();
    RedrawSelection();
  } else if (!MessageBeep(MB_ICONEXCLAMATION)) {
    MessageBeep(0xFFFFFFFF);
  }
  UpdateButtons();
}

void TCMainWindow::View() {
  if (!IsInScannedDocument()) return;
  const AccidentalFinding* finding = resultList_->GetSelectedFinding();
  if (!finding) return;
  ViewInDocument(finding->measure, finding->staff);
}

void TCMainWindow::SelectInDocument() {
  if (!IsInScannedDocument()) return;
  const AccidentalFinding* finding = resultList_->GetSelectedFinding();
  if (!finding) return;
  TCMusicRegion current;
  current.ReadCurrentSelection();
  if (!current.IsEmpty()) {
    TCMusicRegion note;
    BuildNoteRegion(current, finding->staff, finding->measure, finding->position, finding->entryTimeValue, &note);
    if (current.IsEqual(&scannedRegion_)) {
      ViewInDocument(finding->measure, finding->staff);
      if (note.GetDocument() == TX_GetCurrentOrbeltDocument()) TX_SetCurERegion(note.GetRecord());
      RedrawSelection();
      return;
    }
    if (current.IsEqual(&note) && RelatedNoteLiesElsewhere(*finding)) {
      TCMusicRegion related;
      BuildNoteRegion(current, finding->relatedStaff, finding->relatedMeasure, finding->relatedPosition,
                      finding->relatedEntryTimeValue, &related);
      ViewInDocument(finding->relatedMeasure, finding->relatedStaff);
      related.SetInDocument();
      RedrawSelection();
      return;
    }
  }
  scannedRegion_.SetInDocument();
  RedrawSelection();
}

void TCMainWindow::ToggleParentheses() { resultList_->ToggleParentheses(); }

void TCMainWindow::CheckAllOrNone() { resultList_->CheckAll(!resultList_->AnyChecked()); }

void TCMainWindow::EditProfiles() {
  int32_t shownChoice = profilePopup_->GetValue() - 1;
  TCOptionsWindow editor(ui_, &profiles_, shownChoice);
  editor.CreateControls();
  HWND active = GetActiveWindow();
  editor.CreateDialogThroughHost(ui_ ? ui_->GetOwnerWindow() : nullptr, true);
  SetActiveWindow(active);
  if (editor.GetResultCode() == kResultCancel) return;
  FillProfilePopup();
  if (editor.GetResultCode() == kResultAccept) {
    selectedProfile_ = ChooseProfileEntry(editor.GetChosenIndex());
  } else if (shownChoice >= 0) {
    // "OK" keeps what the popup showed, which may differ from the last scan's choice.
    ChooseProfileEntry(shownChoice);
  }
}

int32_t TCMainWindow::ChooseProfileEntry(int32_t index) {
  int32_t last = profilePopup_->GetItemCount() - 1;
  if (index > last) index = last;
  if (index < 0) index = 0;
  profilePopup_->SetValue(index + 1);
  return index;
}
