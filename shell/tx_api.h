// Wrappers around the host's plug-in API, each named like the host function it
// calls. The host module and each function are looked up once; a function the
// host does not export is never called and its wrapper answers 0
// (TX_GetCurrentPartID: -1). Results are the host's 16-bit answers.
#pragma once

#include <cstdint>

#include "shell/tx_host_functions.h"

// Record address as the host expects it: 8 bytes whose meaning depends on the
// record family.
struct TXAddress {
  uint8_t bytes[8];
};

int16_t TX_LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version);
int16_t TX_SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version);
int16_t TX_CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version);
int16_t TX_DeleteEData(uint32_t tag, void* address, uint32_t version);
int16_t TX_NextEData(uint32_t tag, void* address, int32_t reserved1, int32_t reserved2, uint32_t version);

void* TX_LoadTGF(int32_t zero, int32_t slot, int32_t measure, int32_t layerIndex, int32_t loadFlag);
int16_t TX_SaveTGF(void* frame);  // normalises the frame's note IDs first
int16_t TX_FreeTGF(void* frame);

int16_t TX_Dialog(int32_t templateId, void* procedure, void* owner, int32_t modal, void* userValue);
int16_t TX_EndDialog(void* dialog);
int16_t TX_EnableDlgItem(void* dialog, int32_t item, int32_t enable);
int16_t TX_GetDlgItemVal(void* dialog, int32_t item, int32_t kind);
int16_t TX_SetDlgItemVal(void* dialog, int32_t item, int32_t kind, int32_t value);
int16_t TX_GetDlgItemUser(void* dialog, int32_t item, int32_t zero, double* value);
int16_t TX_SetDlgItemUser(void* dialog, int32_t item, int32_t zero, double value);
int16_t TX_GetDlgString(void* dialog, int32_t item, char* buffer, int32_t size);
int16_t TX_GetDlgString_UTF16(void* dialog, int32_t item, char16_t* buffer, int32_t size);
int16_t TX_SetDlgString(void* dialog, int32_t item, const char* text);
int16_t TX_SetDlgString_UTF16(void* dialog, int32_t item, const char16_t* text);

int16_t TX_GetCurERegions(void* first, void* region, void* third);
int16_t TX_SetCurERegion(const void* region);
int16_t TX_RedrawMusic(const void* record);
int16_t TX_UpdateLayout(int32_t first, int32_t second);
int16_t TX_ScrollTo(int32_t measure, int32_t staff);
int16_t TX_GetCurrentWindowInfo(void* record);
void* TX_GetCurrentWindow();
int16_t TX_GetShowLayer(int32_t layerIndex);

int16_t TX_GetCurrentOrbeltDocument();
int16_t TX_GetCurrentPartID();
int16_t TX_SetCurrentPartID(int32_t part);
int16_t TX_GetNextPartID(int32_t part);
int16_t TX_SlotToInst(int32_t slot, int32_t slotList);
int16_t TX_InstToSlot(int32_t staff, int32_t slotList);
int16_t TX_GetMaxLayers();

int16_t TX_StartTavrelEdit(const char* name);
int16_t TX_StartTavrelEdit_UTF16(const char16_t* name);
int16_t TX_EndTavrelEdit();
int16_t TX_CancelTavrelEdit();

int16_t TX_GetTavrelPath(int32_t folderKind, void* buffer);
int16_t TX_GetEntryMetrics2009a(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh);
int16_t TX_GetEntryMetrics2014(uint32_t entryNumber, int32_t measure, int32_t staff, void* metrics, int32_t refresh);
int16_t TX_FreeEntryMetrics(void* metrics);
int16_t TX_AutoNumberedName_UTF16(int32_t textBlock, int32_t staff, char16_t* buffer, int32_t size, int32_t zero);
int16_t TX_ExecuteMenuItem(int32_t command);

// Whether the host exports the function (binds it on first use).
bool TXIsBound(TXFunction function);

// Number of host edits started through the wrappers and not yet ended or
// cancelled.
int TXEditNesting();

// Takes back the count of an edit whose start the host refused, without
// calling the host: there is no edit of ours to end or cancel, and ending one
// would close an edit that someone else opened.
void TXForgetRefusedEdit();

// Forgets the host module, every looked-up function and the edit nesting, so
// that the next call binds afresh. For test programs that change hosts.
void TXResetBinding();
