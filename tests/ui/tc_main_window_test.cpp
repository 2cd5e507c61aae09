// The main window's life: preferences, profiles, lists, layout and closing.
#include "ui/tc_main_window.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "settings/tc_settings_profile.h"
#include "tests/ui/main_window_fixture.h"

namespace {

using ui_test::ListColumnTitle;
using ui_test::ListColumnWidth;
using ui_test::ListItemText;

class MainWindowTest : public ui_test::MainWindowFixture {
 protected:
  void SaveProfiles(std::initializer_list<const char*> names) {
    TCSettingsProfiles profiles;
    for (const char* name : names) {
      auto* profile = new TCSettingsProfile;
      TCString text(name);
      profile->SetName(&text);
      profiles.Add(profile);
    }
    ASSERT_TRUE(profiles.SaveProfiles());
  }

  std::string PopupEntry(int index) {
    char text[256] = {0};
    SendMessageA(Item(IDC_MAIN_PROFILE_POPUP), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text));
    return text;
  }
  int PopupChoice() { return static_cast<int>(SendMessageW(Item(IDC_MAIN_PROFILE_POPUP), CB_GETCURSEL, 0, 0)); }
};

TEST_F(MainWindowTest, WithoutFilesTheWindowOpensWithDefaultsAndADefaultProfile) {
  Open();
  EXPECT_EQ(ui_test::WindowText(dialog_), "RZ Accidentals");
  EXPECT_EQ(SendMessageW(Item(IDC_MAIN_PROFILE_POPUP), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(PopupEntry(0), "Default Profile");
  EXPECT_EQ(PopupChoice(), 0);
  HWND layers = Item(IDC_MAIN_LAYER_LIST);
  EXPECT_EQ(ListColumnTitle(layers, 0), "Layer");
  EXPECT_EQ(ListColumnWidth(layers, 0), 40);
  for (int layer = 0; layer < 4; ++layer) {
    EXPECT_EQ(ListItemText(layers, layer, 0), std::to_string(layer + 1));
    EXPECT_TRUE(ui_test::IsListItemChecked(layers, layer));
  }
  const char* titles[] = {"Staff", "Location", "Note", "Info", "Accidental"};
  const int widths[] = {80, 70, 50, 150, 70};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(ListColumnTitle(ResultList(), column), titles[column]);
    EXPECT_EQ(ListColumnWidth(ResultList(), column), widths[column]);
  }
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_MAIN_RESPACE), BST_CHECKED);
  for (int id :
       {IDC_MAIN_TOGGLE, IDC_MAIN_VIEW, IDC_MAIN_SELECT_IN_DOCUMENT, IDC_MAIN_CHANGE_CHECKED, IDC_MAIN_CHECK_ALL}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Enabled(IDC_MAIN_SCAN));
  EXPECT_EQ(ui_test::ItemText(dialog_, IDC_MAIN_LOCATION_CAPTION), "");
  // The tracking limits: no smaller than the dialog, up to 1.8 times as wide.
  RECT rect{0, 0, 0, 0};
  GetWindowRect(dialog_, &rect);
  MINMAXINFO limits{};
  SendMessageW(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, rect.right - rect.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, rect.bottom - rect.top);
  EXPECT_EQ(limits.ptMaxTrackSize.x, (rect.right - rect.left) * 18 / 10);
  int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN) * 8 / 10;
  EXPECT_EQ(limits.ptMaxTrackSize.y, std::max<int>(screenHeight, rect.bottom - rect.top));
  ui_test::SaveScreenshotIfAsked(dialog_, "main_window_empty");
}

