// The host functions as the plug-in binds them: Headless_TX_... for every
// function of the host's list. Each logs its call, checks the interface
// version, hands the call to the host and lets no exception out.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "headless/host_call_handler.h"
#include "headless/host_dialogs.h"
#include "headless/host_exports.h"
#include "headless/host_text.h"
#include "headless/record_layouts.h"
#include "shell/host_frame.h"
#include "shell/host_version.h"
#include "shell/tx_host_functions.h"

#define HEADLESS_DECLARE_EXPORT(name, result, params) extern "C" result TX_HOSTCALL Headless_##name params;
TX_HOST_FUNCTIONS(HEADLESS_DECLARE_EXPORT)
#undef HEADLESS_DECLARE_EXPORT

namespace {

using headless::HeadlessHost;
using headless::HostCall;

HeadlessHost& Host() { return HeadlessHost::Instance(); }
headless::HostCallHandler& Handler() { return HeadlessHost::Instance().Handler(); }

int64_t Pointer(const void* pointer) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(pointer)); }

// The three numbers of a record address, as the tag's address form reads them.
std::vector<int64_t> AddressNumbers(uint32_t tag, const void* address) {
  if (!address) return {0, 0, 0};
  int64_t first = host_frame::Read<int16_t>(address, 0);
  int64_t second = host_frame::Read<int16_t>(address, 2);
  if (headless::AddressFormOf(tag) == headless::AddressForm::StaffAtPosition) {
    return {first, second, host_frame::Read<int32_t>(address, 4)};
  }
  if (headless::AddressFormOf(tag) == headless::AddressForm::Detail) {
    return {first, second, host_frame::Read<int16_t>(address, 4)};
  }
  return {first, second, 0};
}

void Log(const char* name, std::vector<int64_t> arguments, std::string text = std::string()) {
  if (!Host().CallLog().IsEnabled()) return;
  Host().CallLog().Log(HostCall{name, std::move(arguments), std::move(text)});
}

// The arguments become a list only when the call is logged: most calls are
// made with logging off, many thousands of times in a scan.
void Log(const char* name, std::initializer_list<int64_t> arguments) {
  if (Host().CallLog().IsEnabled()) Log(name, std::vector<int64_t>(arguments));
}

void LogRecordCall(const char* name, uint32_t tag, const void* address, int64_t size, uint32_t version) {
  if (!Host().CallLog().IsEnabled()) return;
  std::vector<int64_t> arguments{tag};
  std::vector<int64_t> numbers = AddressNumbers(tag, address);
  arguments.insert(arguments.end(), numbers.begin(), numbers.end());
  arguments.push_back(size);
  arguments.push_back(version);
  Log(name, std::move(arguments));
}

void CheckApi(const char* name, uint32_t api) {
  if (api == kPluginApiVersion) return;
  Host().Misuse().ReportCallError(std::string(name) + ": interface version " + std::to_string(api) +
                                  ", not 0x12050000");
}

