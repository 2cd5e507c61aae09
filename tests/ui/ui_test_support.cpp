#include "tests/ui/ui_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "headless/score_builder.h"
#include "headless/window_access.h"
#include "headless/window_picture.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_importer.h"
#include "ui/tc_ui.h"

namespace ui_test {

namespace {

// The item of a message box under Wine and Windows that shows its icon.
constexpr int kMessageBoxIconId = 0x0440;

MessageBoxAnswers* activeAnswers = nullptr;

BoxIcon IconOf(HWND box) {
  HWND iconItem = GetDlgItem(box, kMessageBoxIconId);
  // The box is not on screen yet when it is activated; its items carry their own style.
  if (!iconItem || !(GetWindowLongW(iconItem, GWL_STYLE) & WS_VISIBLE)) return BoxIcon::None;
  auto icon = reinterpret_cast<HICON>(SendMessageW(iconItem, STM_GETICON, 0, 0));
  if (!icon) return BoxIcon::None;
  if (icon == LoadIconA(nullptr, IDI_ERROR)) return BoxIcon::Error;
  if (icon == LoadIconA(nullptr, IDI_INFORMATION)) return BoxIcon::Information;
  return BoxIcon::Other;
}

}  // namespace

std::string Utf8(const std::wstring& text) { return headless::Utf8Of(text); }
std::string WindowText(HWND window) { return headless::WindowTextOf(window); }
std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

MessageBoxAnswers::MessageBoxAnswers() {
  activeAnswers = this;
  hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxAnswers::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswers::~MessageBoxAnswers() {
  if (hook_) UnhookWindowsHookEx(hook_);
  activeAnswers = nullptr;
}

LRESULT CALLBACK MessageBoxAnswers::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activeAnswers && headless::IsMessageBox(reinterpret_cast<HWND>(wParam))) {
    activeAnswers->Record(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswers::Record(HWND box) {
  ShownBox shown;
  shown.title = WindowText(box);
  shown.text = ItemText(box, headless::kMessageBoxTextId);
  shown.icon = IconOf(box);
  shown.idleWhileShown = TCUI::IsMessageBoxIdle();
  boxes_.push_back(shown);
  int button = IDOK;
  if (!answers_.empty()) {
    button = answers_.front();
    answers_.pop_front();
  }
  // Pressed once the box runs its own message loop.
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PressKey(HWND dialog, WPARAM key) {
  HWND focus = GetFocus();
  if (!focus || GetAncestor(focus, GA_ROOT) != dialog) focus = dialog;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
  PumpMessages();
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

RECT ClientRectOfItem(HWND dialog, int id) {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT DialogUnitsToPixels(HWND dialog, int left, int top, int width, int height) {
  RECT rect{left, top, left + width, top + height};
  MapDialogRect(dialog, &rect);
  return rect;
}

int ListColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

std::string ListColumnTitle(HWND list, int column) {
  wchar_t buffer[256] = {0};
  LVCOLUMNW request{};
  request.mask = LVCF_TEXT;
  request.pszText = buffer;
  request.cchTextMax = 256;
  SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&request));
  return Utf8(buffer);
}

void SaveScreenshotIfAsked(HWND window, const std::string& name) {
  const char* folder = getenv("RZ_SCREENSHOT_DIR");
  if (!folder || !*folder) return;
  PumpMessages();
  headless::SaveWindowPicture(window, std::string(folder) + "/" + name + ".bmp");
}

bool ImportExample(const std::string& name, std::string* error) {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  std::ifstream stream(std::string(source ? source : ".") + "/examples/" + name, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  headless::ScoreBuilder builder(headless::HeadlessHost::Instance());
  musicxml::MusicXmlDocument document;
  musicxml::ImportedScore score;
  std::string message;
  if (!document.Parse(text, name, &message) ||
      !musicxml::MusicXmlImporter(&builder).Import(&document, &score, &message)) {
    if (error) *error = message;
    return false;
  }
  return headless::HeadlessHost::Instance().Selection().SelectAll();
}

namespace {

std::wstring pendingTitle;
std::function<void(HWND)> pendingScript;

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", pendingTitle.c_str());
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  std::function<void(HWND)> script = std::move(pendingScript);
  pendingScript = nullptr;
  if (script) script(dialog);
}

}  // namespace

void WhenDialogAppears(const std::wstring& title, std::function<void(HWND)> script) {
  pendingTitle = title;
  pendingScript = std::move(script);
  SetTimer(nullptr, 0, 20, RunPendingScript);
}

void DialogFixture::SetUp() {
  HostFixture::SetUp();
  headless::host_dialogs::SetResourceModule(nullptr);
  EnableWindow(static_cast<HWND>(headless::host_dialogs::HostWindow()), TRUE);
}

void DialogFixture::TearDown() {
  PumpMessages();
  EXPECT_EQ(headless::host_dialogs::OpenDialogs(), 0) << "a dialog was left open";
  HostFixture::TearDown();
}

}  // namespace ui_test
