// The host's 16-bit key value: bits 0-7 a signed count (sharps positive,
// flats negative), bits 8-13 the mode (0 major, 1 minor), bits 14-15 nonzero
// for a key that no count describes.
#pragma once

#include <cstdint>

#include "score/tc_base_data.h"

class TCKeySignature : public __TCBaseData {
 public:
  explicit TCKeySignature(uint16_t keyValue = 0);

  const char* ClassName() const override { return "TCKeySignature"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return 0; }
  int32_t GetDataSize() const override { return 2; }
  // Never a record of its own: nothing to step to or delete.
  bool LoadNext() override { return false; }
  bool DeleteData() override { return false; }

  uint16_t GetKeyValue() const;
  void SetKeyValue(uint16_t keyValue);

  // Plain major or minor key described by a count.
  bool IsLinear() const;
  bool IsMinor() const;
  // -1 when not linear
  int32_t GetSharpCount() const;
  int32_t GetFlatCount() const;
  // Letter index 0 = A ... 6 = G; -1 when not linear.
  int32_t GetTonicLetter() const;
  // Letter index 0-6 altered by this key.
  bool IsLetterSharpened(int32_t letter) const;
  bool IsLetterFlattened(int32_t letter) const;

 private:
  int8_t GetSignedCount() const;
  int32_t GetMode() const;

  uint8_t buffer_[2] = {};
};
