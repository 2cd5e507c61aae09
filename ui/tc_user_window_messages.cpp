// How the dialog's Windows messages reach the window object's operations.
#include "ui/windows_ui.h"

#include <cstring>

#include "shell/tx_api.h"
#include "ui/tc_control.h"
#include "ui/tc_ctrl_data_list.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_user_window.h"

namespace {

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
