// Real dialogs for the plug-in, made from its module's templates.
#include <windows.h>

#include <map>
#include <vector>

#include "headless/headless_host.h"
#include "headless/host_dialogs.h"
#include "shell/tx_host_functions.h"

namespace headless {
namespace host_dialogs {

namespace {

constexpr int32_t kValueKindEntry = 0;
constexpr int32_t kValueKindCheck = 1;
// What the host sends its plug-ins' dialogs when its own window is enabled
// or disabled, so that a modeless dialog can follow it.
constexpr UINT kEnabledStateMessage = 0x36D;
// Hosts before this version make 8-bit dialogs.
constexpr uint32_t kFirstUnicodeHost = 0x11000000;

struct DialogRecord {
  TXDialogProcedure procedure = nullptr;
  void* userValue = nullptr;
  bool modal = false;
  bool ended = false;
};

HMODULE resourceModule = nullptr;
HWND hostWindow = nullptr;
std::map<HWND, DialogRecord*> dialogs;

DialogRecord* RecordOf(HWND dialog) {
  auto found = dialogs.find(dialog);
  return found == dialogs.end() ? nullptr : found->second;
}

INT_PTR ForwardMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* record = reinterpret_cast<DialogRecord*>(lParam);
    dialogs[dialog] = record;
    // The procedure's answer decides whether Windows gives the first control the focus.
    intptr_t answer =
        record->procedure(dialog, message, wParam, reinterpret_cast<intptr_t>(record->userValue), record->userValue);
    return answer != 0 ? TRUE : FALSE;
  }
  DialogRecord* record = RecordOf(dialog);
  if (!record) return FALSE;
  if (message == WM_NCDESTROY) {
    dialogs.erase(dialog);
    if (!record->modal) delete record;
    return FALSE;
  }
  if (record->ended) return FALSE;
  intptr_t answer = record->procedure(dialog, message, wParam, lParam, record->userValue);
  // Answers to notifications travel in the dialog's message result.
  if (message == WM_NOTIFY) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, answer);
  return answer != 0 ? TRUE : FALSE;
}

INT_PTR CALLBACK HostDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return ForwardMessage(dialog, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE) AnnounceEnabledState();
  return DefWindowProcW(window, message, wParam, lParam);
}

bool MakesUnicodeDialogs() { return HeadlessHost::Instance().HostVersion() >= kFirstUnicodeHost; }

INT_PTR RunModal(HMODULE module, int32_t templateId, HWND owner, DialogRecord* record) {
  auto parameter = reinterpret_cast<LPARAM>(record);
  if (MakesUnicodeDialogs()) {
    return DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, HostDialogProc, parameter);
  }
  return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, HostDialogProc, parameter);
}

HWND MakeModeless(HMODULE module, int32_t templateId, HWND owner, DialogRecord* record) {
  auto parameter = reinterpret_cast<LPARAM>(record);
  if (MakesUnicodeDialogs()) {
    return CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), owner, HostDialogProc, parameter);
  }
  return CreateDialogParamA(module, MAKEINTRESOURCEA(templateId), owner, HostDialogProc, parameter);
}

HWND MakeHostWindow() {
  static const wchar_t kClassName[] = L"TavrelHeadlessHost";
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, kClassName, L"Tavrel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND Item(void* dialog, int32_t item) { return dialog ? GetDlgItem(static_cast<HWND>(dialog), item) : nullptr; }

bool IsListBox(HWND item) {
  wchar_t className[32] = {0};
  GetClassNameW(item, className, 32);
  return lstrcmpiW(className, L"ListBox") == 0;
}

}  // namespace

bool Available() { return true; }

void SetResourceModule(void* module) { resourceModule = static_cast<HMODULE>(module); }

void* HostWindow() {
  if (!hostWindow || !IsWindow(hostWindow)) hostWindow = MakeHostWindow();
  return hostWindow;
}

void SetHostWindow(void* window) { hostWindow = static_cast<HWND>(window); }

int OpenDialogs() {
  int open = 0;
  for (const auto& dialog : dialogs) {
    if (!dialog.second->ended) ++open;
  }
  return open;
}

