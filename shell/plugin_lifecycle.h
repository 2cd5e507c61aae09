// The plug-in's two process-wide objects, the message-box service and the
// main window: made at the first invocation, released at termination.
#pragma once

#include <cstdint>

class TCMainWindow;
class TCUI;

namespace plugin_lifecycle {

// Menu-entry texts as the host lists them.
constexpr const char* kMenuText = "RZ Accidentals...";
constexpr const char* kMenuDescription = "Suggests cautionary accidentals to be added for the document.";
constexpr const char* kMenuThirdText = "Accidentals";
// What the version entry point answers.
constexpr uint32_t kExtensionVersion = 0x0F000000;

// The 8-bit record: three texts of 64 bytes, then a 32-bit 0.
constexpr int kMenuTextBytes = 64;
constexpr int kMenuRecordBytes = 3 * kMenuTextBytes + 4;
// The UTF-16 record: three texts of 128 units, then a 32-bit 0.
constexpr int kMenuTextUnits = 128;
constexpr int kMenuRecordUnitsBytes = 3 * kMenuTextUnits * 2 + 4;

void FillMenuRecord(uint8_t* record);
void FillMenuRecordUtf16(uint8_t* record);

// Shows the main window, making it (and the service) at the first call.
void Invoke(void* ownerWindow);
// Closes what is open, writes the window preferences and releases both objects.
void Terminate();

// For tests: the objects as they are now.
TCUI* MessageBoxService();
TCMainWindow* MainWindow();

}  // namespace plugin_lifecycle
