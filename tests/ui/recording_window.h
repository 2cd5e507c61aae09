// A window on the main window's template that records what the framework
// delivers to it, with the control objects the plug-in creates for it.
#pragma once

#include <vector>

#include "resources/rz_resource_ids.h"
#include "ui/tc_control.h"
#include "ui/tc_ctrl_data_list.h"
#include "ui/tc_ctrl_popup.h"
#include "ui/tc_result_data_list.h"
#include "ui/tc_user_window.h"

namespace ui_test {

struct ResizeCall {
  int32_t newWidth, newHeight, oldWidth, oldHeight;
};

class RecordingWindow : public TCResourceWindow {
 public:
  explicit RecordingWindow(int32_t resourceId = IDD_RZ_MAIN_WINDOW) : TCResourceWindow(resourceId) {}

  // The main window's controls, in the order the plug-in creates them.
  void CreateMainControls() {
    AddButton(IDC_MAIN_SCAN)->SetCommandRole(TCControl::kRoleAccept);
    AddButton(IDC_MAIN_CLOSE)->SetCommandRole(TCControl::kRoleCancel);
    popup = new TCCtrlPopup(IDC_MAIN_PROFILE_POPUP);
    AddControl(popup);
    AddButton(IDC_MAIN_PROFILES);
    layers = new TCCtrlDataList(IDC_MAIN_LAYER_LIST);
    AddControl(layers);
    AddControl(new TCCtrlLine(IDC_MAIN_SEPARATOR));
    for (int16_t id = IDC_MAIN_LOCATION_CAPTION; id <= IDC_MAIN_RELATED_LOCATION; ++id)
      AddControl(new TCCtrlStatic(id));
    results = new TCResultDataList(IDC_MAIN_RESULT_LIST);
    AddControl(results);
    for (int16_t id : {IDC_MAIN_TOGGLE, IDC_MAIN_VIEW, IDC_MAIN_SELECT_IN_DOCUMENT, IDC_MAIN_CHANGE_CHECKED})
      AddButton(id);
    respace = new TCCtrlCheckbox(IDC_MAIN_RESPACE);
    AddControl(respace);
    AddButton(IDC_MAIN_SCAN_CHANGE);
    AddButton(IDC_MAIN_CHECK_ALL);
  }

  TCCtrlButton* AddButton(int16_t id) {
    auto* button = new TCCtrlButton(id);
    AddControl(button);
    return button;
  }

  void InitWindow() override {
    TCResourceWindow::InitWindow();
    ++initCount;
  }
  void OkPressed() override {
    ++okCount;
    TCResourceWindow::OkPressed();
  }
  void CancelPressed() override {
    ++cancelCount;
    TCResourceWindow::CancelPressed();
  }
  bool HandleCommand(TCControl* control) override {
    commands.push_back(control ? control->GetId() : -1);
    return control != nullptr;
  }
  void HandleResize(int32_t newWidth, int32_t newHeight, int32_t oldWidth, int32_t oldHeight) override {
    resizes.push_back({newWidth, newHeight, oldWidth, oldHeight});
  }
  void HandleActivate(bool active) override { activations.push_back(active); }

  int initCount = 0;
  int okCount = 0;
  int cancelCount = 0;
  std::vector<int> commands;
  std::vector<ResizeCall> resizes;
  std::vector<bool> activations;
  TCCtrlPopup* popup = nullptr;
  TCCtrlDataList* layers = nullptr;
  TCResultDataList* results = nullptr;
  TCCtrlCheckbox* respace = nullptr;
};

}  // namespace ui_test
