#include "score/tc_staff_system.h"

namespace {

constexpr size_t kFirstMeasureOffset = 8;
constexpr size_t kNextSystemMeasureOffset = 12;

}  // namespace

__TCBaseData* TCStaffSystem::CreateObject() const { return new TCStaffSystem(); }

int16_t TCStaffSystem::GetFirstMeasure() const { return ReadField<int16_t>(kFirstMeasureOffset); }

void TCStaffSystem::SetFirstMeasure(int16_t measure) { WriteField<int16_t>(kFirstMeasureOffset, measure); }

int16_t TCStaffSystem::GetNextSystemMeasure() const { return ReadField<int16_t>(kNextSystemMeasureOffset); }

void TCStaffSystem::SetNextSystemMeasure(int16_t measure) { WriteField<int16_t>(kNextSystemMeasureOffset, measure); }

// After a system that ends with measure 32,767 the host's 16-bit field holds
// 32,768, which only reads right without its sign.
int32_t TCStaffSystem::GetLastMeasure() const { return static_cast<uint16_t>(GetNextSystemMeasure()) - 1; }