template <typename Result, typename Body>
Result Guarded(Result failure, Body body) {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace

extern "C" int32_t TX_HOSTCALL Headless_TX_LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size,
                                                     uint32_t version) {
  return Guarded<int32_t>(0, [&] {
    LogRecordCall("TX_LoadEData", tag, address, size ? *size : -1, version);
    return Handler().LoadEData(tag, address, buffer, size, version);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size,
                                                     uint32_t version) {
  return Guarded<int32_t>(0, [&] {
    LogRecordCall("TX_SaveEData", tag, address, size, version);
    return Handler().SaveEData(tag, address, buffer, size, version);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size,
                                                       uint32_t version) {
  return Guarded<int32_t>(0, [&] {
    LogRecordCall("TX_CreateEData", tag, address, size, version);
    return Handler().CreateEData(tag, address, buffer, size, version);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_DeleteEData(uint32_t tag, void* address, uint32_t version) {
  return Guarded<int32_t>(0, [&] {
    LogRecordCall("TX_DeleteEData", tag, address, 0, version);
    return Handler().DeleteEData(tag, address, version);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_NextEData(uint32_t tag, void* address, int32_t reserved1, int32_t reserved2,
                                                     uint32_t version) {
  return Guarded<int32_t>(0, [&] {
    LogRecordCall("TX_NextEData", tag, address, 0, version);
    if (reserved1 != 0 || reserved2 != 0) Host().Misuse().ReportCallError("TX_NextEData: reserved arguments not 0");
    return Handler().NextEData(tag, address, version);
  });
}

extern "C" void* TX_HOSTCALL Headless_TX_LoadTGF(int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex,
                                                 int32_t loadFlag, uint32_t api) {
  return Guarded<void*>(nullptr, [&] {
    Log("TX_LoadTGF", {zero, slot, measure, layerIndex, loadFlag});
    CheckApi("TX_LoadTGF", api);
    return Handler().LoadTGF(zero, slot, measure, layerIndex);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SaveTGF(void* frame, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SaveTGF", {Pointer(frame)});
    CheckApi("TX_SaveTGF", api);
    return Handler().SaveTGF(frame);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_FreeTGF(void* frame, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_FreeTGF", {Pointer(frame)});
    CheckApi("TX_FreeTGF", api);
    return Handler().FreeTGF(frame);
  });
}

// Dialogs: real ones on Windows, none elsewhere.
extern "C" int32_t TX_HOSTCALL Headless_TX_Dialog(int32_t templateId, void* procedure, void* owner, int32_t modal,
                                                  void* userValue, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_Dialog", {templateId, Pointer(procedure), Pointer(owner), modal, Pointer(userValue)});
    CheckApi("TX_Dialog", api);
    return headless::host_dialogs::Dialog(templateId, procedure, owner, modal, userValue);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_EndDialog(void* dialog, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_EndDialog", {Pointer(dialog)});
    CheckApi("TX_EndDialog", api);
    return headless::host_dialogs::EndDialog(dialog);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_EnableDlgItem(void* dialog, int32_t item, int32_t enable, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_EnableDlgItem", {Pointer(dialog), item, enable});
    CheckApi("TX_EnableDlgItem", api);
    return headless::host_dialogs::EnableItem(dialog, item, enable);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetDlgItemVal(void* dialog, int32_t item, int32_t kind, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetDlgItemVal", {Pointer(dialog), item, kind});
    CheckApi("TX_GetDlgItemVal", api);
    return headless::host_dialogs::GetItemValue(dialog, item, kind);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetDlgItemVal(void* dialog, int32_t item, int32_t kind, int32_t value,
                                                         uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SetDlgItemVal", {Pointer(dialog), item, kind, value});
    CheckApi("TX_SetDlgItemVal", api);
    return headless::host_dialogs::SetItemValue(dialog, item, kind, value);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetDlgItemUser(void* dialog, int32_t item, int32_t zero, double* value,
                                                          uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetDlgItemUser", {Pointer(dialog), item, zero});
    CheckApi("TX_GetDlgItemUser", api);
    if (value) *value = 0;
    return 0;
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetDlgItemUser(void* dialog, int32_t item, int32_t zero, double value,
                                                          uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SetDlgItemUser", {Pointer(dialog), item, zero, static_cast<int64_t>(value)});
    CheckApi("TX_SetDlgItemUser", api);
    return 0;
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetDlgString(void* dialog, int32_t item, char* buffer, int32_t size,
                                                        uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetDlgString", {Pointer(dialog), item, size});
    CheckApi("TX_GetDlgString", api);
    return headless::host_dialogs::GetItemText(dialog, item, buffer, size);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetDlgString_UTF16(void* dialog, int32_t item, char16_t* buffer,
                                                              int32_t size, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetDlgString_UTF16", {Pointer(dialog), item, size});
    CheckApi("TX_GetDlgString_UTF16", api);
    return headless::host_dialogs::GetItemTextUtf16(dialog, item, buffer, size);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetDlgString(void* dialog, int32_t item, const char* text, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SetDlgString", {Pointer(dialog), item}, headless::EightBitToUtf8(text));
    CheckApi("TX_SetDlgString", api);
    return headless::host_dialogs::SetItemText(dialog, item, text);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetDlgString_UTF16(void* dialog, int32_t item, const char16_t* text,
                                                              uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SetDlgString_UTF16", {Pointer(dialog), item}, headless::Utf16ToUtf8(text));
    CheckApi("TX_SetDlgString_UTF16", api);
    return headless::host_dialogs::SetItemTextUtf16(dialog, item, text);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetCurERegions(void* first, void* region, void* third, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetCurERegions", {Pointer(first), Pointer(region), Pointer(third)});
    CheckApi("TX_GetCurERegions", api);
    return Handler().GetCurERegions(first, region, third);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetCurERegion(const void* region, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    std::vector<int64_t> arguments{Pointer(region)};
    if (region) {
      headless::SelectionRecord selection = headless::SelectionRecord::ReadFrom(region);
      arguments = {selection.startSlot, selection.startMeasure, selection.startPosition,
                   selection.endSlot,   selection.endMeasure,   selection.endPosition};
    }
    Log("TX_SetCurERegion", std::move(arguments));
    CheckApi("TX_SetCurERegion", api);
    return Handler().SetCurERegion(region);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_RedrawMusic(const void* record, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_RedrawMusic", {Pointer(record)});
    CheckApi("TX_RedrawMusic", api);
    return Handler().RedrawMusic();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_UpdateLayout(int32_t first, int32_t second, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_UpdateLayout", {first, second});
    CheckApi("TX_UpdateLayout", api);
    return Handler().UpdateLayout();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_ScrollTo(int32_t measure, int32_t staff, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_ScrollTo", {measure, staff});
    CheckApi("TX_ScrollTo", api);
    return Handler().ScrollTo();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetCurrentWindowInfo(void* record, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetCurrentWindowInfo", {Pointer(record)});
    CheckApi("TX_GetCurrentWindowInfo", api);
    return Handler().GetCurrentWindowInfo(record);
  });
}

extern "C" void* TX_HOSTCALL Headless_TX_GetCurrentWindow(uint32_t api) {
  return Guarded<void*>(nullptr, [&] {
    Log("TX_GetCurrentWindow", {});
    CheckApi("TX_GetCurrentWindow", api);
    return headless::host_dialogs::HostWindow();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetShowLayer(int32_t layerIndex, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetShowLayer", {layerIndex});
    CheckApi("TX_GetShowLayer", api);
    return Handler().GetShowLayer(layerIndex);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetCurrentOrbeltDocument(uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetCurrentOrbeltDocument", {});
    CheckApi("TX_GetCurrentOrbeltDocument", api);
    return Handler().GetCurrentDocument();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetCurrentPartID(uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetCurrentPartID", {});
    CheckApi("TX_GetCurrentPartID", api);
    return Handler().GetCurrentPartID();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SetCurrentPartID(int32_t part, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SetCurrentPartID", {part});
    CheckApi("TX_SetCurrentPartID", api);
    return Handler().SetCurrentPartID(part);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetNextPartID(int32_t part, uint32_t api) {
  return Guarded<int32_t>(0xFFFF, [&] {
    Log("TX_GetNextPartID", {part});
    CheckApi("TX_GetNextPartID", api);
    return Handler().GetNextPartID(part);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_SlotToInst(int32_t slot, int32_t slotList, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_SlotToInst", {slot, slotList});
    CheckApi("TX_SlotToInst", api);
    return Handler().SlotToInst(slot);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_InstToSlot(int32_t staff, int32_t slotList, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_InstToSlot", {staff, slotList});
    CheckApi("TX_InstToSlot", api);
    return Handler().InstToSlot(staff);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetMaxLayers(uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetMaxLayers", {});
    CheckApi("TX_GetMaxLayers", api);
    return Handler().GetMaxLayers();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_StartTavrelEdit(const char* name, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    std::string text = headless::EightBitToUtf8(name);
    Log("TX_StartTavrelEdit", {}, text);
    CheckApi("TX_StartTavrelEdit", api);
    return Handler().StartEdit(text.c_str());
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_StartTavrelEdit_UTF16(const char16_t* name, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    std::string text = headless::Utf16ToUtf8(name);
    Log("TX_StartTavrelEdit_UTF16", {}, text);
    CheckApi("TX_StartTavrelEdit_UTF16", api);
    return Handler().StartEdit(text.c_str());
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_EndTavrelEdit(uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_EndTavrelEdit", {});
    CheckApi("TX_EndTavrelEdit", api);
    return Handler().EndEdit();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_CancelTavrelEdit(uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_CancelTavrelEdit", {});
    CheckApi("TX_CancelTavrelEdit", api);
    return Handler().CancelEdit();
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetTavrelPath(int32_t folderKind, void* buffer, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetTavrelPath", {folderKind, Pointer(buffer)});
    CheckApi("TX_GetTavrelPath", api);
    return Handler().GetTavrelPath(folderKind, buffer);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetEntryMetrics2009a(uint32_t entryNumber, int32_t measure, int32_t staff,
                                                                void* metrics, int32_t refresh, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetEntryMetrics2009a", {entryNumber, measure, staff, Pointer(metrics), refresh});
    CheckApi("TX_GetEntryMetrics2009a", api);
    return Handler().GetEntryMetrics(entryNumber, measure, staff, metrics, false);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_GetEntryMetrics2014(uint32_t entryNumber, int32_t measure, int32_t staff,
                                                               void* metrics, int32_t refresh, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_GetEntryMetrics2014", {entryNumber, measure, staff, Pointer(metrics), refresh});
    CheckApi("TX_GetEntryMetrics2014", api);
    return Handler().GetEntryMetrics(entryNumber, measure, staff, metrics, true);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_FreeEntryMetrics(void* metrics, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_FreeEntryMetrics", {Pointer(metrics)});
    CheckApi("TX_FreeEntryMetrics", api);
    return Handler().FreeEntryMetrics(metrics);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_AutoNumberedName_UTF16(int32_t textBlock, int32_t staff, char16_t* buffer,
                                                                  int32_t size, int32_t zero, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_AutoNumberedName_UTF16", {textBlock, staff, Pointer(buffer), size, zero});
    CheckApi("TX_AutoNumberedName_UTF16", api);
    return Handler().AutoNumberedName(textBlock, buffer, size);
  });
}

extern "C" int32_t TX_HOSTCALL Headless_TX_ExecuteMenuItem(int32_t command, uint32_t api) {
  return Guarded<int32_t>(0, [&] {
    Log("TX_ExecuteMenuItem", {command});
    CheckApi("TX_ExecuteMenuItem", api);
    return Handler().ExecuteMenuItem(command);
  });
}

#ifndef _WIN32
namespace headless {

namespace {

template <typename Function>
PlatformExport Export(const char* name, Function function) {
  return PlatformExport{name, reinterpret_cast<void (*)()>(reinterpret_cast<void*>(function))};
}

#define HEADLESS_EXPORT_ENTRY(name, result, params) Export(#name, &Headless_##name),
const PlatformExport kExports[] = {TX_HOST_FUNCTIONS(HEADLESS_EXPORT_ENTRY)};
#undef HEADLESS_EXPORT_ENTRY
static_assert(sizeof(kExports) / sizeof(kExports[0]) == static_cast<size_t>(TXFunction::Count),
              "one export per host function");

}  // namespace

const PlatformExport* HeadlessExportTable(size_t* count) {
  if (count) *count = sizeof(kExports) / sizeof(kExports[0]);
  return kExports;
}

}  // namespace headless
#endif
