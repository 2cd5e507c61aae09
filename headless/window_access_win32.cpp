#include "headless/window_access.h"

#include <commctrl.h>

namespace headless {

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return std::string();
  int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], bytes, nullptr, nullptr);
  return result;
}

std::wstring WideOf(const std::string& text) {
  if (text.empty()) return std::wstring();
  int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], units);
  return result;
}

std::string WindowTextOf(HWND window) {
  wchar_t buffer[4096] = {0};
  GetWindowTextW(window, buffer, 4096);
  return Utf8Of(buffer);
}

bool IsMessageBox(HWND window) {
  wchar_t className[16] = {0};
  GetClassNameW(window, className, 16);
  return lstrcmpW(className, L"#32770") == 0 && GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

std::string ListItemText(HWND list, int item, int column) {
  wchar_t buffer[1024] = {0};
  LVITEMW request{};
  request.iSubItem = column;
  request.pszText = buffer;
  request.cchTextMax = 1024;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
  return Utf8Of(buffer);
}

bool IsListItemChecked(HWND list, int item) {
  auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void SetListItemChecked(HWND list, int item, bool checked) {
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

void SelectListItem(HWND list, int item) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = item >= 0 ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
  if (item >= 0) SendMessageW(list, LVM_SETSELECTIONMARK, 0, item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

}  // namespace headless
