#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_part.h"

// The score (part 0) and the linked parts of the current document.
class TCParts : public __TCCollection {
 public:
  const char* ClassName() const override { return "TCParts"; }
  // Clears, then the score and every part the host steps to; the count.
  int32_t LoadAll();
  TCPart* GetPartAt(int32_t index) const { return ItemAs<TCPart>(*this, index); }
  TCPart* FindPart(int32_t partNumber) const;
};