TEST_F(MainWindowTest, StoredChoicesAreReadBackAndClampedAndWrittenInKeyOrder) {
  SaveProfiles({"First", "Second", "Third"});
  WritePreferencesFile(
      "OTHERPLUGIN_KEY=keep me\n"
      "RZACCIDENTALS_WINDOWX=30\nRZACCIDENTALS_WINDOWY=40\nRZACCIDENTALS_WINDOWWIDTH=700\n"
      "RZACCIDENTALS_RESPACE=0\nRZACCIDENTALS_COLUMN2=99\nRZACCIDENTALS_LAYERS=5\n"
      "RZACCIDENTALS_SELECTEDPROFILE=7\n");
  Open();
  // Three of the four window keys remember nothing.
  EXPECT_FALSE(window_->HasPosition());
  EXPECT_EQ(PopupChoice(), 2);
  EXPECT_EQ(PopupEntry(2), "Third");
  HWND layers = Item(IDC_MAIN_LAYER_LIST);
  EXPECT_TRUE(ui_test::IsListItemChecked(layers, 0));
  EXPECT_FALSE(ui_test::IsListItemChecked(layers, 1));
  EXPECT_TRUE(ui_test::IsListItemChecked(layers, 2));
  EXPECT_FALSE(ui_test::IsListItemChecked(layers, 3));
  EXPECT_EQ(ListColumnWidth(ResultList(), 1), 99);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_MAIN_RESPACE), BST_UNCHECKED);

  window_->CloseWindow();
  EXPECT_TRUE(window_->HasPosition());
  ASSERT_TRUE(window_->WritePreferences());
  std::string written = ReadPreferencesFile();
  std::string lineEnd = settings_test::TextLineEnd();
  EXPECT_EQ(written.find("OTHERPLUGIN_KEY=keep me" + lineEnd), 0u) << written;
  EXPECT_NE(written.find("RZACCIDENTALS_SELECTEDPROFILE=2"), std::string::npos) << written;
  EXPECT_NE(written.find("RZACCIDENTALS_COLUMN2=99"), std::string::npos) << written;
  EXPECT_NE(written.find("RZACCIDENTALS_LAYERS=5"), std::string::npos) << written;
  EXPECT_NE(written.find("RZACCIDENTALS_RESPACE=0"), std::string::npos) << written;
  // The window height was missing: it comes after the other window keys.
  EXPECT_LT(written.find("RZACCIDENTALS_WINDOWWIDTH"), written.find("RZACCIDENTALS_WINDOWHEIGHT"));
  EXPECT_LT(written.find("RZACCIDENTALS_SELECTEDPROFILE"), written.find("RZACCIDENTALS_WINDOWHEIGHT"));
}

TEST_F(MainWindowTest, AllFourWindowKeysPlaceTheWindowAndClosingRemembersItsPlacementAndColumns) {
  WritePreferencesFile(
      "RZACCIDENTALS_WINDOWX=120\nRZACCIDENTALS_WINDOWY=90\nRZACCIDENTALS_WINDOWWIDTH=10\n"
      "RZACCIDENTALS_WINDOWHEIGHT=10\n");
  Open();
  RECT rect{0, 0, 0, 0};
  GetWindowRect(dialog_, &rect);
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 90);
  // Never smaller than the dialog itself.
  EXPECT_EQ(rect.right - rect.left, window_->GetMinTrackWidth());
  SendMessageW(ResultList(), LVM_SETCOLUMNWIDTH, 3, 210);
  SetWindowPos(dialog_, nullptr, 150, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ui_test::Click(dialog_, IDC_MAIN_CLOSE);
  EXPECT_EQ(window_->GetDialog(), nullptr);
  EXPECT_EQ(window_->GetColumnWidth(3), 210);
  EXPECT_EQ(window_->GetPositionX(), 150);
  // Closing saved the profiles.
  EXPECT_TRUE(std::filesystem::exists(folder_.File("rzpluginstorage.xml")));

  // Opened again, the same object shows the kept widths and place.
  Open();
  EXPECT_EQ(ListColumnWidth(ResultList(), 3), 210);
  GetWindowRect(dialog_, &rect);
  EXPECT_EQ(rect.left, 150);
}

