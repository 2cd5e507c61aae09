#include "shell/tx_api.h"

#include "platform/win32.h"
#include "shell/host_frame.h"
#include "shell/host_version.h"

const char* const kTXFunctionNames[] = {
#define TX_NAME_OF(name, result, params) #name,
    TX_HOST_FUNCTIONS(TX_NAME_OF)
#undef TX_NAME_OF
};
static_assert(sizeof(kTXFunctionNames) / sizeof(kTXFunctionNames[0]) == static_cast<size_t>(TXFunction::Count),
              "one export name per host function");

namespace {

struct Binding {
  bool moduleLookedUp = false;
  HMODULE module = nullptr;
  bool lookedUp[static_cast<int>(TXFunction::Count)] = {};
  FARPROC address[static_cast<int>(TXFunction::Count)] = {};
  int editNesting = 0;
};

Binding binding;

FARPROC Resolve(TXFunction function) {
  if (!binding.moduleLookedUp) {
    binding.moduleLookedUp = true;
    binding.module = GetModuleHandleA("TAVREL.EXE");
    if (!binding.module) binding.module = GetModuleHandleA("TAVDEMO.EXE");
  }
  int index = static_cast<int>(function);
  if (!binding.lookedUp[index]) {
    binding.lookedUp[index] = true;
    binding.address[index] = binding.module ? GetProcAddress(binding.module, kTXFunctionNames[index]) : nullptr;
  }
  return binding.address[index];
}

template <typename HostType>
HostType Bound(TXFunction function) {
  // FARPROC is only a carrier for the address; go through void* so that the
  // compiler does not compare the two function types.
  return reinterpret_cast<HostType>(reinterpret_cast<void*>(Resolve(function)));
}

// Calls a bound host function; its 16-bit answer, or 0 when the host lacks it.
template <typename HostType, typename... Args>
int16_t CallHost(TXFunction function, Args... args) {
  HostType host = Bound<HostType>(function);
  if (!host) return 0;
  return static_cast<int16_t>(host(args...));
}

}  // namespace

#define TX_CALL(name, ...) CallHost<name##_Host>(TXFunction::name, __VA_ARGS__)

bool TXIsBound(TXFunction function) { return Resolve(function) != nullptr; }
int TXEditNesting() { return binding.editNesting; }
void TXForgetRefusedEdit() {
  if (binding.editNesting > 0) --binding.editNesting;
}
void TXResetBinding() { binding = Binding{}; }

int16_t TX_LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version) {
  return TX_CALL(TX_LoadEData, tag, address, buffer, size, version);
}
int16_t TX_SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  return TX_CALL(TX_SaveEData, tag, address, buffer, size, version);
}
int16_t TX_CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  return TX_CALL(TX_CreateEData, tag, address, buffer, size, version);
}
int16_t TX_DeleteEData(uint32_t tag, void* address, uint32_t version) {
  return TX_CALL(TX_DeleteEData, tag, address, version);
}
int16_t TX_NextEData(uint32_t tag, void* address, int32_t reserved1, int32_t reserved2, uint32_t version) {
  return TX_CALL(TX_NextEData, tag, address, reserved1, reserved2, version);
}

void* TX_LoadTGF(int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex, int32_t loadFlag) {
  auto host = Bound<TX_LoadTGF_Host>(TXFunction::TX_LoadTGF);
  return host ? host(zero, slot, measure, layerIndex, loadFlag, kPluginApiVersion) : nullptr;
}
int16_t TX_SaveTGF(void* frame) {
  auto host = Bound<TX_SaveTGF_Host>(TXFunction::TX_SaveTGF);
  if (!host) return 0;
  NormalizeFrameNoteIds(frame);
  return static_cast<int16_t>(host(frame, kPluginApiVersion));
}
int16_t TX_FreeTGF(void* frame) { return TX_CALL(TX_FreeTGF, frame, kPluginApiVersion); }

int16_t TX_Dialog(int32_t templateId, void* procedure, void* owner, int32_t modal, void* userValue) {
  return TX_CALL(TX_Dialog, templateId, procedure, owner, modal, userValue, kPluginApiVersion);
}
int16_t TX_EndDialog(void* dialog) { return TX_CALL(TX_EndDialog, dialog, kPluginApiVersion); }
int16_t TX_EnableDlgItem(void* dialog, int32_t item, int32_t enable) {
  return TX_CALL(TX_EnableDlgItem, dialog, item, enable, kPluginApiVersion);
}
int16_t TX_GetDlgItemVal(void* dialog, int32_t item, int32_t kind) {
  return TX_CALL(TX_GetDlgItemVal, dialog, item, kind, kPluginApiVersion);
}
int16_t TX_SetDlgItemVal(void* dialog, int32_t item, int32_t kind, int32_t value) {
  return TX_CALL(TX_SetDlgItemVal, dialog, item, kind, value, kPluginApiVersion);
}
int16_t TX_GetDlgItemUser(void* dialog, int32_t item, int32_t zero, double* value) {
  return TX_CALL(TX_GetDlgItemUser, dialog, item, zero, value, kPluginApiVersion);
}
int16_t TX_SetDlgItemUser(void* dialog, int32_t item, int32_t zero, double value) {
  return TX_CALL(TX_SetDlgItemUser, dialog, item, zero, value, kPluginApiVersion);
}
int16_t TX_GetDlgString(void* dialog, int32_t item, char* buffer, int32_t size) {
  return TX_CALL(TX_GetDlgString, dialog, item, buffer, size, kPluginApiVersion);
}
int16_t TX_GetDlgString_UTF16(void* dialog, int32_t item, char16_t* buffer, int32_t size) {
  return TX_CALL(TX_GetDlgString_UTF16, dialog, item, buffer, size, kPluginApiVersion);
}
int16_t TX_SetDlgString(void* dialog, int32_t item, const char* text) {
  return TX_CALL(TX_SetDlgString, dialog, item, text, kPluginApiVersion);
}
int16_t TX_SetDlgString_UTF16(void* dialog, int32_t item, const char16_t* text) {
  return TX_CALL(TX_SetDlgString_UTF16, dialog, item, text, kPluginApiVersion);
}

