#include "ui/tc_options_window.h"

#include <initializer_list>

#include "settings/tc_settings_option.h"
#include "settings/tc_settings_profile.h"
#include "ui/tc_control.h"
#include "ui/tc_ctrl_data_list.h"
#include "ui/tc_ctrl_list_box.h"
#include "ui/tc_ctrl_popup.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_ui.h"
#include "ui/windows_ui.h"

namespace {

constexpr const char* kCantDeleteTitle = "Can't Delete";
constexpr const char* kCantDeleteText =
    "At least one settings profile must exist. Can't delete the last remaining settings profile.";
constexpr int32_t kCheckListWidth = 240;
constexpr int32_t kParenthesisListWidth = 190;
constexpr uint32_t kListStyles = LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES;

const TCSettingsOption& OptionRow(bool checkOptions, int32_t row) {
  return checkOptions ? kCheckOptionTable[row] : kParenthesisOptionTable[row];
}

int32_t OptionCount(bool checkOptions) { return checkOptions ? kCheckOptionCount : kParenthesisOptionCount; }

template <typename Control>
Control* Create(TCOptionsWindow* window, int16_t id, int32_t role = TCControl::kRoleNone) {
  auto* control = new Control(id);
  control->SetCommandRole(role);
  window->AddControl(control);
  return control;
}

// A value without an entry of its own (written by another version, say)
// shows no entry; unless the user chooses one, the value stays as it was.
void ReadPopupValue(const TCCtrlPopup* popup, int32_t* value) {
  int32_t entry = popup->GetValue();
  if (entry >= 1) *value = entry - 1;
}

template <size_t Count>
void FillPopup(TCCtrlPopup* popup, const char* const (&entries)[Count]) {
  popup->ClearItems();
  for (const char* entry : entries) popup->AddItem(entry);
}

}  // namespace

TCOptionsWindow::TCOptionsWindow(TCUI* ui, TCSettingsProfiles* sourceProfiles, int32_t chosenIndex)
    : TCResourceWindow(IDD_RZ_PROFILE_EDITOR), sourceProfiles_(sourceProfiles), ui_(ui), chosenIndex_(chosenIndex) {}

TCOptionsWindow::~TCOptionsWindow() = default;

void TCOptionsWindow::CreateControls() {
  okAndUseButton_ = Create<TCCtrlButton>(this, IDC_EDITOR_OK_AND_USE, TCControl::kRoleAccept);
  cancelButton_ = Create<TCCtrlButton>(this, IDC_EDITOR_CANCEL, TCControl::kRoleClose);
  okButton_ = Create<TCCtrlButton>(this, IDC_EDITOR_OK);
  profileList_ = Create<TCCtrlListBox>(this, IDC_EDITOR_PROFILE_LIST);
  addButton_ = Create<TCCtrlButton>(this, IDC_EDITOR_ADD);
  deleteButton_ = Create<TCCtrlButton>(this, IDC_EDITOR_DELETE);
  nameField_ = Create<TCCtrlEdit>(this, IDC_EDITOR_NAME);
  notationPopup_ = Create<TCCtrlPopup>(this, IDC_EDITOR_NOTATION_MODE);
  spanCaption_ = Create<TCCtrlStatic>(this, IDC_EDITOR_SPAN_CAPTION);
  spanPopup_ = Create<TCCtrlPopup>(this, IDC_EDITOR_SPAN);
  checkList_ = Create<TCCtrlDataList>(this, IDC_EDITOR_CHECK_OPTIONS);
  parenthesisList_ = Create<TCCtrlDataList>(this, IDC_EDITOR_PARENTHESIS_OPTIONS);
  tieCaption_ = Create<TCCtrlStatic>(this, IDC_EDITOR_TIE_CAPTION);
  tiePopup_ = Create<TCCtrlPopup>(this, IDC_EDITOR_TIE_MODE);
}