int32_t Dialog(int32_t templateId, void* procedure, void* owner, int32_t modal, void* userValue) {
  if (!procedure) return 0;
  HMODULE module = resourceModule ? resourceModule : GetModuleHandleW(nullptr);
  auto* record = new DialogRecord{reinterpret_cast<TXDialogProcedure>(procedure), userValue, modal != 0, false};
  if (modal) {
    INT_PTR result = RunModal(module, templateId, static_cast<HWND>(owner), record);
    delete record;
    return result == -1 ? 0 : 1;
  }
  HWND dialog = MakeModeless(module, templateId, static_cast<HWND>(owner), record);
  if (!dialog) {
    delete record;
    return 0;
  }
  return 1;
}

void AnnounceEnabledState() {
  std::vector<HWND> open;
  for (const auto& dialog : dialogs) {
    if (!dialog.second->ended) open.push_back(dialog.first);
  }
  for (HWND dialog : open) SendMessageW(dialog, kEnabledStateMessage, 0, 0);
}

int32_t EndDialog(void* dialog) {
  DialogRecord* record = RecordOf(static_cast<HWND>(dialog));
  if (!record || record->ended) return 0;
  record->ended = true;
  if (record->modal) return ::EndDialog(static_cast<HWND>(dialog), 1) ? 1 : 0;
  return DestroyWindow(static_cast<HWND>(dialog)) ? 1 : 0;
}

int32_t EnableItem(void* dialog, int32_t item, int32_t enable) {
  HWND window = Item(dialog, item);
  if (!window) return 0;
  EnableWindow(window, enable ? TRUE : FALSE);
  return 1;
}

int32_t GetItemValue(void* dialog, int32_t item, int32_t kind) {
  HWND window = Item(dialog, item);
  if (!window) return 0;
  if (kind == kValueKindCheck) return static_cast<int32_t>(SendMessageW(window, BM_GETCHECK, 0, 0));
  if (kind != kValueKindEntry) return 0;
  LRESULT selection = SendMessageW(window, IsListBox(window) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return selection < 0 ? 0 : static_cast<int32_t>(selection) + 1;
}

int32_t SetItemValue(void* dialog, int32_t item, int32_t kind, int32_t value) {
  HWND window = Item(dialog, item);
  if (!window) return 0;
  if (kind == kValueKindCheck) {
    SendMessageW(window, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    return 1;
  }
  if (kind != kValueKindEntry) return 0;
  bool listBox = IsListBox(window);
  LRESULT count = SendMessageW(window, listBox ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  // An entry the control does not have clears the choice, as Windows does
  // (Wine keeps the old one).
  WPARAM index = value >= 1 && value <= count ? static_cast<WPARAM>(value - 1) : static_cast<WPARAM>(-1);
  SendMessageW(window, listBox ? LB_SETCURSEL : CB_SETCURSEL, index, 0);
  return 1;
}

int32_t GetItemText(void* dialog, int32_t item, char* buffer, int32_t size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (!dialog) return 0;
  GetDlgItemTextA(static_cast<HWND>(dialog), item, buffer, size);
  return 1;
}

int32_t GetItemTextUtf16(void* dialog, int32_t item, char16_t* buffer, int32_t size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (!dialog) return 0;
  GetDlgItemTextW(static_cast<HWND>(dialog), item, reinterpret_cast<LPWSTR>(buffer), size);
  return 1;
}

int32_t SetItemText(void* dialog, int32_t item, const char* text) {
  if (!dialog) return 0;
  return SetDlgItemTextA(static_cast<HWND>(dialog), item, text ? text : "") ? 1 : 0;
}

int32_t SetItemTextUtf16(void* dialog, int32_t item, const char16_t* text) {
  if (!dialog) return 0;
  return SetDlgItemTextW(static_cast<HWND>(dialog), item, reinterpret_cast<LPCWSTR>(text ? text : u"")) ? 1 : 0;
}

}  // namespace host_dialogs
}  // namespace headless
