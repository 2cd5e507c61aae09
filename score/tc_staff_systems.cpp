#include "score/tc_staff_systems.h"

bool TCStaffSystems::HasUnlaidSystems() const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCStaffSystem* system = GetSystemAt(i);
    if (system && system->GetFirstMeasure() == 0) return true;
  }
  return false;
}