void TCOptionsWindow::InitWindow() {
  TCResourceWindow::InitWindow();
  workingProfiles_.CopyFrom(sourceProfiles_);
  profileList_->ClearItems();
  for (int32_t index = 0; index < workingProfiles_.GetCount(); ++index) {
    profileList_->AddItem(workingProfiles_.GetProfileAt(index)->GetName());
  }
  FillPopup(notationPopup_, kNotationModeLabels);
  notationPopup_->SetValue(1);
  FillPopup(spanPopup_, kCourtesyMeasureRangeLabels);
  FillOptionList(checkList_, "Options", kCheckListWidth, true);
  FillOptionList(parenthesisList_, "Cautionary Parentheses", kParenthesisListWidth, false);
  FillPopup(tiePopup_, kSystemTieModeLabels);
  profileList_->SetSelection(chosenIndex_);
  ShowProfile(chosenIndex_);
}

void TCOptionsWindow::FillOptionList(TCCtrlDataList* list, const char* title, int32_t width, bool checkOptions) {
  list->AddExtendedStyle(kListStyles);
  list->AddColumn(title, width);
  list->ClearRows();
  uint32_t bits = checkOptions ? checkOptions_ : parenthesisOptions_;
  for (int32_t row = 0; row < OptionCount(checkOptions); ++row) {
    auto* line = new TCDataListRow(1);
    line->SetColumnCString(0, OptionRow(checkOptions, row).label);
    line->SetChecked((bits & OptionRow(checkOptions, row).bit) != 0);
    list->AddRow(line);
  }
}

void TCOptionsWindow::ShowOptionBits(TCCtrlDataList* list, uint32_t bits, bool checkOptions) {
  for (int32_t row = 0; row < OptionCount(checkOptions) && row < list->GetItemCount(); ++row) {
    bool on = (bits & OptionRow(checkOptions, row).bit) != 0;
    TCDataListRow* line = list->GetRow(row);
    if (line) line->SetChecked(on);
    list->SetItemChecked(row, on);
  }
}

uint32_t TCOptionsWindow::ReadOptionBits(const TCCtrlDataList* list, bool checkOptions) const {
  uint32_t bits = 0;
  for (int32_t row = 0; row < OptionCount(checkOptions); ++row) {
    const TCDataListRow* line = list->GetRows()->GetRowAt(row);
    if (line && line->IsChecked()) bits |= OptionRow(checkOptions, row).bit;
  }
  return bits;
}

void TCOptionsWindow::ShowProfile(int32_t index) {
  const TCSettingsProfile* profile = workingProfiles_.GetProfileAt(index);
  if (index < 0 || !profile) return;
  editedName_.SetString(profile->GetName());
  courtesyMeasureRange_ = profile->GetCourtesyMeasureRange();
  notationMode_ = profile->GetNotationMode();
  systemTieMode_ = profile->GetSystemTieMode();
  checkOptions_ = profile->GetCheckOptions();
  parenthesisOptions_ = profile->GetParenthesisOptions();
  nameField_->SetText(&editedName_);
  notationPopup_->SetValue(notationMode_ + 1);
  spanPopup_->SetValue(courtesyMeasureRange_ + 1);
  ShowOptionBits(checkList_, checkOptions_, true);
  ShowOptionBits(parenthesisList_, parenthesisOptions_, false);
  tiePopup_->SetValue(systemTieMode_ + 1);
  shownIndex_ = index;
}

void TCOptionsWindow::ReadControls() {
  checkOptions_ = ReadOptionBits(checkList_, true);
  parenthesisOptions_ = ReadOptionBits(parenthesisList_, false);
  ReadPopupValue(notationPopup_, &notationMode_);
  ReadPopupValue(spanPopup_, &courtesyMeasureRange_);
  ReadPopupValue(tiePopup_, &systemTieMode_);
  nameField_->GetText(&editedName_);
  editedName_.TrimWhitespace();
}

