#include "ui/tc_view_in_doc_handler.h"

#include <cstring>

#include "score/tc_staff.h"
#include "score/tc_staff_system.h"
#include "score/tc_staff_systems.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"

namespace {

// The host fills at least this much; only the first part is ours to clear.
constexpr size_t kWindowInfoSize = 532;
constexpr size_t kWindowInfoClearedBytes = 520;
// A 16-bit field that is 0 when the window shows no page view.
constexpr size_t kPageViewField = 528;
// A 16-bit field above this value: the window is large enough to show the measure without its system.
constexpr size_t kZoomField = 530;
constexpr int16_t kLargeWindow = 150;
constexpr int16_t kLastStaffTried = 101;

int16_t FirstStaffThatLoads() {
  for (int16_t number = 1; number <= kLastStaffTried; ++number) {
    TCStaff staff;
    if (staff.Load(number)) return number;
  }
  return 0;
}

}  // namespace

bool TCViewInDocHandler::ReadWindowInfo(uint8_t* record) {
  std::memset(record, 0, kWindowInfoClearedBytes);
  return TX_GetCurrentWindowInfo(record) != 0;
}

void TCViewInDocHandler::ScrollTo(int32_t measure) const {
  int16_t staff = staff_ != 0 ? staff_ : FirstStaffThatLoads();
  if (staff == 0) return;
  TX_ScrollTo(measure, staff);
}

void TCViewInDocHandler::ScrollToSystemOfMeasure() const {
  TCStaffSystems systems;
  systems.LoadAll();
  if (systems.HasUnlaidSystems()) {
    TX_UpdateLayout(1, 0);
    systems.ClearAll();
    systems.LoadAll();
  }
  uint8_t record[kWindowInfoSize] = {};
  if (ReadWindowInfo(record) && host_frame::Read<int16_t>(record, kZoomField) > kLargeWindow) return;
  for (int32_t index = 0; index < systems.GetCount(); ++index) {
    const TCStaffSystem* system = systems.GetSystemAt(index);
    if (!system) continue;
    if (system->GetFirstMeasure() > measure_) return;
    int32_t lastMeasure = system->GetNextSystemMeasure() - 1;
    if (lastMeasure >= measure_) {
      ScrollTo(system->GetFirstMeasure());
      ScrollTo(lastMeasure);
      return;
    }
  }
}

bool TCViewInDocHandler::Execute() {
  uint8_t record[kWindowInfoSize] = {};
  if (ReadWindowInfo(record) && host_frame::Read<int16_t>(record, kPageViewField) != 0) ScrollToSystemOfMeasure();
  ScrollTo(measure_);
  return false;
}
