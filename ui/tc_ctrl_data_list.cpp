#include "ui/tc_ctrl_data_list.h"

#include "ui/windows_ui.h"

#include "framework/tc_string.h"
#include "shell/host_version.h"
#include "ui/tc_data_list_row.h"
#include "ui/wide_text.h"

namespace {

constexpr int kAfterLastColumn = 1000;
constexpr int kAfterLastItem = 10000;

}  // namespace

TCCtrlDataList::TCCtrlDataList(int16_t id) : TCControl(id), rows_(this) {}

// The rows go with the list; the items go with the dialog.
TCCtrlDataList::~TCCtrlDataList() = default;

void TCCtrlDataList::ItemSelected(int32_t) {}
void TCCtrlDataList::SelectionCleared() {}
void TCCtrlDataList::ItemDoubleClicked() {}

void TCCtrlDataList::CheckChanged(int32_t index, bool checked) {
  TCDataListRow* row = GetRow(index);
  if (row) row->SetChecked(checked);
}

void TCCtrlDataList::AddExtendedStyle(uint32_t bits) {
  auto style = static_cast<uint32_t>(SendItemMessage(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  SendItemMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<intptr_t>(style | bits));
}

bool TCCtrlDataList::AddColumn(const TCString* title, int32_t width) {
  TCString shown;
  if (title) shown.SetString(title);
  intptr_t answer;
  if (HostReaches(kHostVersion2011)) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<LPWSTR>(WideText(shown));
    answer = SendItemMessage(LVM_INSERTCOLUMNW, kAfterLastColumn, reinterpret_cast<intptr_t>(&column));
  } else {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(shown.GetCString());
    answer = SendItemMessage(LVM_INSERTCOLUMNA, kAfterLastColumn, reinterpret_cast<intptr_t>(&column));
  }
  return answer != -1;
}

bool TCCtrlDataList::AddColumn(const char* title, int32_t width) {
  TCString text(title);
  return AddColumn(&text, width);
}

int32_t TCCtrlDataList::AddRow(TCDataListRow* row) { return rows_.AddRow(row); }

int32_t TCCtrlDataList::ShowRow(TCDataListRow* row) {
  if (!row || rows_.GetRowPosition(row) < 0) return -1;
  int32_t index = InsertItem(row);
  row->SetItemIndex(index < 0 ? -1 : index);
  return index;
}

int32_t TCCtrlDataList::InsertItem(TCDataListRow* row) {
  if (!GetDialog()) return -1;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = kAfterLastItem;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.lParam = reinterpret_cast<LPARAM>(row);
  auto index = static_cast<int32_t>(SendItemMessage(LVM_INSERTITEMW, 0, reinterpret_cast<intptr_t>(&item)));
  if (index >= 0) SetItemChecked(index, row->IsChecked());
  return index;
}

void TCCtrlDataList::SetItemChecked(int32_t index, bool checked) {
  LVITEMW item{};
  item.stateMask = kStateImageMask;
  item.state = checked ? kCheckedImage : kUncheckedImage;
  SendItemMessage(LVM_SETITEMSTATE, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&item));
}

int32_t TCCtrlDataList::FindItemOfRow(const TCDataListRow* row) const {
  if (!row || !GetDialog()) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(row);
  return static_cast<int32_t>(
      SendItemMessage(LVM_FINDITEMW, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(&find)));
}

bool TCCtrlDataList::RemoveRow(int32_t index) {
  TCDataListRow* row = GetRow(index);
  if (!SendItemMessage(LVM_DELETEITEM, static_cast<uintptr_t>(index), 0)) return false;
  int32_t position = rows_.GetRowPosition(row);
  if (position >= 0) rows_.RemoveRowAt(position);
  return true;
}

void TCCtrlDataList::ClearRows() {
  while (GetItemCount() > 0) {
    if (!RemoveRow(0)) break;
  }
  // Rows the control never showed go as well, so that none outlives a clear.
  rows_.RemoveAllRows();
}

TCDataListRow* TCCtrlDataList::GetRow(int32_t index) const {
  if (index < 0 || !GetDialog()) return nullptr;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendItemMessage(LVM_GETITEMW, 0, reinterpret_cast<intptr_t>(&item))) return nullptr;
  return reinterpret_cast<TCDataListRow*>(item.lParam);
}

int32_t TCCtrlDataList::GetItemCount() const { return static_cast<int32_t>(SendItemMessage(LVM_GETITEMCOUNT, 0, 0)); }

int32_t TCCtrlDataList::ControlRows::InsertRowItem(TCDataListRow* row) { return list_->InsertItem(row); }

void TCCtrlDataList::ControlRows::DeleteRowItem(TCDataListRow* row) {
  int32_t index = list_->FindItemOfRow(row);
  if (index >= 0) list_->SendItemMessage(LVM_DELETEITEM, static_cast<uintptr_t>(index), 0);
}

void TCCtrlDataList::ControlRows::ClearRowItems() { list_->SendItemMessage(LVM_DELETEALLITEMS, 0, 0); }
