// A measure record ("SOMS") with its key signature.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCKeySignature;

class TCMeasure : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x534F4D53;

  TCMeasure();
  ~TCMeasure() override;

  const char* ClassName() const override { return "TCMeasure"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  uint32_t GetDataVersion() const override;
  int32_t GetDataSize() const override;
  bool Save() override;                // writes the owned key signature's value back first
  bool Reload() override;              // Load(GetNumber())
  bool Load(int16_t number) override;  // drops the owned key signature first

  // Null when not loaded; otherwise owned by the measure, made at the first call.
  TCKeySignature* GetKeySignature();
  uint16_t GetKeyValue() const;
  void SetKeyValue(uint16_t keyValue);
  // The 16-bit per-measure value at offset 6 of the newer layout (0 in the older).
  int16_t GetMeasureFlagValue() const;

 protected:
  void CloneDerivedFrom(const __TCBaseData* other) override;

 private:
  void DropKeySignature();

  uint8_t buffer_[30] = {};
  TCKeySignature* keySignature_ = nullptr;
};
