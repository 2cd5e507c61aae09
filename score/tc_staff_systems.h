#pragma once

#include <cstdint>

#include "score/tc_record_collections.h"
#include "score/tc_staff_system.h"

class TCStaffSystems : public __TCCollectionNoInciOther {
 public:
  const char* ClassName() const override { return "TCStaffSystems"; }
  __TCBaseData* CreateElement() override { return new TCStaffSystem(); }
  TCStaffSystem* GetSystemAt(int32_t index) const { return ItemAs<TCStaffSystem>(*this, index); }
  // A loaded system whose first measure is 0: the host must lay out first.
  bool HasUnlaidSystems() const;
};
