#include "ui/tc_main_window.h"

#include <cstdio>
#include <initializer_list>

#include "analysis/profile_settings.h"
#include "settings/plugin_text_file.h"
#include "settings/tc_settings_pair.h"
#include "shell/tx_api.h"
#include "ui/tc_control.h"
#include "ui/tc_ctrl_data_list.h"
#include "ui/tc_ctrl_popup.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_result_data_list.h"
#include "ui/tc_ui.h"
#include "ui/windows_ui.h"

namespace {

constexpr const char* kWindowXKey = "RZACCIDENTALS_WINDOWX";
constexpr const char* kWindowYKey = "RZACCIDENTALS_WINDOWY";
constexpr const char* kWindowWidthKey = "RZACCIDENTALS_WINDOWWIDTH";
constexpr const char* kWindowHeightKey = "RZACCIDENTALS_WINDOWHEIGHT";
constexpr const char* kRespaceKey = "RZACCIDENTALS_RESPACE";
constexpr const char* kColumnKeys[] = {"RZACCIDENTALS_COLUMN1", "RZACCIDENTALS_COLUMN2", "RZACCIDENTALS_COLUMN3",
                                       "RZACCIDENTALS_COLUMN4", "RZACCIDENTALS_COLUMN5"};
constexpr const char* kLayersKey = "RZACCIDENTALS_LAYERS";
constexpr const char* kSelectedProfileKey = "RZACCIDENTALS_SELECTEDPROFILE";
constexpr const char* kShadeOption = "RZACCIDENTALS_WINDOWSHADE";
constexpr const char* kAlphaOption = "RZACCIDENTALS_WINDOWALPHA";
constexpr const char* kColumnTitles[] = {"Staff", "Location", "Note", "Info", "Accidental"};
static_assert(sizeof(kColumnKeys) / sizeof(kColumnKeys[0]) == TCMainWindow::kColumnCount, "one key per column");
static_assert(sizeof(kColumnTitles) / sizeof(kColumnTitles[0]) == TCMainWindow::kColumnCount, "one title per column");

constexpr int32_t kLayerColumnWidth = 40;
constexpr int32_t kTranslucentPercent = 80;
constexpr uint32_t kListStyles = LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES;

int32_t ValueOf(const TCSettingsPair* pair) { return ConvertLikeAtoi(pair->GetValue()->GetCString()); }

bool OptionIsOn(const char* key) {
  TCString name(key);
  TCSettingsPair* pair = ReadOption(&name);
  bool on = pair && pair->GetValue()->IsEqualCString("1");
  delete pair;
  return on;
}

void SetNumber(TCSettingsPairs* pairs, const char* key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
  pairs->SetPair(key, text);
}

template <typename Control>
Control* Create(TCMainWindow* window, int16_t id, int32_t role = TCControl::kRoleNone) {
  auto* control = new Control(id);
  control->SetCommandRole(role);
  window->AddControl(control);
  return control;
}

}  // namespace

TCMainWindow::TCMainWindow(TCUI* ui)
    : TCResourceWindow(IDD_RZ_MAIN_WINDOW), scannedDocument_(TX_GetCurrentOrbeltDocument()), ui_(ui) {
  ReadPreferences();
}

TCMainWindow::~TCMainWindow() {
  if (resultList_) resultList_->ReleaseFindings();
  EndDialogThroughHost();
}

void TCMainWindow::CreateControls() {
  scanButton_ = Create<TCCtrlButton>(this, IDC_MAIN_SCAN, TCControl::kRoleAccept);
  closeButton_ = Create<TCCtrlButton>(this, IDC_MAIN_CLOSE, TCControl::kRoleCancel);
  profilePopup_ = Create<TCCtrlPopup>(this, IDC_MAIN_PROFILE_POPUP);
  profilesButton_ = Create<TCCtrlButton>(this, IDC_MAIN_PROFILES);
  layerList_ = Create<TCCtrlDataList>(this, IDC_MAIN_LAYER_LIST);
  separator_ = Create<TCCtrlLine>(this, IDC_MAIN_SEPARATOR);
  locationCaption_ = Create<TCCtrlStatic>(this, IDC_MAIN_LOCATION_CAPTION);
  location_ = Create<TCCtrlStatic>(this, IDC_MAIN_LOCATION);
  relatedCaption_ = Create<TCCtrlStatic>(this, IDC_MAIN_RELATED_CAPTION);
  relatedLocation_ = Create<TCCtrlStatic>(this, IDC_MAIN_RELATED_LOCATION);
  resultList_ = Create<TCResultDataList>(this, IDC_MAIN_RESULT_LIST);
  toggleButton_ = Create<TCCtrlButton>(this, IDC_MAIN_TOGGLE);
  viewButton_ = Create<TCCtrlButton>(this, IDC_MAIN_VIEW);
  selectButton_ = Create<TCCtrlButton>(this, IDC_MAIN_SELECT_IN_DOCUMENT);
  changeButton_ = Create<TCCtrlButton>(this, IDC_MAIN_CHANGE_CHECKED);
  respaceBox_ = Create<TCCtrlCheckbox>(this, IDC_MAIN_RESPACE);
  scanChangeButton_ = Create<TCCtrlButton>(this, IDC_MAIN_SCAN_CHANGE);
  checkAllButton_ = Create<TCCtrlButton>(this, IDC_MAIN_CHECK_ALL);
}

