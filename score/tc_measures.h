#pragma once

#include <cstdint>

#include "score/tc_measure.h"
#include "score/tc_record_collections.h"

class TCMusicRegion;

class TCMeasures : public __TCCollectionNoInciOther {
 public:
  const char* ClassName() const override { return "TCMeasures"; }
  __TCBaseData* CreateElement() override { return new TCMeasure(); }
  // The measures from the region's start to its end measure; missing ones are skipped.
  int32_t LoadRegion(const TCMusicRegion* region);
  TCMeasure* GetMeasureAt(int32_t index) const { return ItemAs<TCMeasure>(*this, index); }
  // The element loaded as that measure number, or null.
  TCMeasure* FindMeasure(int32_t number) const;
};