int16_t TX_GetCurERegions(void* first, void* region, void* third) {
  return TX_CALL(TX_GetCurERegions, first, region, third, kPluginApiVersion);
}
int16_t TX_SetCurERegion(const void* region) { return TX_CALL(TX_SetCurERegion, region, kPluginApiVersion); }
int16_t TX_RedrawMusic(const void* record) { return TX_CALL(TX_RedrawMusic, record, kPluginApiVersion); }
int16_t TX_UpdateLayout(int32_t first, int32_t second) {
  return TX_CALL(TX_UpdateLayout, first, second, kPluginApiVersion);
}
int16_t TX_ScrollTo(int32_t measure, int32_t staff) { return TX_CALL(TX_ScrollTo, measure, staff, kPluginApiVersion); }
int16_t TX_GetCurrentWindowInfo(void* record) { return TX_CALL(TX_GetCurrentWindowInfo, record, kPluginApiVersion); }
void* TX_GetCurrentWindow() {
  auto host = Bound<TX_GetCurrentWindow_Host>(TXFunction::TX_GetCurrentWindow);
  return host ? host(kPluginApiVersion) : nullptr;
}
int16_t TX_GetShowLayer(int32_t layerIndex) { return TX_CALL(TX_GetShowLayer, layerIndex, kPluginApiVersion); }

int16_t TX_GetCurrentOrbeltDocument() { return TX_CALL(TX_GetCurrentOrbeltDocument, kPluginApiVersion); }
int16_t TX_GetCurrentPartID() {
  if (!TXIsBound(TXFunction::TX_GetCurrentPartID)) return -1;
  return TX_CALL(TX_GetCurrentPartID, kPluginApiVersion);
}
int16_t TX_SetCurrentPartID(int32_t part) { return TX_CALL(TX_SetCurrentPartID, part, kPluginApiVersion); }
int16_t TX_GetNextPartID(int32_t part) { return TX_CALL(TX_GetNextPartID, part, kPluginApiVersion); }
int16_t TX_SlotToInst(int32_t slot, int32_t slotList) {
  return TX_CALL(TX_SlotToInst, slot, slotList, kPluginApiVersion);
}
int16_t TX_InstToSlot(int32_t staff, int32_t slotList) {
  return TX_CALL(TX_InstToSlot, staff, slotList, kPluginApiVersion);
}
int16_t TX_GetMaxLayers() { return TX_CALL(TX_GetMaxLayers, kPluginApiVersion); }

int16_t TX_StartTavrelEdit(const char* name) {
  ++binding.editNesting;
  return TX_CALL(TX_StartTavrelEdit, name, kPluginApiVersion);
}
int16_t TX_StartTavrelEdit_UTF16(const char16_t* name) {
  ++binding.editNesting;
  return TX_CALL(TX_StartTavrelEdit_UTF16, name, kPluginApiVersion);
}
// End and Cancel only reach the host for an edit that was started, so that an
// unbalanced call cannot close an edit the host opened for someone else.
int16_t TX_EndTavrelEdit() {
  if (binding.editNesting <= 0) return 1;
  --binding.editNesting;
  return TX_CALL(TX_EndTavrelEdit, kPluginApiVersion);
}
int16_t TX_CancelTavrelEdit() {
  if (binding.editNesting <= 0) return 0;
  --binding.editNesting;
  return TX_CALL(TX_CancelTavrelEdit, kPluginApiVersion);
}

int16_t TX_GetTavrelPath(int32_t folderKind, void* buffer) {
  return TX_CALL(TX_GetTavrelPath, folderKind, buffer, kPluginApiVersion);
}
int16_t TX_GetEntryMetrics2009a(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh) {
  return TX_CALL(TX_GetEntryMetrics2009a, entryNumber, measure, staff, metrics, refresh, kPluginApiVersion);
}
int16_t TX_GetEntryMetrics2014(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh) {
  return TX_CALL(TX_GetEntryMetrics2014, entryNumber, measure, staff, metrics, refresh, kPluginApiVersion);
}
int16_t TX_FreeEntryMetrics(void* metrics) { return TX_CALL(TX_FreeEntryMetrics, metrics, kPluginApiVersion); }
int16_t TX_AutoNumberedName_UTF16(int32_t textBlock, int32_t staff, char16_t* buffer, int32_t size, int32_t zero) {
  return TX_CALL(TX_AutoNumberedName_UTF16, textBlock, staff, buffer, size, zero, kPluginApiVersion);
}
int16_t TX_ExecuteMenuItem(int32_t command) { return TX_CALL(TX_ExecuteMenuItem, command, kPluginApiVersion); }
