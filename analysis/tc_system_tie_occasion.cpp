#include "analysis/tc_system_tie_occasion.h"

TCSystemTieOccasion* TCSystemTieOccasions::Find(int16_t partId, uint32_t entryNumber) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCSystemTieOccasion* occasion = GetOccasionAt(i);
    if (occasion && occasion->partId == partId && occasion->entryNumber == entryNumber) return occasion;
  }
  return nullptr;
}
