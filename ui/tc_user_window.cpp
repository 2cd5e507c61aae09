#include "ui/tc_user_window.h"

#include <cstring>

#include "shell/tx_api.h"
#include "ui/tc_control.h"
#include "ui/tc_ctrl_data_list.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_ui.h"
#include "ui/windows_ui.h"

namespace {

constexpr UINT kNoZOrderNoActivate = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

RECT WindowRect(HWND window) {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window, &rect);
  return rect;
}

constexpr uint32_t kHostEnableStateMessage = 0x36D;
// Answer to a list view's text request; one buffer for the process, as the
// list view copies the text before it asks again.
constexpr int kListTextUnits = 512;
char16_t listTextBuffer[kListTextUnits];
char unknownTextNarrow[] = "???";
char16_t unknownTextWide[] = u"???";

TCDataListRow* RowOfItem(const LVITEMW& item) { return reinterpret_cast<TCDataListRow*>(item.lParam); }

void AnswerWideText(NMLVDISPINFOW* request) {
  if (!(request->item.mask & LVIF_TEXT)) return;
  TCDataListRow* row = RowOfItem(request->item);
  TCString* text = row ? row->GetColumnText(request->item.iSubItem) : nullptr;
  if (!text) {
    request->item.pszText = reinterpret_cast<LPWSTR>(unknownTextWide);
    return;
  }
  const char16_t* units = text->GetUTF16Pointer();
  uint32_t length = units ? text->GetLength() : 0;
  if (length >= kListTextUnits) length = kListTextUnits - 1;
  if (length > 0) std::memcpy(listTextBuffer, units, length * sizeof(char16_t));
  listTextBuffer[length] = 0;
  request->item.pszText = reinterpret_cast<LPWSTR>(listTextBuffer);
}

void AnswerNarrowText(NMLVDISPINFOA* request) {
  if (!(request->item.mask & LVIF_TEXT)) return;
  auto* row = reinterpret_cast<TCDataListRow*>(request->item.lParam);
  TCString* text = row ? row->GetColumnText(request->item.iSubItem) : nullptr;
  if (!text) {
    request->item.pszText = unknownTextNarrow;
    return;
  }
  // The 8-bit copy lives in the string until its next conversion.
  request->item.pszText = const_cast<char*>(text->GetCString());
}

}  // namespace

TCUserWindow::~TCUserWindow() { EndDialogThroughHost(); }

void TCUserWindow::AddControl(TCControl* control) {
  if (!control) return;
  control->SetParent(this);
  Add(control);
}

TCControl* TCUserWindow::FindControl(int16_t id) const {
  for (int32_t index = 0; index < GetCount(); ++index) {
    auto* control = static_cast<TCControl*>(GetItemAt(index));
    if (control && control->GetId() == id) return control;
  }
  return nullptr;
}

void TCUserWindow::EndDialogThroughHost() {
  if (!dialog_) return;
  // A hidden dialog is ended too: forgotten, it would keep calling into an
  // object, and a module, that are gone.
  TX_EndDialog(dialog_);
  dialog_ = nullptr;
}

void TCUserWindow::CloseWindow() {
  closed_ = 1;
  EndDialogThroughHost();
}

void TCUserWindow::InitWindow() {
  closed_ = 0;
  TakeTrackingSizeFromWindow();
}

void TCUserWindow::TakeTrackingSizeFromWindow() {
  RECT window = WindowRect(dialog_);
  maxTrackWidth_ = minTrackWidth_ = window.right - window.left;
  maxTrackHeight_ = minTrackHeight_ = window.bottom - window.top;
  RECT client{0, 0, 0, 0};
  GetClientRect(dialog_, &client);
  clientWidth_ = client.right - client.left;
  clientHeight_ = client.bottom - client.top;
}

void TCUserWindow::CancelPressed() {
  resultCode_ = kResultCancel;
  if (!closed_) CloseWindow();
}

void TCUserWindow::OkPressed() {
  resultCode_ = kResultAccept;
  if (!closed_) CloseWindow();
}

void TCUserWindow::ClosePressed() { CancelPressed(); }
bool TCUserWindow::HandleCommand(TCControl*) { return false; }
void TCUserWindow::HandleUpDown(TCControl*, int32_t) {}
void TCUserWindow::HandleTimer(uintptr_t) {}
void TCUserWindow::HandleActivate(bool) {}
void TCUserWindow::HandleResize(int32_t, int32_t, int32_t, int32_t) {}

void TCUserWindow::SetRememberedPosition(int32_t x, int32_t y) {
  hasPosition_ = 1;
  positionX_ = x;
  positionY_ = y;
}

void TCUserWindow::SetRememberedSize(int32_t width, int32_t height) {
  hasSize_ = 1;
  width_ = width;
  height_ = height;
}

void TCUserWindow::SetMaxTrackSize(int32_t width, int32_t height) {
  maxTrackWidth_ = width;
  maxTrackHeight_ = height;
}

void TCUserWindow::ResizeHeight(int32_t height) {
  RECT rect = WindowRect(dialog_);
  SetWindowPos(dialog_, nullptr, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | kNoZOrderNoActivate);
}

