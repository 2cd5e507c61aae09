// The plug-in's lifecycle as the entry points drive it: the two objects made
// at the first invocation, the dialog made again when it is missing, and
// what termination leaves behind.
#include "shell/plugin_lifecycle.h"

#include <filesystem>

#include "tests/settings/settings_test_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tc_main_window.h"
#include "ui/tc_ui.h"

namespace {

class PluginLifecycleTest : public ui_test::DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Host().Environment().SetPluginFolder(folder_.Utf8());
  }
  void TearDown() override {
    plugin_lifecycle::Terminate();
    headless::host_dialogs::SetResourceModule(nullptr);
    DialogFixture::TearDown();
  }

  static HWND Owner() { return static_cast<HWND>(headless::host_dialogs::HostWindow()); }
  bool PreferencesWritten() const { return std::filesystem::exists(folder_.File("rzpluginprefs.txt")); }

  settings_test::TempFolder folder_;
};

TEST_F(PluginLifecycleTest, TerminationBeforeAnyInvocationMakesAndWritesNothing) {
  plugin_lifecycle::Terminate();
  EXPECT_EQ(plugin_lifecycle::MainWindow(), nullptr);
  EXPECT_EQ(plugin_lifecycle::MessageBoxService(), nullptr);
  EXPECT_FALSE(PreferencesWritten());
}

TEST_F(PluginLifecycleTest, ADialogThatCannotBeMadeIsTriedAgainAtTheNextInvocation) {
  // A module without our templates: the host cannot make the dialog.
  headless::host_dialogs::SetResourceModule(GetModuleHandleW(L"kernel32.dll"));
  plugin_lifecycle::Invoke(Owner());
  TCMainWindow* window = plugin_lifecycle::MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetDialog(), nullptr);
  EXPECT_EQ(plugin_lifecycle::MessageBoxService()->GetOwnerWindow(), Owner());

  headless::host_dialogs::SetResourceModule(nullptr);
  plugin_lifecycle::Invoke(Owner());
  EXPECT_EQ(plugin_lifecycle::MainWindow(), window);
  HWND dialog = window->GetDialog();
  ASSERT_NE(dialog, nullptr);
  // A second invocation only brings the same dialog forward.
  ShowWindow(dialog, SW_MINIMIZE);
  plugin_lifecycle::Invoke(Owner());
  EXPECT_EQ(window->GetDialog(), dialog);
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(headless::host_dialogs::OpenDialogs(), 1);
}

TEST_F(PluginLifecycleTest, TerminationAfterTheUserClosedTheDialogStillWritesThePreferences) {
  plugin_lifecycle::Invoke(Owner());
  HWND dialog = plugin_lifecycle::MainWindow()->GetDialog();
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ui_test::Click(dialog, IDC_MAIN_CLOSE);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("rzpluginstorage.xml")));
  plugin_lifecycle::Terminate();
  EXPECT_EQ(plugin_lifecycle::MainWindow(), nullptr);
  std::string preferences = settings_test::ReadBytes(folder_.File("rzpluginprefs.txt"));
  EXPECT_NE(preferences.find("RZACCIDENTALS_WINDOWX=33"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_WINDOWY=44"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_LAYERS=15"), std::string::npos) << preferences;
}

TEST_F(PluginLifecycleTest, TerminationWhileTheHostHidesTheDialogSavesTheProfilesAndEndsTheDialog) {
  plugin_lifecycle::Invoke(Owner());
  HWND dialog = plugin_lifecycle::MainWindow()->GetDialog();
  ASSERT_NE(dialog, nullptr);
  // What Windows does to owned windows while their owner is minimized.
  ShowOwnedPopups(Owner(), FALSE);
  ASSERT_FALSE(IsWindowVisible(dialog));
  plugin_lifecycle::Terminate();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("rzpluginstorage.xml")));
  EXPECT_TRUE(PreferencesWritten());
}

TEST_F(PluginLifecycleTest, TerminationAfterTheDialogWasDestroyedKeepsTheRememberedPlaceAndColumns) {
  plugin_lifecycle::Invoke(Owner());
  HWND dialog = plugin_lifecycle::MainWindow()->GetDialog();
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ui_test::Click(dialog, IDC_MAIN_CLOSE);
  plugin_lifecycle::Invoke(Owner());
  // The host destroyed the dialog with its own window before terminating the plug-in.
  DestroyWindow(plugin_lifecycle::MainWindow()->GetDialog());
  plugin_lifecycle::Terminate();
  std::string preferences = settings_test::ReadBytes(folder_.File("rzpluginprefs.txt"));
  EXPECT_NE(preferences.find("RZACCIDENTALS_WINDOWX=33"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("RZACCIDENTALS_COLUMN1=80"), std::string::npos) << preferences;
}

TEST_F(PluginLifecycleTest, TerminationWithTheDialogOpenClosesItFirst) {
  plugin_lifecycle::Invoke(Owner());
  HWND dialog = plugin_lifecycle::MainWindow()->GetDialog();
  ASSERT_NE(dialog, nullptr);
  plugin_lifecycle::Terminate();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("rzpluginstorage.xml")));
  EXPECT_TRUE(PreferencesWritten());
}

}  // namespace
