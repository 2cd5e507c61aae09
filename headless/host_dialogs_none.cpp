// A host without dialogs.
#include "headless/host_dialogs.h"

namespace headless {
namespace host_dialogs {

bool Available() { return false; }
void SetResourceModule(void*) {}
void* HostWindow() { return nullptr; }
void SetHostWindow(void*) {}
int OpenDialogs() { return 0; }
void AnnounceEnabledState() {}
int32_t Dialog(int32_t, void*, void*, int32_t, void*) { return 0; }
int32_t EndDialog(void*) { return 0; }
int32_t EnableItem(void*, int32_t, int32_t) { return 0; }
int32_t GetItemValue(void*, int32_t, int32_t) { return 0; }
int32_t SetItemValue(void*, int32_t, int32_t, int32_t) { return 0; }
int32_t GetItemText(void*, int32_t, char* buffer, int32_t size) {
  if (buffer && size > 0) buffer[0] = 0;
  return 0;
}
int32_t GetItemTextUtf16(void*, int32_t, char16_t* buffer, int32_t size) {
  if (buffer && size > 0) buffer[0] = 0;
  return 0;
}
int32_t SetItemText(void*, int32_t, const char*) { return 0; }
int32_t SetItemTextUtf16(void*, int32_t, const char16_t*) { return 0; }

}  // namespace host_dialogs
}  // namespace headless
