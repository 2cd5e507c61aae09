#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_cell.h"

class TCCells : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCCells"; }
  TCCell* GetCellAt(int32_t index) const { return ItemAs<TCCell>(*this, index); }
  // The first cell with that measure and staff, or null.
  TCCell* Find(int32_t measure, int32_t staff) const;
};
