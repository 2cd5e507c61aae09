// Reading and setting what a user sees in windows, as a person at the screen
// would: texts, list-view rows and check marks, message boxes. Used by the
// stand-in host's scripts and by the window tests (Windows only).
#pragma once

#include <windows.h>

#include <string>

namespace headless {

// The item of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Utf8Of(const std::wstring& text);
std::wstring WideOf(const std::string& text);
std::string WindowTextOf(HWND window);
bool IsMessageBox(HWND window);

std::string ListItemText(HWND list, int item, int column);
bool IsListItemChecked(HWND list, int item);
// Sets the check mark as a click on the check box does.
void SetListItemChecked(HWND list, int item, bool checked);
// Makes the item the selected one (-1: none), with the selection mark.
void SelectListItem(HWND list, int item);

}  // namespace headless