void TCMainWindow::ReadPreferences() {
  PreferencesRead read = PreferencesRead::Absent;
  TCSettingsPairs* pairs = ReadPreferencesFile(&read);
  if (!pairs || read != PreferencesRead::Read) {
    delete pairs;
    return;
  }
  const TCSettingsPair* x = pairs->FindPair(kWindowXKey);
  const TCSettingsPair* y = pairs->FindPair(kWindowYKey);
  const TCSettingsPair* width = pairs->FindPair(kWindowWidthKey);
  const TCSettingsPair* height = pairs->FindPair(kWindowHeightKey);
  if (x && y && width && height) {
    SetRememberedPosition(ValueOf(x), ValueOf(y));
    SetRememberedSize(ValueOf(width), ValueOf(height));
  }
  if (const TCSettingsPair* respace = pairs->FindPair(kRespaceKey)) {
    respace_ = respace->GetValue()->IsEqualCString("1") ? 1 : 0;
  }
  for (int32_t column = 0; column < kColumnCount; ++column) {
    ApplyPreference(*pairs, kColumnKeys[column], &columnWidths_[column]);
  }
  int32_t layers = static_cast<int32_t>(layerMask_);
  ApplyPreference(*pairs, kLayersKey, &layers);
  layerMask_ = static_cast<uint32_t>(layers);
  ApplyPreference(*pairs, kSelectedProfileKey, &selectedProfile_);
  delete pairs;
}

void TCMainWindow::ApplyPreference(const TCSettingsPairs& pairs, const char* key, int32_t* field) const {
  const TCSettingsPair* pair = pairs.FindPair(key);
  if (pair) *field = ValueOf(pair);
}

bool TCMainWindow::WritePreferences() const {
  TCSettingsPairs ours;
  SetNumber(&ours, kWindowXKey, HasPosition() ? GetPositionX() : -1);
  SetNumber(&ours, kWindowYKey, HasPosition() ? GetPositionY() : -1);
  SetNumber(&ours, kWindowWidthKey, HasSize() ? GetWidth() : -1);
  SetNumber(&ours, kWindowHeightKey, HasSize() ? GetHeight() : -1);
  ours.SetPair(kRespaceKey, respace_ ? "1" : "0");
  for (int32_t column = 0; column < kColumnCount; ++column)
    SetNumber(&ours, kColumnKeys[column], columnWidths_[column]);
  SetNumber(&ours, kLayersKey, static_cast<int32_t>(layerMask_));
  SetNumber(&ours, kSelectedProfileKey, selectedProfile_);
  return UpdatePreferencesFile(&ours);
}

int32_t TCMainWindow::GetColumnWidth(int32_t column) const {
  return column >= 0 && column < kColumnCount ? columnWidths_[column] : -1;
}

void TCMainWindow::ReadOptions() {
  shadeOption_ = OptionIsOn(kShadeOption) ? 1 : 0;
  alphaOption_ = OptionIsOn(kAlphaOption) ? 1 : 0;
}

void TCMainWindow::InitWindow() {
  ReadOptions();
  MarkOpen();
  TakeTrackingSizeFromWindow();
  profiles_.LoadProfiles();
  EnsureProfile();
  FillProfilePopup();
  layerList_->AddExtendedStyle(kListStyles);
  layerList_->AddColumn("Layer", kLayerColumnWidth);
  FillLayerList();
  SetUpResultList();
  respaceBox_->SetCheck(respace_);
  UpdateButtons();
  int32_t screenHeight = GetSystemMetrics(SM_CYFULLSCREEN) * 8 / 10;
  int32_t maxHeight = screenHeight > GetMaxTrackHeight() ? screenHeight : GetMaxTrackHeight();
  SetMaxTrackSize(GetMaxTrackWidth() * 18 / 10, maxHeight);
  if (ApplyPlacement()) SetPlacementApplied();
}

void TCMainWindow::EnsureProfile() {
  if (profiles_.GetCount() > 0) return;
  auto* profile = new TCSettingsProfile;
  TCString name("Default Profile");
  profile->SetName(&name);
  profiles_.Add(profile);
}

void TCMainWindow::SetUpResultList() {
  resultList_->AddExtendedStyle(kListStyles);
  for (int32_t column = 0; column < kColumnCount; ++column) {
    resultList_->AddColumn(kColumnTitles[column], columnWidths_[column]);
  }
  // Rows kept from an earlier dialog are shown again in the new one.
  TCDataListRows* rows = resultList_->GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    resultList_->ShowRow(rows->GetRowAt(position));
  }
}