void TCUserWindow::Unshade() {
  shaded_ = 0;
  ResizeHeight(unshadedHeight_);
}

void TCUserWindow::RememberPlacement() {
  bool reshade = false;
  if (shaded_ && dialog_ && TCUI::IsMessageBoxIdle()) {
    Unshade();
    reshade = true;
  }
  RECT rect = WindowRect(dialog_);
  SetRememberedPosition(rect.left, rect.top);
  SetRememberedSize(rect.right - rect.left, rect.bottom - rect.top);
  if (reshade) SetShaded(true);
}

bool TCUserWindow::ApplyPlacement() {
  if (!hasPosition_) return false;
  bool reshade = false;
  if (shaded_ && dialog_ && TCUI::IsMessageBoxIdle()) {
    Unshade();
    reshade = true;
  }
  UINT flags = kNoZOrderNoActivate;
  int32_t width = 0;
  int32_t height = 0;
  if (hasSize_) {
    width = width_ < minTrackWidth_ ? minTrackWidth_ : width_;
    height = height_ < minTrackHeight_ ? minTrackHeight_ : height_;
  } else {
    flags |= SWP_NOSIZE;
  }
  SetWindowPos(dialog_, nullptr, positionX_, positionY_, width, height, flags);
  placementApplied_ = 1;
  if (reshade) SetShaded(true);
  return true;
}

void TCUserWindow::SetShaded(bool on) {
  if (!dialog_ || (shaded_ != 0) == on || !TCUI::IsMessageBoxIdle()) return;
  shaded_ = on ? 1 : 0;
  RECT rect = WindowRect(dialog_);
  if (on) {
    unshadedHeight_ = rect.bottom - rect.top;
    ResizeHeight(2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION));
  } else {
    ResizeHeight(unshadedHeight_);
  }
}

