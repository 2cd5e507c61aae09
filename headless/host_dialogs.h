// The host's dialogs. On Windows the host makes real dialogs from the plug-in
// module's templates and acts on their real items; elsewhere it is a host
// without dialogs, whose dialog functions do nothing and answer 0.
#pragma once

#include <cstdint>

namespace headless {
namespace host_dialogs {

// Whether this build of the host makes real dialogs.
bool Available();
// The module whose resources hold the dialog templates (Windows: an HMODULE;
// null means the program itself).
void SetResourceModule(void* module);
// The host's own top-level window, the owner of what plug-ins show; made at
// first use. A program with a main window of its own sets it instead.
void* HostWindow();
void SetHostWindow(void* window);
// Dialogs made by Dialog and not yet ended.
int OpenDialogs();
// The host's window was enabled or disabled (a modal dialog or message box
// came or went): every open dialog hears of it, as a plug-in's dialogs do
// from the host.
void AnnounceEnabledState();

// Modeless (modal 0): makes the dialog and answers at once, nonzero when it
// exists. Modal (1): answers when the dialog has ended. The plug-in's
// procedure gets every message with the user value. Hosts before version
// 0x11000000 make 8-bit dialogs.
int32_t Dialog(int32_t templateId, void* procedure, void* owner, int32_t modal, void* userValue);
// Ends a dialog: destroyed when modeless, EndDialog when modal. The plug-in
// hears nothing of the dialog afterwards.
int32_t EndDialog(void* dialog);
int32_t EnableItem(void* dialog, int32_t item, int32_t enable);
// kind 0: the 1-based chosen entry of a combo box or list box (0: none);
// kind 1: the check state of a button.
int32_t GetItemValue(void* dialog, int32_t item, int32_t kind);
int32_t SetItemValue(void* dialog, int32_t item, int32_t kind, int32_t value);
// Sizes count in characters of the buffer's kind, terminator included.
int32_t GetItemText(void* dialog, int32_t item, char* buffer, int32_t size);
int32_t GetItemTextUtf16(void* dialog, int32_t item, char16_t* buffer, int32_t size);
int32_t SetItemText(void* dialog, int32_t item, const char* text);
int32_t SetItemTextUtf16(void* dialog, int32_t item, const char16_t* text);

}  // namespace host_dialogs
}  // namespace headless
