// The window framework on the main window's real template: creation through
// the host, commands, resizing, rolling up, opacity, placement and the
// host's enabled state.
#include "ui/tc_user_window.h"

#include "headless/host_dialogs.h"
#include "tests/ui/recording_window.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tc_ui.h"

namespace {

using ui_test::Click;
using ui_test::ClientRectOfItem;
using ui_test::PumpMessages;
using ui_test::RecordingWindow;

class UserWindowTest : public ui_test::DialogFixture {
 protected:
  void Open(RecordingWindow* window) {
    window->CreateMainControls();
    EXPECT_NE(window->CreateDialogThroughHost(headless::host_dialogs::HostWindow(), false), 0);
    PumpMessages();
    ASSERT_NE(window->GetDialog(), nullptr);
  }

  static RECT WindowRect(HWND window) {
    RECT rect{0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
  }
};

TEST_F(UserWindowTest, TheHostMakesTheDialogFromOurTemplateAndInitialisesTheWindow) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  EXPECT_EQ(window.initCount, 1);
  EXPECT_FALSE(window.IsClosed());
  EXPECT_EQ(ui_test::WindowText(dialog), "RZ Accidentals");
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_SCAN), "Scan");
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_SCAN_CHANGE), "Scan+Change");
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_CHANGE_CHECKED), "Change Checked");
  EXPECT_EQ(ui_test::ItemText(dialog, IDC_MAIN_RESPACE), "Respace if necessary");
  // Every item stands where the template puts it, in dialog units.
  RECT expected = ui_test::DialogUnitsToPixels(dialog, 10, 115, 296, 85);
  RECT list = ClientRectOfItem(dialog, IDC_MAIN_RESULT_LIST);
  EXPECT_EQ(list.left, expected.left);
  EXPECT_EQ(list.top, expected.top);
  EXPECT_EQ(list.right, expected.right);
  EXPECT_EQ(list.bottom, expected.bottom);
  RECT client{0, 0, 0, 0};
  GetClientRect(dialog, &client);
  RECT whole = ui_test::DialogUnitsToPixels(dialog, 0, 0, 320, 250);
  EXPECT_EQ(client.right, whole.right);
  EXPECT_EQ(client.bottom, whole.bottom);
  // The tracking limits start at the dialog's own size.
  RECT rect = WindowRect(dialog);
  EXPECT_EQ(window.GetMinTrackWidth(), rect.right - rect.left);
  EXPECT_EQ(window.GetMaxTrackHeight(), rect.bottom - rect.top);
  window.CloseWindow();
}

TEST_F(UserWindowTest, ButtonsReachTheOperationOfTheirRole) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  window.commands.clear();
  Click(dialog, IDC_MAIN_VIEW);
  Click(dialog, IDC_MAIN_PROFILES);
  // The combo box reports its focus changes as commands too; only the buttons count here.
  std::vector<int> buttons;
  for (int id : window.commands) {
    if (id != IDC_MAIN_PROFILE_POPUP) buttons.push_back(id);
  }
  EXPECT_EQ(buttons, (std::vector<int>{IDC_MAIN_VIEW, IDC_MAIN_PROFILES}));
  window.CloseWindow();
}

TEST_F(UserWindowTest, EnterFromTheFocusTheDialogOpensWithReachesTheAcceptRole) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  // The dialog procedure answers WM_INITDIALOG with 0; the dialog gives the
  // focus to its first tab stop, the profile popup, once it is activated.
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_MAIN_PROFILE_POPUP));
  // Enter presses the default button, identifier 1, the accept role.
  ui_test::PressKey(dialog, VK_RETURN);
  EXPECT_EQ(window.okCount, 1);
  EXPECT_EQ(window.GetResultCode(), TCUserWindow::kResultAccept);
  EXPECT_TRUE(window.IsClosed());
  EXPECT_EQ(window.GetDialog(), nullptr);
  EXPECT_EQ(window.GetDialogProcedure(), nullptr);
}

TEST_F(UserWindowTest, CloseButtonCancelsAndUnknownCommandsReachHandleCommandWithoutControl) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  // Escape's command (identifier 2) has no control object here.
  window.commands.clear();
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(4711, BN_CLICKED), 0);
  EXPECT_EQ(window.commands, (std::vector<int>{-1, -1}));
  EXPECT_EQ(window.cancelCount, 0);
  Click(dialog, IDC_MAIN_CLOSE);
  EXPECT_EQ(window.cancelCount, 1);
  EXPECT_EQ(window.GetResultCode(), TCUserWindow::kResultCancel);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(UserWindowTest, DialogProcedureIgnoresMessagesWithoutWindowObject) {
  EXPECT_EQ(TCResourceWindow::DialogProc(nullptr, WM_COMMAND, 1, 0, nullptr), 0);
  EXPECT_EQ(TCResourceWindow::DialogProc(nullptr, WM_INITDIALOG, 0, 0, nullptr), 0);
}

