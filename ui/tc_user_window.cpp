#include "ui/tc_user_window.h"

#include "shell/tx_api.h"
#include "ui/tc_control.h"
#include "ui/tc_ui.h"

namespace {

constexpr UINT kNoZOrderNoActivate = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

RECT WindowRect(HWND window) {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window, &rect);
  return rect;
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
