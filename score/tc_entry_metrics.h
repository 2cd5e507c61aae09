// The host's layout metrics of one entry: which accidentals it actually draws.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCNoteEntry;

class TCEntryMetrics : public __TCBase {
 public:
  static constexpr int32_t kOlderSize = 304;
  static constexpr int32_t kNewerSize = 316;

  TCEntryMetrics() = default;
  ~TCEntryMetrics() override;

  const char* ClassName() const override { return "TCEntryMetrics"; }

  // Asks the host for the entry's metrics, releasing earlier ones.
  bool Load(const TCNoteEntry* entry);
  bool IsLoaded() const { return loaded_; }
  // The visibility byte of the note with that ID (nonzero: drawn); null before
  // host 0x12000000, when not loaded or when the ID is not there.
  const uint8_t* FindNoteVisibility(int16_t noteId) const;
  void Release();

  // Asked of the host with every metrics call; starts at 1 and is cleared
  // after the first metrics the host gives.
  static uint8_t GetRefreshFlag();
  static void SetRefreshFlag(uint8_t flag);

 private:
  uint8_t* LoadedBuffer();

  bool loaded_ = false;
  bool loadedNewer_ = false;
  uint8_t olderBuffer_[kOlderSize] = {};
  uint8_t newerBuffer_[kNewerSize] = {};
};
