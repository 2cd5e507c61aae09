#include "score/tc_staff_system.h"

namespace {

constexpr size_t kFirstMeasureOffset = 8;
constexpr size_t kNextSystemMeasureOffset = 12;

}  // namespace

__TCBaseData* TCStaffSystem::CreateObject() const { return new TCStaffSystem(); }

int16_t TCStaffSystem::GetFirstMeasure() const { return ReadField<int16_t>(kFirstMeasureOffset); }

void TCStaffSystem::SetFirstMeasure(int16_t measure) { WriteField<int16_t>(kFirstMeasureOffset, measure); }

int16_t TCStaffSystem::GetNextSystemMeasure() const { return ReadField<int16_t>(kNextSystemMeasureOffset); }

void TCStaffSystem::SetNextSystemMeasure(int16_t measure) {
  WriteField<int16_t>(kNextSystemMeasureOffset, measure);
}

int16_t TCStaffSystem::GetLastMeasure() const { return static_cast<int16_t>(GetNextSystemMeasure() - 1); }
