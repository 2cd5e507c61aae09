// A plug-in window: a dialog made by the host from one of our templates. The
// object owns its control objects, remembers its placement between dialogs,
// and receives the dialog's events through virtual operations that concrete
// windows override. It outlives its dialogs: closing ends the dialog only.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "platform/win32.h"
#include "shell/tx_host_functions.h"

class TCControl;

class TCUserWindow : public __TCCollection {
 public:
  // How a dialog ended.
  static constexpr int16_t kResultAccept = 1;
  static constexpr int16_t kResultCancel = 2;

  TCUserWindow() = default;
  ~TCUserWindow() override;
  const char* ClassName() const override { return "TCUserWindow"; }

  virtual void CloseWindow();
  virtual void InitWindow();
  virtual void CancelPressed();
  virtual void OkPressed();
  virtual void ClosePressed();
  virtual bool HandleCommand(TCControl* control);
  virtual void HandleUpDown(TCControl* control, int32_t delta);
  virtual void HandleTimer(uintptr_t timerId);
  virtual void HandleActivate(bool active);
  virtual void HandleResize(int32_t newWidth, int32_t newHeight, int32_t oldWidth, int32_t oldHeight);
  virtual bool HandleNotify(uintptr_t controlId, NMHDR* notification);

  // Takes the control over (appended in creation order) and becomes its parent.
  void AddControl(TCControl* control);
  // The first control object with this dialog item identifier, or null.
  TCControl* FindControl(int16_t id) const;

  HWND GetDialog() const { return dialog_; }
  int16_t GetResultCode() const { return resultCode_; }
  void SetResultCode(int16_t code) { resultCode_ = code; }
  bool IsModal() const { return modal_ != 0; }
  void SetModal(bool modal) { modal_ = modal ? 1 : 0; }
  bool IsClosed() const { return closed_ != 0; }
  bool IsShaded() const { return shaded_ != 0; }
  bool IsInDeferredLayout() const { return deferredLayout_ != 0; }

  // Remembered placement, screen pixels.
  bool HasPosition() const { return hasPosition_ != 0; }
  bool HasSize() const { return hasSize_ != 0; }
  int32_t GetPositionX() const { return positionX_; }
  int32_t GetPositionY() const { return positionY_; }
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  void SetRememberedPosition(int32_t x, int32_t y);
  void SetRememberedSize(int32_t width, int32_t height);
  void RememberPlacement();
  bool ApplyPlacement();

  void SetShaded(bool on);
  // 100 makes the window opaque again; below it the window is translucent.
  void SetOpacity(int32_t percent);
  // While the host shows a modal dialog of its own, our modeless window is
  // disabled with the host's top-level window.
  void SyncEnabledWithHost();

  // Control moves and resizes between the two are applied as one batch.
  void BeginDeferredLayout();
  bool EndDeferredLayout();

  int32_t GetMinTrackWidth() const { return minTrackWidth_; }
  int32_t GetMinTrackHeight() const { return minTrackHeight_; }
  int32_t GetMaxTrackWidth() const { return maxTrackWidth_; }
  int32_t GetMaxTrackHeight() const { return maxTrackHeight_; }
  void SetMaxTrackSize(int32_t width, int32_t height);

 protected:
  // The dialog's messages, as the dialog procedure hands them on.
  intptr_t HandleMessage(HWND dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void SetDialog(HWND dialog) { dialog_ = dialog; }
  void MarkClosed() { closed_ = 1; }
  void MarkOpen() { closed_ = 0; }
  // Current window and client sizes as the tracking limits and client size.
  void TakeTrackingSizeFromWindow();
  int32_t GetClientWidth() const { return clientWidth_; }
  int32_t GetClientHeight() const { return clientHeight_; }
  // Ends the dialog through the host, shown or hidden, and forgets its handle.
  void EndDialogThroughHost();
  // Sets the remembered placement's flag once the placement was applied while
  // the dialog was being initialised.
  void SetPlacementApplied() { placementApplied_ = 1; }

 private:
  void HandleSize(uintptr_t kind, intptr_t lParam);
  intptr_t HandleCommandMessage(uintptr_t wParam);
  void HandleMinMaxInfo(MINMAXINFO* info) const;
  void RouteListNotification(TCControl* control, NMHDR* notification);
  // Resizes to the height (current width), without moving or activating.
  void ResizeHeight(int32_t height);
  void Unshade();

  int16_t resultCode_ = 0;
  HWND dialog_ = nullptr;
  int32_t maxTrackWidth_ = 0;
  int32_t minTrackWidth_ = 0;
  int32_t maxTrackHeight_ = 0;
  int32_t minTrackHeight_ = 0;
  int32_t clientWidth_ = 0;
  int32_t clientHeight_ = 0;
  uint8_t hasPosition_ = 0;
  int32_t positionX_ = 0;
  int32_t positionY_ = 0;
  uint8_t hasSize_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint8_t shaded_ = 0;
  int32_t unshadedHeight_ = 0;
  uint8_t deferredLayout_ = 0;
  uint8_t initialised_ = 0;
  uint8_t placementApplied_ = 0;
  uint8_t modal_ = 0;
  uint8_t closed_ = 0;
};

// A window made from a dialog template of the plug-in's resources.
class TCResourceWindow : public TCUserWindow {
 public:
  explicit TCResourceWindow(int32_t resourceId) : resourceId_(resourceId) {}
  const char* ClassName() const override { return "TCResourceWindow"; }

  void CloseWindow() override;

  int32_t GetResourceId() const { return resourceId_; }
  void* GetDialogProcedure() const { return reinterpret_cast<void*>(dialogProcedure_); }

  // Registers DialogProc and has the host make the dialog: modeless (answers
  // at once) or modal (answers when the dialog has ended, with the result code
  // readable afterwards). The host's answer.
  int16_t CreateDialogThroughHost(void* ownerWindow, bool modal);

  // The one dialog procedure of every plug-in window; the user value is the
  // window object. Nothing thrown inside gets out.
  static intptr_t TX_HOSTCALL DialogProc(void* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         void* window);

 private:
  friend class TCUserWindow;
  int32_t resourceId_;
  TXDialogProcedure dialogProcedure_ = nullptr;
};