TEST_F(MainWindowTest, WideningMovesAndGrowsExactlyTheNamedControls) {
  Open();
  window_->SetMaxTrackSize(4000, 4000);
  std::vector<int> ids = {IDC_MAIN_SCAN,
                          IDC_MAIN_SCAN_CHANGE,
                          IDC_MAIN_CLOSE,
                          IDC_MAIN_PROFILE_POPUP,
                          IDC_MAIN_PROFILES,
                          IDC_MAIN_LAYER_LIST,
                          IDC_MAIN_SEPARATOR,
                          IDC_MAIN_LOCATION_CAPTION,
                          IDC_MAIN_LOCATION,
                          IDC_MAIN_RELATED_CAPTION,
                          IDC_MAIN_RELATED_LOCATION,
                          IDC_MAIN_RESULT_LIST,
                          IDC_MAIN_TOGGLE,
                          IDC_MAIN_VIEW,
                          IDC_MAIN_SELECT_IN_DOCUMENT,
                          IDC_MAIN_CHECK_ALL,
                          IDC_MAIN_CHANGE_CHECKED,
                          IDC_MAIN_RESPACE};
  std::map<int, RECT> before;
  for (int id : ids) before[id] = ui_test::ClientRectOfItem(dialog_, id);
  RECT window{0, 0, 0, 0};
  GetWindowRect(dialog_, &window);
  SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + 50, window.bottom - window.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  std::map<int, std::pair<int, int>> moved = {
      {IDC_MAIN_TOGGLE, {0, 30}},    {IDC_MAIN_VIEW, {0, 30}},    {IDC_MAIN_SELECT_IN_DOCUMENT, {0, 30}},
      {IDC_MAIN_CHECK_ALL, {0, 30}}, {IDC_MAIN_RESPACE, {0, 30}}, {IDC_MAIN_CHANGE_CHECKED, {50, 30}}};
  std::map<int, std::pair<int, int>> grown = {{IDC_MAIN_SEPARATOR, {50, 0}},
                                              {IDC_MAIN_LOCATION, {50, 0}},
                                              {IDC_MAIN_RELATED_LOCATION, {50, 0}},
                                              {IDC_MAIN_RESULT_LIST, {50, 30}}};
  for (int id : ids) {
    RECT now = ui_test::ClientRectOfItem(dialog_, id);
    std::pair<int, int> move = moved.count(id) ? moved[id] : std::make_pair(0, 0);
    std::pair<int, int> grow = grown.count(id) ? grown[id] : std::make_pair(0, 0);
    EXPECT_EQ(now.left, before[id].left + move.first) << id;
    EXPECT_EQ(now.top, before[id].top + move.second) << id;
    EXPECT_EQ(now.right - now.left, before[id].right - before[id].left + grow.first) << id;
    EXPECT_EQ(now.bottom - now.top, before[id].bottom - before[id].top + grow.second) << id;
  }
}

TEST_F(MainWindowTest, ShadeAndAlphaOptionsRollUpAndFadeTheInactiveWindow) {
  settings_test::WriteBytes(folder_.File("rzpluginoptions.txt"),
                            "RZACCIDENTALS_WINDOWSHADE=1\nRZACCIDENTALS_WINDOWALPHA=1\n");
  Open();
  RECT open{0, 0, 0, 0};
  GetWindowRect(dialog_, &open);
  SendMessageW(dialog_, WM_ACTIVATE, WA_INACTIVE, 0);
  RECT rolled{0, 0, 0, 0};
  GetWindowRect(dialog_, &rolled);
  EXPECT_EQ(rolled.bottom - rolled.top, 2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION));
  BYTE alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(dialog_, nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, 204);
  SendMessageW(dialog_, WM_ACTIVATE, WA_ACTIVE, 0);
  RECT back{0, 0, 0, 0};
  GetWindowRect(dialog_, &back);
  EXPECT_EQ(back.bottom - back.top, open.bottom - open.top);
  EXPECT_FALSE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_LAYERED);

  // Closed while rolled up, then opened with the option turned off: it unrolls.
  SendMessageW(dialog_, WM_ACTIVATE, WA_INACTIVE, 0);
  Press(IDC_MAIN_CLOSE);
  settings_test::WriteBytes(folder_.File("rzpluginoptions.txt"), "RZACCIDENTALS_WINDOWSHADE=0\n");
  Open();
  SendMessageW(dialog_, WM_ACTIVATE, WA_ACTIVE, 0);
  RECT reopened{0, 0, 0, 0};
  GetWindowRect(dialog_, &reopened);
  EXPECT_EQ(reopened.bottom - reopened.top, open.bottom - open.top);
  EXPECT_FALSE(window_->IsShaded());
}

TEST_F(MainWindowTest, AStoredColumnWidthOfMinusOneGivesAColumnWithoutRoomThatClosingMeasuresAsZero) {
  WritePreferencesFile("RZACCIDENTALS_COLUMN3=-1\n");
  Open();
  EXPECT_EQ(ListColumnTitle(ResultList(), 2), "Note");
  HWND header = reinterpret_cast<HWND>(SendMessageW(ResultList(), LVM_GETHEADER, 0, 0));
  RECT column{0, 0, 0, 0};
  ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(column.right - column.left, 0);
  Press(IDC_MAIN_CLOSE);
  EXPECT_EQ(window_->GetColumnWidth(2), 0);
  EXPECT_EQ(window_->GetColumnWidth(3), 150);
}

TEST_F(MainWindowTest, EscapeFindsNoControlAndLeavesTheWindowOpen) {
  Open();
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(dialog_));
  EXPECT_NE(window_->GetDialog(), nullptr);
  SendMessageW(dialog_, WM_CLOSE, 0, 0);
  EXPECT_EQ(window_->GetDialog(), nullptr);
  EXPECT_FALSE(IsWindow(dialog_));
}

}  // namespace
