// Control objects: one per dialog item that a window's code touches. The item
// itself comes from the dialog template; the object reaches it through the
// parent window's dialog handle, by Windows calls on the item or through the
// host's dialog-item functions.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"
#include "platform/win32.h"

class TCString;
class TCUserWindow;

class TCControl : public __TCBase {
 public:
  // Which of the window's accept, cancel and close operations a click reaches.
  static constexpr int32_t kRoleNone = 0;
  static constexpr int32_t kRoleAccept = 1;
  static constexpr int32_t kRoleCancel = 2;
  static constexpr int32_t kRoleClose = 3;
  static constexpr int32_t kKindPlain = 0;
  static constexpr int32_t kKindDataList = 2;

  explicit TCControl(int16_t id) : id_(id) {}
  const char* ClassName() const override { return "TCControl"; }

  virtual int32_t GetControlKind() const { return kKindPlain; }
  virtual void Redraw();
  virtual void SetEnabled(bool on);
  virtual bool IsEnabled() const;
  virtual void SetVisible(bool on);
  virtual void SetText(const TCString* text);
  virtual void GetText(TCString* text) const;
  virtual void ResizeBy(int32_t dx, int32_t dy);

  void MoveBy(int32_t dx, int32_t dy);

  int16_t GetId() const { return id_; }
  TCUserWindow* GetParent() const { return parent_; }
  void SetParent(TCUserWindow* parent) { parent_ = parent; }
  int32_t GetCommandRole() const { return commandRole_; }
  void SetCommandRole(int32_t role) { commandRole_ = role; }
  // The dialog and the item; null before the dialog exists.
  HWND GetDialog() const;
  HWND GetItem() const;

  // Deferred layout, driven by the parent window.
  bool HasPendingChange() const { return pendingMove_ || pendingResize_; }
  void ClearPending();
  // Adds the recorded move and resize to the batch; the batch, or null on failure.
  HDWP DeferPendingChange(HDWP batch) const;

 protected:
  // The dialog's SendDlgItemMessage for this item.
  intptr_t SendItemMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
  intptr_t SendItemMessageA(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
  // A message that carries an entry's text: UTF-16 from host version
  // 0x11000000 on, the 8-bit form below it; null sends an empty text.
  intptr_t SendItemTextMessage(uint32_t message, uintptr_t wParam, const TCString* text) const;

 private:
  bool InDeferredLayout() const;

  uint8_t pendingMove_ = 0;
  uint8_t pendingResize_ = 0;
  int32_t targetX_ = 0;
  int32_t targetY_ = 0;
  int32_t targetWidth_ = 0;
  int32_t targetHeight_ = 0;
  int16_t id_;
  TCUserWindow* parent_ = nullptr;
  int32_t commandRole_ = kRoleNone;
};

class TCCtrlStatic : public TCControl {
 public:
  using TCControl::TCControl;
  const char* ClassName() const override { return "TCCtrlStatic"; }
};

// A static item used as a separator line.
class TCCtrlLine : public TCControl {
 public:
  using TCControl::TCControl;
  const char* ClassName() const override { return "TCCtrlLine"; }
};

class TCCtrlEdit : public TCControl {
 public:
  using TCControl::TCControl;
  const char* ClassName() const override { return "TCCtrlEdit"; }
};

// Check boxes and buttons keep the base's class name.
class TCCtrlCheckbox : public TCControl {
 public:
  using TCControl::TCControl;
  virtual void SetCheck(int32_t value);
  virtual int32_t GetCheck() const;
};

class TCCtrlButton : public TCCtrlCheckbox {
 public:
  using TCCtrlCheckbox::TCCtrlCheckbox;
};