void TCOptionsWindow::StoreProfile(int32_t index) {
  TCSettingsProfile* profile = workingProfiles_.GetProfileAt(index);
  if (index < 0 || !profile) return;
  profile->SetName(&editedName_);
  profile->SetCheckOptions(checkOptions_);
  profile->SetParenthesisOptions(parenthesisOptions_);
  profile->SetCourtesyMeasureRange(courtesyMeasureRange_);
  profile->SetNotationMode(notationMode_);
  profile->SetSystemTieMode(systemTieMode_);
  profileList_->SetItemText(index, &editedName_);
}

void TCOptionsWindow::Commit(int16_t result) {
  chosenIndex_ = profileList_->GetSelection();
  if (chosenIndex_ < 0) return;
  SetResultCode(result);
  ReadControls();
  StoreProfile(chosenIndex_);
  sourceProfiles_->CopyFrom(&workingProfiles_);
  CloseWindow();
}

void TCOptionsWindow::OkPressed() {
  chosenIndex_ = profileList_->GetSelection();
  if (chosenIndex_ >= 0) Commit(kResultAccept);
}

void TCOptionsWindow::StoreShownProfile() {
  if (shownIndex_ < 0) return;
  ReadControls();
  StoreProfile(shownIndex_);
}

void TCOptionsWindow::ChooseProfile() {
  StoreShownProfile();
  int32_t selection = profileList_->GetSelection();
  if (selection == -1 || selection == shownIndex_) return;
  ShowProfile(selection);
}

void TCOptionsWindow::AddProfile() {
  StoreShownProfile();
  auto* profile = new TCSettingsProfile;
  workingProfiles_.Add(profile);
  profileList_->AddItem(profile->GetName());
  int32_t last = profileList_->GetItemCount() - 1;
  profileList_->SetSelection(last);
  ShowProfile(last);
}

void TCOptionsWindow::DeleteProfile() {
  int32_t selection = profileList_->GetSelection();
  if (selection < 0) return;
  if (workingProfiles_.GetCount() < 2) {
    if (ui_) ui_->AlertError(kCantDeleteText, kCantDeleteTitle);
    return;
  }
  workingProfiles_.RemoveAt(selection);
  profileList_->DeleteItem(selection);
  int32_t last = profileList_->GetItemCount() - 1;
  if (selection > last) selection = last;
  profileList_->SetSelection(selection);
  // The profile shown is gone; what the controls hold must not land on its successor.
  shownIndex_ = -1;
  ShowProfile(selection);
}

void TCOptionsWindow::RenameFromField() {
  nameField_->GetText(&editedName_);
  editedName_.TrimWhitespace();
  int32_t selection = profileList_->GetSelection();
  if (selection >= 0) profileList_->SetItemText(selection, &editedName_);
}

void TCOptionsWindow::EnableSettingsForNotationMode() {
  bool enabled = notationPopup_->GetValue() == 1;
  for (TCControl* control : {static_cast<TCControl*>(spanCaption_), static_cast<TCControl*>(spanPopup_),
                             static_cast<TCControl*>(checkList_), static_cast<TCControl*>(parenthesisList_),
                             static_cast<TCControl*>(tieCaption_), static_cast<TCControl*>(tiePopup_)}) {
    control->SetEnabled(enabled);
  }
}

bool TCOptionsWindow::HandleCommand(TCControl* control) {
  if (!control) return false;
  switch (control->GetId()) {
    case IDC_EDITOR_OK:
      Commit(kResultOk);
      break;
    case IDC_EDITOR_PROFILE_LIST:
      ChooseProfile();
      break;
    case IDC_EDITOR_ADD:
      AddProfile();
      break;
    case IDC_EDITOR_DELETE:
      DeleteProfile();
      break;
    case IDC_EDITOR_NAME:
      RenameFromField();
      break;
    case IDC_EDITOR_NOTATION_MODE:
      EnableSettingsForNotationMode();
      break;
    default:
      break;
  }
  return false;
}
