#include "score/tc_entry_metrics.h"

#include <cstring>

#include "score/tc_note_entry.h"
#include "score/tc_staff.h"
#include "shell/host_frame.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace {

constexpr size_t kNoteCountOffset = 8;
constexpr size_t kNoteIdsOffset = 66;
constexpr size_t kNoteIdStride = 20;
constexpr size_t kVisibilityOffset = 304;
constexpr int32_t kMaxMetricNotes = 12;

uint8_t refreshFlag = 1;

}  // namespace

uint8_t TCEntryMetrics::GetRefreshFlag() { return refreshFlag; }

void TCEntryMetrics::SetRefreshFlag(uint8_t flag) { refreshFlag = flag; }

TCEntryMetrics::~TCEntryMetrics() { Release(); }

uint8_t* TCEntryMetrics::LoadedBuffer() { return loadedNewer_ ? newerBuffer_ : olderBuffer_; }

void TCEntryMetrics::Release() {
  if (!loaded_) return;
  TX_FreeEntryMetrics(LoadedBuffer());
  std::memset(LoadedBuffer(), 0, loadedNewer_ ? sizeof(newerBuffer_) : sizeof(olderBuffer_));
  loaded_ = false;
}

bool TCEntryMetrics::Load(const TCNoteEntry* entry) {
  if (!entry) return false;
  TCCurrentStaffSpec staff;
  if (!staff.LoadAtPosition(entry->GetStaff(), entry->GetMeasure(), entry->GetPosition())) return false;
  Release();
  bool newer = HostReaches(kHostVersion2012);
  int16_t result = newer ? TX_GetEntryMetrics2014(entry->GetEntryNumber(), entry->GetMeasure(), entry->GetStaff(),
                                                  newerBuffer_, refreshFlag)
                         : TX_GetEntryMetrics2009a(entry->GetEntryNumber(), entry->GetMeasure(), entry->GetStaff(),
                                                   olderBuffer_, refreshFlag);
  if (result == 0) return false;
  refreshFlag = 0;
  loaded_ = true;
  loadedNewer_ = newer;
  return true;
}

const uint8_t* TCEntryMetrics::FindNoteVisibility(int16_t noteId) const {
  if (!HostReaches(kHostVersion2012) || !loaded_ || !loadedNewer_) return nullptr;
  int16_t count = host_frame::Read<int16_t>(newerBuffer_, kNoteCountOffset);
  if (count > kMaxMetricNotes) count = kMaxMetricNotes;
  for (int32_t i = 0; i < count; ++i) {
    if (host_frame::Read<int16_t>(newerBuffer_, kNoteIdsOffset + kNoteIdStride * i) == noteId) {
      return &newerBuffer_[kVisibilityOffset + i];
    }
  }
  return nullptr;
}
