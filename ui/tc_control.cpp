#include "ui/tc_control.h"

#include <vector>

#include "framework/tc_string.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"
#include "ui/tc_user_window.h"
#include "ui/wide_text.h"

namespace {

constexpr UINT kNoZOrderNoActivate = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// What the host's dialog-text functions are given to fill.
constexpr int32_t kDialogTextSize = 5000;
constexpr int32_t kValueKindCheck = 1;

}  // namespace

HWND TCControl::GetDialog() const { return parent_ ? parent_->GetDialog() : nullptr; }

HWND TCControl::GetItem() const {
  HWND dialog = GetDialog();
  return dialog ? GetDlgItem(dialog, id_) : nullptr;
}

intptr_t TCControl::SendItemMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
  HWND dialog = GetDialog();
  return dialog ? SendDlgItemMessageW(dialog, id_, message, wParam, lParam) : 0;
}

intptr_t TCControl::SendItemMessageA(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
  HWND dialog = GetDialog();
  return dialog ? SendDlgItemMessageA(dialog, id_, message, wParam, lParam) : 0;
}

intptr_t TCControl::SendItemTextMessage(uint32_t message, uintptr_t wParam, const TCString* text) const {
  TCString shown;
  if (text) shown.SetString(text);
  if (!HostReaches(kHostVersion2011)) {
    return SendItemMessageA(message, wParam, reinterpret_cast<intptr_t>(shown.GetCString()));
  }
  return SendItemMessage(message, wParam, reinterpret_cast<intptr_t>(WideText(shown)));
}

void TCControl::Redraw() {
  HWND item = GetItem();
  // A null window would make Windows redraw every window on the desktop.
  if (item) InvalidateRect(item, nullptr, FALSE);
}

void TCControl::SetEnabled(bool on) { TX_EnableDlgItem(GetDialog(), id_, on ? 1 : 0); }

bool TCControl::IsEnabled() const {
  HWND item = GetItem();
  return item && IsWindowEnabled(item);
}

void TCControl::SetVisible(bool on) {
  HWND item = GetItem();
  if (item) ShowWindow(item, on ? SW_SHOW : SW_HIDE);
}

void TCControl::SetText(const TCString* text) {
  TCString shown;
  if (text) shown.SetString(text);
  if (!HostReaches(kHostVersion2011)) {
    TX_SetDlgString(GetDialog(), id_, shown.GetCString());
  } else {
    TX_SetDlgString_UTF16(GetDialog(), id_, shown.GetUTF16Pointer() ? shown.GetUTF16Pointer() : u"");
  }
}

void TCControl::GetText(TCString* text) const {
  if (!text) return;
  if (!HostReaches(kHostVersion2011)) {
    std::vector<char> buffer(kDialogTextSize, 0);
    TX_GetDlgString(GetDialog(), id_, buffer.data(), kDialogTextSize);
    buffer.back() = 0;
    text->SetCString(buffer.data());
  } else {
    std::vector<char16_t> buffer(kDialogTextSize, 0);
    TX_GetDlgString_UTF16(GetDialog(), id_, buffer.data(), kDialogTextSize);
    buffer.back() = 0;
    text->SetUTF16(buffer.data());
  }
}

bool TCControl::InDeferredLayout() const { return parent_ && parent_->IsInDeferredLayout(); }

void TCControl::ResizeBy(int32_t dx, int32_t dy) {
  HWND item = GetItem();
  if (!item) return;
  RECT rect{0, 0, 0, 0};
  GetWindowRect(item, &rect);
  int32_t width = rect.right - rect.left + dx;
  int32_t height = rect.bottom - rect.top + dy;
  if (InDeferredLayout()) {
    targetWidth_ = width;
    targetHeight_ = height;
    pendingResize_ = 1;
    return;
  }
  SetWindowPos(item, nullptr, 0, 0, width, height, SWP_NOMOVE | kNoZOrderNoActivate);
}

void TCControl::MoveBy(int32_t dx, int32_t dy) {
  HWND item = GetItem();
  if (!item) return;
  RECT rect{0, 0, 0, 0};
  GetWindowRect(item, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(GetDialog(), &corner);
  if (InDeferredLayout()) {
    targetX_ = corner.x + dx;
    targetY_ = corner.y + dy;
    pendingMove_ = 1;
    return;
  }
  SetWindowPos(item, nullptr, corner.x + dx, corner.y + dy, 0, 0, SWP_NOSIZE | kNoZOrderNoActivate);
}

void TCControl::ClearPending() {
  pendingMove_ = 0;
  pendingResize_ = 0;
}

HDWP TCControl::DeferPendingChange(HDWP batch) const {
  UINT flags = kNoZOrderNoActivate;
  if (!pendingMove_) flags |= SWP_NOMOVE;
  if (!pendingResize_) flags |= SWP_NOSIZE;
  return DeferWindowPos(batch, GetItem(), nullptr, targetX_, targetY_, targetWidth_, targetHeight_, flags);
}

void TCCtrlCheckbox::SetCheck(int32_t value) {
  TX_SetDlgItemVal(GetDialog(), GetId(), kValueKindCheck, static_cast<int16_t>(value));
}

int32_t TCCtrlCheckbox::GetCheck() const { return TX_GetDlgItemVal(GetDialog(), GetId(), kValueKindCheck); }
