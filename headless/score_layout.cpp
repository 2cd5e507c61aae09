#include "headless/score_layout.h"

#include <limits>
#include <vector>

#include "headless/document.h"

namespace headless {

namespace {

std::vector<int16_t> SystemStarts(const DocumentContent& content, const PartContent& part) {
  std::vector<int16_t> starts;
  int16_t measureCount = content.MeasureCount();
  if (measureCount < 1) return starts;
  if (part.systemStarts.empty()) {
    int perSystem = content.measuresPerSystem > 0 ? content.measuresPerSystem : 1;
    for (int measure = 1; measure <= measureCount; measure += perSystem) {
      starts.push_back(static_cast<int16_t>(measure));
    }
    return starts;
  }
  starts.push_back(1);
  for (int16_t start : part.systemStarts) {
    if (start > starts.back() && start <= measureCount) starts.push_back(start);
  }
  return starts;
}

void LayOutPart(const DocumentContent& content, int16_t id, PartContent& part, bool placed) {
  constexpr int16_t kLowest = std::numeric_limits<int16_t>::min();
  part.records.EraseFrom(kStaffSystemTag, kLowest);
  part.records.EraseFrom(kSystemStaffTag, 1);
  part.records.EraseFrom(kStaffReductionTag, kLowest);
  std::vector<int16_t> starts = SystemStarts(content, part);
  // A score still without measures has no systems: its staves, added one
  // by one, need not be read for each of them.
  if (starts.empty()) return;
  std::vector<int16_t> order = content.SlotOrder(id);
  for (size_t i = 0; i < starts.size(); ++i) {
    int16_t system = static_cast<int16_t>(i + 1);
    int16_t after = i + 1 < starts.size() ? starts[i + 1] : static_cast<int16_t>(content.MeasureCount() + 1);
    RecordBytes record(static_cast<size_t>(LayoutOf(kStaffSystemTag, 0).size), 0);
    StaffSystemRecord::FirstMeasure::Set(record, placed ? starts[i] : 0);
    StaffSystemRecord::FirstMeasureAfter::Set(record, placed ? after : 0);
    part.records.Put(RecordKey{kStaffSystemTag, system, 0, 0}, record);
    for (size_t slot = 0; slot < order.size(); ++slot) {
      RecordBytes staff(static_cast<size_t>(LayoutOf(kSystemStaffTag, 0).size), 0);
      SystemStaffRecord::Staff::Set(staff, order[slot]);
      part.records.Put(RecordKey{kSystemStaffTag, system, static_cast<int16_t>(slot), 0}, staff);
    }
  }
}

}  // namespace

void LayOutSystems(DocumentContent& content, bool placed) {
  for (auto& [id, part] : content.parts) {
    LayOutPart(content, id, part, placed);
  }
}

}  // namespace headless
