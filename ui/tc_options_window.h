// The profile editor: add, delete, rename and edit settings profiles in a
// modal dialog. It works on a copy; only "OK" and "OK and Use" copy the edited
// profiles back to the main window's collection.
#pragma once

#include <cstdint>

#include "framework/tc_string.h"
#include "resources/rz_resource_ids.h"
#include "settings/tc_settings_profiles.h"
#include "ui/tc_user_window.h"

class TCCtrlButton;
class TCCtrlDataList;
class TCCtrlEdit;
class TCCtrlListBox;
class TCCtrlPopup;
class TCCtrlStatic;
class TCUI;

class TCOptionsWindow : public TCResourceWindow {
 public:
  // Result of "OK": the profiles are kept, the main window's choice too.
  static constexpr int16_t kResultOk = 101;

  TCOptionsWindow(TCUI* ui, TCSettingsProfiles* sourceProfiles, int32_t chosenIndex);
  ~TCOptionsWindow() override;
  const char* ClassName() const override { return "TCOptionsWindow"; }

  void CreateControls();
  void InitWindow() override;
  void OkPressed() override;
  bool HandleCommand(TCControl* control) override;

  // The profile selected when the dialog ended with "OK" or "OK and Use".
  int32_t GetChosenIndex() const { return chosenIndex_; }
  int32_t GetShownIndex() const { return shownIndex_; }
  const TCSettingsProfiles& GetWorkingProfiles() const { return workingProfiles_; }

 private:
  void ShowProfile(int32_t index);
  void ReadControls();
  void StoreProfile(int32_t index);
  void Commit(int16_t result);
  void StoreShownProfile();
  void ChooseProfile();
  void AddProfile();
  void DeleteProfile();
  void RenameFromField();
  void EnableSettingsForNotationMode();
  void FillOptionList(TCCtrlDataList* list, const char* title, int32_t width, bool checkOptions);
  void ShowOptionBits(TCCtrlDataList* list, uint32_t bits, bool checkOptions);
  uint32_t ReadOptionBits(const TCCtrlDataList* list, bool checkOptions) const;

  TCSettingsProfiles* sourceProfiles_;
  TCSettingsProfiles workingProfiles_;
  TCUI* ui_;
  int32_t chosenIndex_;
  int32_t shownIndex_ = -1;
  TCString editedName_;
  int32_t courtesyMeasureRange_ = 0;
  int32_t notationMode_ = 0;
  int32_t systemTieMode_ = 0;
  uint32_t checkOptions_ = 0;
  uint32_t parenthesisOptions_ = 0;

  TCCtrlButton* okAndUseButton_ = nullptr;
  TCCtrlButton* cancelButton_ = nullptr;
  TCCtrlButton* okButton_ = nullptr;
  TCCtrlListBox* profileList_ = nullptr;
  TCCtrlButton* addButton_ = nullptr;
  TCCtrlButton* deleteButton_ = nullptr;
  TCCtrlEdit* nameField_ = nullptr;
  TCCtrlPopup* notationPopup_ = nullptr;
  TCCtrlStatic* spanCaption_ = nullptr;
  TCCtrlPopup* spanPopup_ = nullptr;
  TCCtrlDataList* checkList_ = nullptr;
  TCCtrlDataList* parenthesisList_ = nullptr;
  TCCtrlStatic* tieCaption_ = nullptr;
  TCCtrlPopup* tiePopup_ = nullptr;
};
