#include "score/tc_parts.h"

#include "shell/tx_api.h"

namespace {

constexpr int16_t kNoMorePart = -1;  // 0xFFFF

}  // namespace

int32_t TCParts::LoadAll() {
  ClearAll();
  int16_t number = 0;
  while (true) {
    // A host that steps back to a part already listed would never end the walk.
    if (FindPart(number)) break;
    auto* part = new TCPart(number);
    if (!part->LoadPart()) {
      delete part;
      break;
    }
    Add(part);
    if (!TXIsBound(TXFunction::TX_GetNextPartID)) break;
    number = TX_GetNextPartID(number);
    if (number == kNoMorePart) break;
  }
  return GetCount();
}

TCPart* TCParts::FindPart(int32_t partNumber) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCPart* part = GetPartAt(i);
    if (part && part->GetPartNumber() == partNumber) return part;
  }
  return nullptr;
}