TEST_F(UserWindowTest, ResizingReportsClientSizesAndRollingUpHoldsResizesBack) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  RECT before = WindowRect(dialog);
  // Windows holds a size change within the tracking limits.
  SetWindowPos(dialog, nullptr, 0, 0, before.right - before.left + 50, before.bottom - before.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(dialog).right, before.right);
  EXPECT_TRUE(window.resizes.empty());
  window.SetMaxTrackSize(2000, 2000);
  RECT client{0, 0, 0, 0};
  GetClientRect(dialog, &client);
  SetWindowPos(dialog, nullptr, 0, 0, before.right - before.left + 50, before.bottom - before.top + 20,
               SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_EQ(window.resizes.size(), 1u);
  EXPECT_EQ(window.resizes[0].newWidth, client.right + 50);
  EXPECT_EQ(window.resizes[0].newHeight, client.bottom + 20);
  EXPECT_EQ(window.resizes[0].oldWidth, client.right);
  EXPECT_EQ(window.resizes[0].oldHeight, client.bottom);

  window.SetShaded(true);
  RECT shaded = WindowRect(dialog);
  EXPECT_EQ(shaded.bottom - shaded.top, 2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(window.resizes.size(), 1u) << "a size change while rolled up reached HandleResize";
  MINMAXINFO limits{};
  SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.y, 0);
  EXPECT_EQ(limits.ptMaxTrackSize.x, window.GetMaxTrackWidth());

  window.SetShaded(false);
  RECT unshaded = WindowRect(dialog);
  EXPECT_EQ(unshaded.bottom - unshaded.top, before.bottom - before.top + 20);
  SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.y, window.GetMinTrackHeight());
  window.CloseWindow();
}

TEST_F(UserWindowTest, OpacityUsesAlphaOrDropsTheLayeredStyle) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  window.SetOpacity(80);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(dialog, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 204);
  EXPECT_TRUE(flags & LWA_ALPHA);
  window.SetOpacity(100);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYERED);
  window.CloseWindow();
}

TEST_F(UserWindowTest, PlacementIsRememberedAndNeverAppliedBelowTheMinimumSize) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  window.RememberPlacement();
  EXPECT_TRUE(window.HasPosition());
  EXPECT_EQ(window.GetPositionX(), 40);
  EXPECT_EQ(window.GetPositionY(), 30);

  window.SetRememberedPosition(70, 60);
  window.SetRememberedSize(10, 10);
  EXPECT_TRUE(window.ApplyPlacement());
  RECT rect = WindowRect(dialog);
  EXPECT_EQ(rect.left, 70);
  EXPECT_EQ(rect.top, 60);
  EXPECT_EQ(rect.right - rect.left, window.GetMinTrackWidth());
  EXPECT_EQ(rect.bottom - rect.top, window.GetMinTrackHeight());
  window.CloseWindow();

  RecordingWindow unplaced;
  EXPECT_FALSE(unplaced.ApplyPlacement());
}

TEST_F(UserWindowTest, TheDialogFollowsTheEnabledStateOfTheHostWindow) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  HWND host = static_cast<HWND>(headless::host_dialogs::HostWindow());
  // The host shows a modal dialog of its own.
  EnableWindow(host, FALSE);
  SendMessageW(dialog, 0x36D, 0, 0);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  EnableWindow(host, TRUE);
  window.activations.clear();
  SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  EXPECT_EQ(window.activations, (std::vector<bool>{false}));
  window.CloseWindow();
}

TEST_F(UserWindowTest, DeferredMovesAndResizesLandTogether) {
  RecordingWindow window;
  Open(&window);
  HWND dialog = window.GetDialog();
  RECT list = ClientRectOfItem(dialog, IDC_MAIN_RESULT_LIST);
  RECT button = ClientRectOfItem(dialog, IDC_MAIN_CHANGE_CHECKED);
  window.BeginDeferredLayout();
  window.FindControl(IDC_MAIN_RESULT_LIST)->ResizeBy(30, 10);
  window.FindControl(IDC_MAIN_CHANGE_CHECKED)->MoveBy(30, 10);
  window.FindControl(IDC_MAIN_CHANGE_CHECKED)->ResizeBy(4, 0);
  // Nothing moves until the batch ends.
  EXPECT_EQ(ClientRectOfItem(dialog, IDC_MAIN_RESULT_LIST).right, list.right);
  EXPECT_TRUE(window.EndDeferredLayout());
  RECT listAfter = ClientRectOfItem(dialog, IDC_MAIN_RESULT_LIST);
  RECT buttonAfter = ClientRectOfItem(dialog, IDC_MAIN_CHANGE_CHECKED);
  EXPECT_EQ(listAfter.left, list.left);
  EXPECT_EQ(listAfter.right, list.right + 30);
  EXPECT_EQ(listAfter.bottom, list.bottom + 10);
  EXPECT_EQ(buttonAfter.left, button.left + 30);
  EXPECT_EQ(buttonAfter.top, button.top + 10);
  EXPECT_EQ(buttonAfter.right, button.right + 34);
  EXPECT_FALSE(window.IsInDeferredLayout());
  EXPECT_FALSE(window.EndDeferredLayout());
  window.CloseWindow();
}

}  // namespace
