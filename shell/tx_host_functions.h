// The host's plug-in API as the host exports it: one list of every function
// with its exact export name and signature. The plug-in's wrappers and the
// headless host are both generated from this list, so the two cannot drift.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define TX_HOSTCALL __cdecl
#else
#define TX_HOSTCALL
#endif

// clang-format off
// X(name, result type, parameter list)
#define TX_HOST_FUNCTIONS(X)                                                                      \
  X(TX_LoadEData, int32_t, (uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version)) \
  X(TX_SaveEData, int32_t, (uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version)) \
  X(TX_CreateEData, int32_t, (uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version)) \
  X(TX_DeleteEData, int32_t, (uint32_t tag, void* address, uint32_t version))                     \
  X(TX_NextEData, int32_t, (uint32_t tag, void* address, int32_t reserved1, int32_t reserved2, uint32_t version)) \
  X(TX_LoadTGF, void*, (int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex, int32_t loadFlag, uint32_t api)) \
  X(TX_SaveTGF, int32_t, (void* frame, uint32_t api))                                             \
  X(TX_FreeTGF, int32_t, (void* frame, uint32_t api))                                             \
  X(TX_Dialog, int32_t, (int32_t templateId, void* procedure, void* owner, int32_t modal, void* userValue, uint32_t api)) \
  X(TX_EndDialog, int32_t, (void* dialog, uint32_t api))                                          \
  X(TX_EnableDlgItem, int32_t, (void* dialog, int32_t item, int32_t enable, uint32_t api))        \
  X(TX_GetDlgItemVal, int32_t, (void* dialog, int32_t item, int32_t kind, uint32_t api))          \
  X(TX_SetDlgItemVal, int32_t, (void* dialog, int32_t item, int32_t kind, int32_t value, uint32_t api)) \
  X(TX_GetDlgItemUser, int32_t, (void* dialog, int32_t item, int32_t zero, double* value, uint32_t api)) \
  X(TX_SetDlgItemUser, int32_t, (void* dialog, int32_t item, int32_t zero, double value, uint32_t api)) \
  X(TX_GetDlgString, int32_t, (void* dialog, int32_t item, char* buffer, int32_t size, uint32_t api)) \
  X(TX_GetDlgString_UTF16, int32_t, (void* dialog, int32_t item, char16_t* buffer, int32_t size, uint32_t api)) \
  X(TX_SetDlgString, int32_t, (void* dialog, int32_t item, const char* text, uint32_t api))       \
  X(TX_SetDlgString_UTF16, int32_t, (void* dialog, int32_t item, const char16_t* text, uint32_t api)) \
  X(TX_GetCurERegions, int32_t, (void* first, void* region, void* third, uint32_t api))           \
  X(TX_SetCurERegion, int32_t, (const void* region, uint32_t api))                                \
  X(TX_RedrawMusic, int32_t, (const void* record, uint32_t api))                                  \
  X(TX_UpdateLayout, int32_t, (int32_t first, int32_t second, uint32_t api))                      \
  X(TX_ScrollTo, int32_t, (int32_t measure, int32_t staff, uint32_t api))                         \
  X(TX_GetCurrentWindowInfo, int32_t, (void* record, uint32_t api))                               \
  X(TX_GetCurrentWindow, void*, (uint32_t api))                                                   \
  X(TX_GetShowLayer, int32_t, (int32_t layerIndex, uint32_t api))                                 \
  X(TX_GetCurrentOrbeltDocument, int32_t, (uint32_t api))                                         \
  X(TX_GetCurrentPartID, int32_t, (uint32_t api))                                                 \
  X(TX_SetCurrentPartID, int32_t, (int32_t part, uint32_t api))                                   \
  X(TX_GetNextPartID, int32_t, (int32_t part, uint32_t api))                                      \
  X(TX_SlotToInst, int32_t, (int32_t slot, int32_t slotList, uint32_t api))                       \
  X(TX_InstToSlot, int32_t, (int32_t staff, int32_t slotList, uint32_t api))                      \
  X(TX_GetMaxLayers, int32_t, (uint32_t api))                                                     \
  X(TX_StartTavrelEdit, int32_t, (const char* name, uint32_t api))                                \
  X(TX_StartTavrelEdit_UTF16, int32_t, (const char16_t* name, uint32_t api))                      \
  X(TX_EndTavrelEdit, int32_t, (uint32_t api))                                                    \
  X(TX_CancelTavrelEdit, int32_t, (uint32_t api))                                                 \
  X(TX_GetTavrelPath, int32_t, (int32_t folderKind, void* buffer, uint32_t api))                  \
  X(TX_GetEntryMetrics2009a, int32_t, (uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh, uint32_t api)) \
  X(TX_GetEntryMetrics2014, int32_t, (uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh, uint32_t api)) \
  X(TX_FreeEntryMetrics, int32_t, (void* metrics, uint32_t api))                                  \
  X(TX_AutoNumberedName_UTF16, int32_t, (int32_t textBlock, int32_t staff, char16_t* buffer, int32_t size, int32_t zero, uint32_t api)) \
  X(TX_ExecuteMenuItem, int32_t, (int32_t command, uint32_t api))
// clang-format on

// The plug-in's dialog procedure as TX_Dialog takes it: the host calls it for
// every message of the dialog, with the user value given to TX_Dialog, and
// hands its answer back to Windows.
using TXDialogProcedure = intptr_t(TX_HOSTCALL*)(void* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                                 void* userValue);

// Function pointer types, TX_LoadEData_Host and so on.
#define TX_DECLARE_HOST_TYPE(name, result, params) using name##_Host = result(TX_HOSTCALL*) params;
TX_HOST_FUNCTIONS(TX_DECLARE_HOST_TYPE)
#undef TX_DECLARE_HOST_TYPE

// Index of each function in the binding table.
enum class TXFunction : int {
#define TX_DECLARE_HOST_INDEX(name, result, params) name,
  TX_HOST_FUNCTIONS(TX_DECLARE_HOST_INDEX)
#undef TX_DECLARE_HOST_INDEX
      Count
};

// Export names in table order.
extern const char* const kTXFunctionNames[];
