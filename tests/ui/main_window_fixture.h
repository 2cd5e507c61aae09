// The main window as the shell makes it, on a host with a plug-in folder of
// its own, with message boxes answered by the test.
#pragma once

#include <memory>
#include <string>

#include "analysis/analysis_settings.h"
#include "headless/host_dialogs.h"
#include "tests/settings/settings_test_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tc_main_window.h"
#include "ui/tc_result_data_list.h"
#include "ui/tc_ui.h"

namespace ui_test {

class MainWindowFixture : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Host().Environment().SetPluginFolder(folder_.Utf8());
    SetActiveAnalysisSettings(AnalysisSettings{});
  }

  void TearDown() override {
    if (window_ && window_->GetDialog()) window_->CloseWindow();
    window_.reset();
    ui_.reset();
    SetActiveAnalysisSettings(AnalysisSettings{});
    DialogFixture::TearDown();
  }

  static HWND HostWindow() { return static_cast<HWND>(headless::host_dialogs::HostWindow()); }

  // What an invocation does: the window object and its controls once, then
  // the dialog made modeless through the host.
  void Open() {
    if (!ui_) ui_ = std::make_unique<TCUI>(HostWindow());
    if (!window_) {
      window_ = std::make_unique<TCMainWindow>(ui_.get());
      window_->CreateControls();
    }
    window_->CreateDialogThroughHost(HostWindow(), false);
    PumpMessages();
    dialog_ = window_->GetDialog();
    ASSERT_NE(dialog_, nullptr);
  }

  void ImportAndOpen(const std::string& example) {
    std::string message;
    ASSERT_TRUE(ImportExample(example, &message)) << message;
    Open();
  }

  void WritePreferencesFile(const std::string& lines) {
    settings_test::WriteBytes(folder_.File("rzpluginprefs.txt"), lines);
  }
  std::string ReadPreferencesFile() { return settings_test::ReadBytes(folder_.File("rzpluginprefs.txt")); }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  HWND ResultList() const { return Item(IDC_MAIN_RESULT_LIST); }
  int ResultCount() const { return static_cast<int>(SendMessageW(ResultList(), LVM_GETITEMCOUNT, 0, 0)); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
  void Press(int id) { Click(dialog_, id); }

  settings_test::TempFolder folder_;
  MessageBoxAnswers boxes_;
  std::unique_ptr<TCUI> ui_;
  std::unique_ptr<TCMainWindow> window_;
  HWND dialog_ = nullptr;
};

}  // namespace ui_test
