#include "ui/tc_ctrl_list_box.h"

#include "framework/tc_string.h"

void TCCtrlListBox::ClearItems() { SendItemMessageA(LB_RESETCONTENT, 0, 0); }

void TCCtrlListBox::AddItem(const TCString* text) { SendItemTextMessage(LB_ADDSTRING, 0, text); }

int32_t TCCtrlListBox::GetItemCount() const { return static_cast<int32_t>(SendItemMessageA(LB_GETCOUNT, 0, 0)); }

int32_t TCCtrlListBox::GetSelection() const {
  // Without a dialog there is no selection either.
  return GetDialog() ? static_cast<int32_t>(SendItemMessageA(LB_GETCURSEL, 0, 0)) : -1;
}

void TCCtrlListBox::SetSelection(int32_t index) { SendItemMessageA(LB_SETCURSEL, static_cast<uintptr_t>(index), 0); }

void TCCtrlListBox::DeleteItem(int32_t index) { SendItemMessageA(LB_DELETESTRING, static_cast<uintptr_t>(index), 0); }

void TCCtrlListBox::SetItemText(int32_t index, const TCString* text) {
  if (index < 0) return;
  int32_t selection = GetSelection();
  DeleteItem(index);
  SendItemTextMessage(LB_INSERTSTRING, static_cast<uintptr_t>(index), text);
  SetSelection(selection);
}
