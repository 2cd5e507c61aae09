#include "ui/tc_ctrl_popup.h"

#include "framework/tc_string.h"
#include "shell/tx_api.h"

namespace {
constexpr int32_t kValueKindEntry = 0;
}

void TCCtrlPopup::ClearItems() { SendItemMessageA(CB_RESETCONTENT, 0, 0); }

void TCCtrlPopup::AddItem(const TCString* text) {
  if (text) SendItemTextMessage(CB_ADDSTRING, 0, text);
}

void TCCtrlPopup::AddItem(const char* text) {
  TCString string(text);
  AddItem(&string);
}

int32_t TCCtrlPopup::GetItemCount() const { return static_cast<int32_t>(SendItemMessageA(CB_GETCOUNT, 0, 0)); }

int32_t TCCtrlPopup::GetValue() const { return TX_GetDlgItemVal(GetDialog(), GetId(), kValueKindEntry); }

void TCCtrlPopup::SetValue(int32_t entry) { TX_SetDlgItemVal(GetDialog(), GetId(), kValueKindEntry, entry); }
