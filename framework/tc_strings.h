#pragma once

#include "framework/tc_collection.h"
#include "framework/tc_string.h"

// An owning list of strings.
class TCStrings : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCStrings"; }
  TCString* GetStringAt(int32_t index) const { return ItemAs<TCString>(*this, index); }
};
