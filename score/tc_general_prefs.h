// The document's general preferences ("pfgp"), record number 1.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCGeneralPrefs : public __TCPrefsBase {
 public:
  static constexpr uint32_t kTag = 0x70666770;
  static constexpr uint32_t kVersion = 0x0D000000;

  TCGeneralPrefs() : __TCPrefsBase(buffer_, sizeof(buffer_)) {}

  const char* ClassName() const override { return "TCGeneralPrefs"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  uint32_t GetDataVersion() const override { return kVersion; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }

  // Semitones by which written octave numbers are shifted (whole octaves count).
  int16_t GetOctaveShiftSemitones() const;
  void SetOctaveShiftSemitones(int16_t semitones);

 private:
  uint8_t buffer_[66] = {};
};
