#pragma once

#include <cstdint>

#include "score/tc_group.h"
#include "score/tc_record_collections.h"

class TCGroups : public __TCCollectionNoInciDetail {
 public:
  const char* ClassName() const override { return "TCGroups"; }
  __TCBaseData* CreateElement() override { return new TCGroup(); }
  // Clears, then groups (first number, start, start + 1, ...) until one fails.
  virtual int32_t LoadAllFor(int16_t firstNumber, int16_t start);
  TCGroup* GetGroupAt(int32_t index) const { return ItemAs<TCGroup>(*this, index); }
};
