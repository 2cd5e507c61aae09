#include "headless/host_selection.h"

#include "headless/document.h"
#include "headless/headless_host.h"

namespace headless {

namespace {

constexpr uint16_t kSlotList = 1;
constexpr int32_t kEndOfMeasure = 0x7FFFFFFF;

}  // namespace

uint16_t HostSelection::SlotListValue() { return kSlotList; }

SelectionRecord HostSelection::Record() const {
  const Document* document = host_.CurrentDocumentData();
  if (!document) return SelectionRecord{};
  auto found = document->selections.find(document->currentPart);
  return found == document->selections.end() ? SelectionRecord{} : found->second;
}

void HostSelection::SetRecord(const SelectionRecord& selection) {
  if (Document* document = host_.CurrentDocumentData()) document->selections[document->currentPart] = selection;
}

bool HostSelection::Set(int16_t startStaff, int16_t startMeasure, int32_t startPosition, int16_t endStaff,
                        int16_t endMeasure, int32_t endPosition) {
  int16_t part = host_.CurrentPart();
  int startSlot = host_.SlotOfStaff(part, startStaff);
  int endSlot = host_.SlotOfStaff(part, endStaff);
  if (startSlot == 0 || endSlot == 0) return false;
  SelectionRecord selection;
  selection.startSlotList = kSlotList;
  selection.startSlot = static_cast<int16_t>(startSlot);
  selection.startMeasure = startMeasure;
  selection.startPosition = startPosition;
  selection.endSlotList = kSlotList;
  selection.endSlot = static_cast<int16_t>(endSlot);
  selection.endMeasure = endMeasure;
  selection.endPosition = endPosition;
  SetRecord(selection);
  return true;
}

bool HostSelection::SelectAll() {
  const Document* document = host_.CurrentDocumentData();
  if (!document) return false;
  std::vector<int16_t> order = document->content.SlotOrder(document->currentPart);
  int16_t measures = document->content.MeasureCount();
  if (order.empty() || measures < 1) return false;
  return Set(order.front(), 1, 0, order.back(), measures, kEndOfMeasure);
}

void HostSelection::Clear() { SetRecord(SelectionRecord{}); }

}  // namespace headless
