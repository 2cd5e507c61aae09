// The plug-in's report window: choose a profile and layers, scan the
// selection, read the findings, look at them in the score and apply the
// checked ones. One object lives from the first invocation to termination;
// its dialog comes and goes.
#pragma once

#include <cstdint>

#include "resources/rz_resource_ids.h"
#include "score/tc_document.h"
#include "score/tc_music_region.h"
#include "settings/tc_settings_profiles.h"
#include "ui/tc_user_window.h"

class TCCtrlButton;
class TCCtrlCheckbox;
class TCCtrlDataList;
class TCCtrlLine;
class TCCtrlPopup;
class TCCtrlStatic;
class TCResultDataList;
class TCSettingsPairs;
class TCUI;
struct AnalysisSettings;

class TCMainWindow : public TCResourceWindow {
 public:
  static constexpr int32_t kColumnCount = 5;
  static constexpr int32_t kLayerCount = 4;
  static constexpr uint32_t kAllLayers = 15;

  // Remembers the host's current document and reads the window preferences.
  explicit TCMainWindow(TCUI* ui);
  ~TCMainWindow() override;
  const char* ClassName() const override { return "TCMainWindow"; }

  void CloseWindow() override;
  void InitWindow() override;
  void OkPressed() override;
  bool HandleCommand(TCControl* control) override;
  void HandleActivate(bool active) override;
  void HandleResize(int32_t newWidth, int32_t newHeight, int32_t oldWidth, int32_t oldHeight) override;

  // The control objects, in the order the shell creates them.
  void CreateControls();
  // Writes the window keys into the preferences file, keeping every other
  // pair; false (and the file untouched) when the file could not be read.
  bool WritePreferences() const;

  // The commands behind the buttons.
  bool Scan();
  void ScanAndChange();
  void ChangeChecked();
  void View();
  void SelectInDocument();
  void ToggleParentheses();
  void CheckAllOrNone();
  void EditProfiles();

  // Shared steps of the commands.
  // Makes the chosen profile's settings the active ones and reads the layers and respacing.
  void ReadChoices();
  void UpdateButtons();
  void FillProfilePopup();
  void FillLayerList();

  // The service is going away: no message is shown from now on.
  void ForgetMessageBoxService() { ui_ = nullptr; }

  TCResultDataList* GetResultList() const { return resultList_; }
  TCSettingsProfiles* GetProfiles() { return &profiles_; }
  int32_t GetSelectedProfile() const { return selectedProfile_; }
  uint32_t GetLayerMask() const { return layerMask_; }
  bool GetRespace() const { return respace_ != 0; }
  int32_t GetColumnWidth(int32_t column) const;
  const TCMusicRegion& GetScannedRegion() const { return scannedRegion_; }
  int16_t GetScannedDocument() const { return scannedDocument_.GetDocumentNumber(); }

 private:
  void ReadPreferences();
  void ApplyPreference(const TCSettingsPairs& pairs, const char* key, int32_t* field) const;
  void ReadOptions();
  void EnsureProfile();
  void SetUpResultList();
  void RememberColumnWidths();
  void ShowMessage(const char* text, const char* title) const;
  // Shows "Different Document" when the user left the scanned document.
  bool IsInScannedDocument() const;
  // Runs a view handler for the measure and staff in an undo block "view".
  void ViewInDocument(int32_t measure, int16_t staff) const;
  // The current selection and its third record to the host's redraw.
  void RedrawSelection() const;
  int32_t CountCheckedRows() const;
  // Chooses the popup entry of this profile index, kept within the entries;
  // answers the index chosen.
  int32_t ChooseProfileEntry(int32_t index);

  TCDocument scannedDocument_;
  TCMusicRegion scannedRegion_;
  int32_t selectedProfile_ = 0;
  TCSettingsProfiles profiles_;
  uint32_t layerMask_ = kAllLayers;
  uint8_t respace_ = 1;
  int32_t columnWidths_[kColumnCount] = {80, 70, 50, 150, 70};
  TCUI* ui_;
  uint8_t shadeOption_ = 0;
  uint8_t alphaOption_ = 0;

  TCCtrlButton* scanButton_ = nullptr;
  TCCtrlButton* closeButton_ = nullptr;
  TCCtrlPopup* profilePopup_ = nullptr;
  TCCtrlButton* profilesButton_ = nullptr;
  TCCtrlDataList* layerList_ = nullptr;
  TCCtrlLine* separator_ = nullptr;
  TCCtrlStatic* locationCaption_ = nullptr;
  TCCtrlStatic* location_ = nullptr;
  TCCtrlStatic* relatedCaption_ = nullptr;
  TCCtrlStatic* relatedLocation_ = nullptr;
  TCResultDataList* resultList_ = nullptr;
  TCCtrlButton* toggleButton_ = nullptr;
  TCCtrlButton* viewButton_ = nullptr;
  TCCtrlButton* selectButton_ = nullptr;
  TCCtrlButton* changeButton_ = nullptr;
  TCCtrlCheckbox* respaceBox_ = nullptr;
  TCCtrlButton* scanChangeButton_ = nullptr;
  TCCtrlButton* checkAllButton_ = nullptr;
};