void TCMainWindow::FillProfilePopup() {
  profilePopup_->ClearItems();
  for (int32_t index = 0; index < profiles_.GetCount(); ++index) {
    profilePopup_->AddItem(profiles_.GetProfileAt(index)->GetName());
  }
  if (selectedProfile_ < 0) selectedProfile_ = 0;
  int32_t count = profilePopup_->GetItemCount();
  if (selectedProfile_ >= count) selectedProfile_ = count - 1;
  profilePopup_->SetValue(selectedProfile_ + 1);
}

void TCMainWindow::FillLayerList() {
  layerList_->ClearRows();
  for (int32_t layer = 1; layer <= kLayerCount; ++layer) {
    auto* row = new TCDataListRow(1);
    TCString number;
    number.SetInteger(layer);
    row->SetColumnText(0, &number);
    row->SetChecked((layerMask_ & (1u << (layer - 1))) != 0);
    layerList_->AddRow(row);
  }
}

void TCMainWindow::ReadChoices() {
  int32_t chosen = profilePopup_->GetValue() - 1;
  // Without a chosen entry the profile chosen before stays, within the collection.
  if (chosen >= 0 && chosen < profiles_.GetCount()) selectedProfile_ = chosen;
  if (selectedProfile_ >= profiles_.GetCount()) selectedProfile_ = profiles_.GetCount() - 1;
  // Without a profile the active settings stay in force.
  if (const TCSettingsProfile* profile = profiles_.GetProfileAt(selectedProfile_)) {
    SetActiveAnalysisSettings(AnalysisSettingsOf(*profile));
  }
  layerMask_ = 0;
  const TCDataListRows* rows = layerList_->GetRows();
  for (int32_t position = 0; position < rows->GetRowCount(); ++position) {
    if (rows->GetRowAt(position)->IsChecked()) layerMask_ |= 1u << position;
  }
  respace_ = respaceBox_->GetCheck() != 0 ? 1 : 0;
}

void TCMainWindow::UpdateButtons() {
  int32_t mark = resultList_->GetSelectionMark();
  resultList_->EnableRowButtons(mark >= 0);
  resultList_->ShowInfo(mark);
  bool hasRows = resultList_->GetRows()->GetRowCount() > 0;
  changeButton_->SetEnabled(hasRows);
  checkAllButton_->SetEnabled(hasRows);
}

void TCMainWindow::CloseWindow() {
  profiles_.SaveProfiles();
  // A dialog the host destroyed already has no place or columns to measure;
  // what was remembered before stays.
  if (IsWindow(GetDialog())) {
    RememberPlacement();
    RememberColumnWidths();
  }
  TCResourceWindow::CloseWindow();
}

void TCMainWindow::RememberColumnWidths() {
  HWND list = resultList_ ? resultList_->GetItem() : nullptr;
  HWND header = list ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
  for (int32_t column = 0; column < kColumnCount; ++column) {
    RECT rect{0, 0, 0, 0};
    bool measured =
        header && SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
    columnWidths_[column] = measured ? rect.right - rect.left : -1;
  }
}

void TCMainWindow::HandleResize(int32_t newWidth, int32_t newHeight, int32_t oldWidth, int32_t oldHeight) {
  int32_t dw = newWidth - oldWidth;
  int32_t dh = newHeight - oldHeight;
  BeginDeferredLayout();
  separator_->ResizeBy(dw, 0);
  location_->ResizeBy(dw, 0);
  relatedLocation_->ResizeBy(dw, 0);
  resultList_->ResizeBy(dw, dh);
  for (TCControl* control : {static_cast<TCControl*>(toggleButton_), static_cast<TCControl*>(viewButton_),
                             static_cast<TCControl*>(selectButton_), static_cast<TCControl*>(checkAllButton_),
                             static_cast<TCControl*>(respaceBox_)}) {
    control->MoveBy(0, dh);
  }
  changeButton_->MoveBy(dw, dh);
  EndDeferredLayout();
}

void TCMainWindow::HandleActivate(bool active) {
  if (shadeOption_) {
    SetShaded(!active);
  } else if (IsShaded() && TCUI::IsMessageBoxIdle()) {
    SetShaded(false);
  }
  if (alphaOption_) SetOpacity(active ? 100 : kTranslucentPercent);
}

void TCMainWindow::OkPressed() { Scan(); }

bool TCMainWindow::HandleCommand(TCControl* control) {
  if (!control) return false;
  switch (control->GetId()) {
    case IDC_MAIN_PROFILES:
      EditProfiles();
      break;
    case IDC_MAIN_TOGGLE:
      ToggleParentheses();
      break;
    case IDC_MAIN_VIEW:
      View();
      break;
    case IDC_MAIN_SELECT_IN_DOCUMENT:
      SelectInDocument();
      break;
    case IDC_MAIN_SCAN_CHANGE:
      ScanAndChange();
      break;
    case IDC_MAIN_CHANGE_CHECKED:
      ChangeChecked();
      break;
    case IDC_MAIN_CHECK_ALL:
      CheckAllOrNone();
      break;
    default:
      break;
  }
  return false;
}

void TCMainWindow::ShowMessage(const char* text, const char* title) const {
  if (ui_) ui_->AlertInfo(text, title);
}