void TCUserWindow::SetOpacity(int32_t percent) {
  if (!dialog_) return;
  if (percent < 0) percent = 0;
  LONG style = GetWindowLongW(dialog_, GWL_EXSTYLE);
  if (percent >= 100) {
    SetWindowLongW(dialog_, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
    return;
  }
  SetWindowLongW(dialog_, GWL_EXSTYLE, style | WS_EX_LAYERED);
  // Looked up at run time: older Windows versions do not have it.
  using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = LoadLibraryA("user32.dll");
  if (!user32) return;
  auto setAttributes = reinterpret_cast<SetLayeredAttributes>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
  if (setAttributes) setAttributes(dialog_, 0, static_cast<BYTE>(percent * 255 / 100), LWA_ALPHA);
  FreeLibrary(user32);
}

void TCUserWindow::SyncEnabledWithHost() {
  if (modal_ || !dialog_) return;
  HWND host = static_cast<HWND>(TX_GetCurrentWindow());
  // Without a host window there is nothing to follow; disabling the dialog
  // then would lock the user out of it.
  if (!host) return;
  for (HWND parent = GetParent(host); parent; parent = GetParent(parent)) host = parent;
  EnableWindow(dialog_, IsWindowEnabled(host) ? TRUE : FALSE);
}

void TCUserWindow::BeginDeferredLayout() {
  if (!dialog_) return;
  for (int32_t index = 0; index < GetCount(); ++index) {
    auto* control = static_cast<TCControl*>(GetItemAt(index));
    if (control) control->ClearPending();
  }
  deferredLayout_ = 1;
}

bool TCUserWindow::EndDeferredLayout() {
  if (!deferredLayout_ || !dialog_) return false;
  int32_t pending = 0;
  for (int32_t index = 0; index < GetCount(); ++index) {
    auto* control = static_cast<TCControl*>(GetItemAt(index));
    if (control && control->HasPendingChange()) ++pending;
  }
  if (pending == 0) return false;
  HDWP batch = BeginDeferWindowPos(pending);
  if (!batch) return false;
  for (int32_t index = 0; index < GetCount(); ++index) {
    auto* control = static_cast<TCControl*>(GetItemAt(index));
    if (!control || !control->HasPendingChange()) continue;
    batch = control->DeferPendingChange(batch);
    if (!batch) return false;
  }
  EndDeferWindowPos(batch);
  for (int32_t index = 0; index < GetCount(); ++index) {
    auto* control = static_cast<TCControl*>(GetItemAt(index));
    if (control) control->ClearPending();
  }
  deferredLayout_ = 0;
  return true;
}

// How the dialog's Windows messages reach the window object's operations.

intptr_t TCResourceWindow::DialogProc(void* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam, void* window) {
  if (!window) return 0;
  try {
    return static_cast<TCResourceWindow*>(window)->HandleMessage(static_cast<HWND>(dialog), message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

int16_t TCResourceWindow::CreateDialogThroughHost(void* ownerWindow, bool modal) {
  dialogProcedure_ = &TCResourceWindow::DialogProc;
  SetModal(modal);
  int16_t answer = TX_Dialog(resourceId_, reinterpret_cast<void*>(dialogProcedure_), ownerWindow, modal ? 1 : 0, this);
  if (modal) SetModal(false);
  return answer;
}

void TCResourceWindow::CloseWindow() {
  TCUserWindow::CloseWindow();
  dialogProcedure_ = nullptr;
}

intptr_t TCUserWindow::HandleMessage(HWND dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_INITDIALOG:
      dialog_ = dialog;
      initialised_ = 1;
      InitWindow();
      return 0;
    case WM_SIZE:
      HandleSize(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      HandleActivate(LOWORD(wParam) != 0);
      SyncEnabledWithHost();
      return 0;
    case WM_WINDOWPOSCHANGING:
    case kHostEnableStateMessage:
      SyncEnabledWithHost();
      return 0;
    case WM_CLOSE:
      CancelPressed();
      return 0;
    case WM_SHOWWINDOW:
      if (initialised_ && placementApplied_) ApplyPlacement();
      initialised_ = 0;
      placementApplied_ = 0;
      return 0;
    case WM_GETMINMAXINFO:
      HandleMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_NOTIFY:
      return HandleNotify(wParam, reinterpret_cast<NMHDR*>(lParam)) ? 1 : 0;
    case WM_COMMAND:
      return HandleCommandMessage(wParam);
    case WM_TIMER:
      HandleTimer(wParam);
      return 0;
    default:
      return 0;
  }
}

void TCUserWindow::HandleSize(uintptr_t kind, intptr_t lParam) {
  if (kind != SIZE_RESTORED || shaded_) return;
  int32_t width = LOWORD(lParam);
  int32_t height = HIWORD(lParam);
  if (clientWidth_ != 0) HandleResize(width, height, clientWidth_, clientHeight_);
  clientWidth_ = width;
  clientHeight_ = height;
}

void TCUserWindow::HandleMinMaxInfo(MINMAXINFO* info) const {
  if (!info) return;
  info->ptMinTrackSize.x = minTrackWidth_;
  info->ptMinTrackSize.y = shaded_ ? 0 : minTrackHeight_;
  info->ptMaxTrackSize.x = maxTrackWidth_;
  info->ptMaxTrackSize.y = maxTrackHeight_;
}

intptr_t TCUserWindow::HandleCommandMessage(uintptr_t wParam) {
  TCControl* control = FindControl(static_cast<int16_t>(LOWORD(wParam)));
  int32_t role = control ? control->GetCommandRole() : TCControl::kRoleNone;
  if (role == TCControl::kRoleNone) return HandleCommand(control) ? 1 : 0;
  if (role == TCControl::kRoleAccept) {
    OkPressed();
  } else if (role == TCControl::kRoleCancel) {
    CancelPressed();
  } else if (role == TCControl::kRoleClose) {
    ClosePressed();
  }
  return 1;
}

bool TCUserWindow::HandleNotify(uintptr_t controlId, NMHDR* notification) {
  if (!notification) return false;
  TCControl* control = FindControl(static_cast<int16_t>(controlId));
  if (!control) return false;
  switch (static_cast<int32_t>(notification->code)) {
    case static_cast<int32_t>(UDN_DELTAPOS): {
      int32_t delta = reinterpret_cast<NMUPDOWN*>(notification)->iDelta;
      // Up-downs without UDS_WRAP count the other way round from the user's view.
      if (!(GetWindowLongW(notification->hwndFrom, GWL_STYLE) & 0x0002)) delta = -delta;
      HandleUpDown(control, delta);
      break;
    }
    case static_cast<int32_t>(TCN_SELCHANGE):
    case static_cast<int32_t>(TVN_SELCHANGEDW):
    case static_cast<int32_t>(TVN_SELCHANGEDA):
      if (control->GetParent()) control->GetParent()->HandleCommand(control);
      break;
    case static_cast<int32_t>(LVN_GETDISPINFOW):
      AnswerWideText(reinterpret_cast<NMLVDISPINFOW*>(notification));
      break;
    case static_cast<int32_t>(LVN_GETDISPINFOA):
      AnswerNarrowText(reinterpret_cast<NMLVDISPINFOA*>(notification));
      break;
    default:
      RouteListNotification(control, notification);
      break;
  }
  return false;
}

void TCUserWindow::RouteListNotification(TCControl* control, NMHDR* notification) {
  if (control->GetControlKind() != TCControl::kKindDataList) return;
  auto* list = static_cast<TCCtrlDataList*>(control);
  if (notification->code == LVN_ITEMCHANGED) {
    auto* change = reinterpret_cast<NMLISTVIEW*>(notification);
    if ((change->uOldState ^ change->uNewState) & TCCtrlDataList::kCheckedImage) {
      list->CheckChanged(change->iItem, (change->uNewState & TCCtrlDataList::kCheckedImage) != 0);
    }
    if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) {
      if (change->uNewState & LVIS_SELECTED) {
        list->ItemSelected(change->iItem);
      } else {
        list->SelectionCleared();
      }
    }
  } else if (notification->code == static_cast<UINT>(NM_DBLCLK)) {
    list->ItemDoubleClicked();
  }
}
