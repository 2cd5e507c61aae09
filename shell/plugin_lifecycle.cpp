#include "shell/plugin_lifecycle.h"

#include <cstring>

#include "platform/win32.h"
#include "ui/tc_main_window.h"
#include "ui/tc_ui.h"

namespace plugin_lifecycle {

namespace {

TCUI* messageBoxService = nullptr;
TCMainWindow* mainWindow = nullptr;

void CopyText(uint8_t* field, const char* text) {
  std::memset(field, 0, kMenuTextBytes);
  std::strncpy(reinterpret_cast<char*>(field), text, kMenuTextBytes - 1);
}

// Each 8-bit character widened to one UTF-16 unit, in place, little-endian.
void CopyTextUtf16(uint8_t* field, const char* text) {
  std::memset(field, 0, kMenuTextUnits * 2);
  for (int unit = 0; unit < kMenuTextUnits - 1 && text[unit]; ++unit) {
    field[unit * 2] = static_cast<uint8_t>(text[unit]);
  }
}

}  // namespace

void FillMenuRecord(uint8_t* record) {
  if (!record) return;
  CopyText(record, kMenuText);
  CopyText(record + kMenuTextBytes, kMenuDescription);
  CopyText(record + 2 * kMenuTextBytes, kMenuThirdText);
  std::memset(record + 3 * kMenuTextBytes, 0, 4);
}

void FillMenuRecordUtf16(uint8_t* record) {
  if (!record) return;
  CopyTextUtf16(record, kMenuText);
  CopyTextUtf16(record + kMenuTextUnits * 2, kMenuDescription);
  CopyTextUtf16(record + kMenuTextUnits * 4, kMenuThirdText);
  std::memset(record + kMenuTextUnits * 6, 0, 4);
}

void Invoke(void* ownerWindow) {
  if (!messageBoxService) messageBoxService = new TCUI(ownerWindow);
  if (!mainWindow) {
    mainWindow = new TCMainWindow(messageBoxService);
    mainWindow->CreateControls();
  }
  HWND dialog = mainWindow->GetDialog();
  if (dialog) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    if (mainWindow->GetDialog()) SetActiveWindow(mainWindow->GetDialog());
    return;
  }
  mainWindow->CreateDialogThroughHost(ownerWindow, false);
}

void Terminate() {
  if (mainWindow) mainWindow->ForgetMessageBoxService();
  delete messageBoxService;
  messageBoxService = nullptr;
  if (!mainWindow) return;
  // Windows hides the dialog while the host is minimized; it is closed all the
  // same, so that the profiles are saved and no dialog outlives its object.
  if (mainWindow->GetDialog()) mainWindow->CloseWindow();
  mainWindow->WritePreferences();
  delete mainWindow;
  mainWindow = nullptr;
}

TCUI* MessageBoxService() { return messageBoxService; }
TCMainWindow* MainWindow() { return mainWindow; }

}  // namespace plugin_lifecycle
