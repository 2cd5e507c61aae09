// One staff in one measure, and the key signature in force there.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCKeySignature;

class TCCell : public __TCBase {
 public:
  TCCell(int32_t measure, int32_t staff) : measure_(measure), staff_(staff) {}
  ~TCCell() override;

  const char* ClassName() const override { return "TCCell"; }
  int32_t GetMeasure() const { return measure_; }
  int32_t GetStaff() const { return staff_; }
  // Owned by the cell and kept for its life: the cell's own key on staves with
  // per-measure keys, else the measure's key; C major when neither loads.
  TCKeySignature* GetKeySignature();

 private:
  uint16_t FindKeyValue();

  int32_t measure_;
  int32_t staff_;
  TCKeySignature* keySignature_ = nullptr;
};
