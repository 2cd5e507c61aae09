#include "headless/headless_host.h"

#include <algorithm>
#include <cstring>

#include "headless/document.h"
#include "headless/frame_registry.h"
#include "headless/host_call_handler.h"
#include "headless/host_exports.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace headless {

namespace {

constexpr uint16_t kSlotList = 1;
constexpr int kMostLayers = 32;
constexpr int32_t kEndOfMeasure = 0x7FFFFFFF;

#ifndef _WIN32
// The registration keeps pointers to the table and to the module name.
std::vector<PlatformExport> registeredExports;
#endif

}  // namespace

HeadlessHost& HeadlessHost::Instance() {
  static HeadlessHost host;
  return host;
}

HeadlessHost::HeadlessHost()
    : frames_(new FrameRegistry), calls_(new HostCallHandler(*this)), layerShown_(kMostLayers, true) {}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Reset(uint32_t hostVersion) {
  documents_.clear();
  currentDocument_ = 0;
  nextDocument_ = 1;
  callLog_.clear();
  callLogging_ = true;
  frameErrors_.clear();
  callErrors_.clear();
  frames_->Clear();
  openEdits_.clear();
  cancelledEdits_.clear();
  endedEdits_.clear();
  maxLayers_ = 4;
  layerShown_.assign(kMostLayers, true);
  pluginFolder_.clear();
  windowField528_ = 1;
  windowField530_ = 200;
  windowInfoAnswers_ = true;
  spacingCommands_.clear();
  menuCommands_.clear();
  SetHostVersion(hostVersion);
}

void HeadlessHost::SetHostVersion(uint32_t version) {
  hostVersion_ = version;
  if (installed_) ::SetHostVersion(version);
}

bool HeadlessHost::CanLeaveOutFunctions() {
#ifdef _WIN32
  return false;
#else
  return true;
#endif
}

bool HeadlessHost::Install(const std::vector<std::string>& missingFunctions, const char* moduleName) {
  missingFunctions_ = missingFunctions;
#ifndef _WIN32
  if (!moduleName_.empty()) PlatformUnregisterModule(moduleName_.c_str());
  moduleName_ = moduleName ? moduleName : "TAVREL.EXE";
  size_t count = 0;
  const PlatformExport* all = HeadlessExportTable(&count);
  registeredExports.clear();
  for (size_t i = 0; i < count; ++i) {
    bool leftOut = std::find(missingFunctions.begin(), missingFunctions.end(), all[i].name) != missingFunctions.end();
    if (!leftOut) registeredExports.push_back(all[i]);
  }
  PlatformRegisterModule(moduleName_.c_str(), registeredExports.data(), registeredExports.size());
#else
  // The exports of TAVREL.EXE are fixed at link time.
  (void)moduleName;
#endif
  installed_ = true;
  ::SetHostVersion(hostVersion_);
  TXResetBinding();
  return true;
}

void HeadlessHost::Uninstall() {
#ifndef _WIN32
  if (!moduleName_.empty()) PlatformUnregisterModule(moduleName_.c_str());
  moduleName_.clear();
  registeredExports.clear();
#endif
  installed_ = false;
  TXResetBinding();
}

int16_t HeadlessHost::NewDocument() {
  int16_t id = nextDocument_++;
  documents_[id] = std::make_unique<Document>(id);
  currentDocument_ = id;
  return id;
}

bool HeadlessHost::SetCurrentDocument(int16_t document) {
  if (!documents_.count(document)) return false;
  currentDocument_ = document;
  return true;
}

Document* HeadlessHost::DocumentData(int16_t document) {
  auto found = documents_.find(document);
  return found == documents_.end() ? nullptr : found->second.get();
}

Document* HeadlessHost::CurrentDocumentData() { return DocumentData(currentDocument_); }

const Document* HeadlessHost::CurrentDocumentData() const {
  auto found = documents_.find(currentDocument_);
  return found == documents_.end() ? nullptr : found->second.get();
}

int16_t HeadlessHost::CurrentPart() const {
  const Document* document = CurrentDocumentData();
  return document ? document->currentPart : -1;
}

bool HeadlessHost::SetCurrentPart(int16_t part) {
  Document* document = CurrentDocumentData();
  if (!document || !document->content.HasPart(part)) return false;
  document->currentPart = part;
  return true;
}

std::vector<int16_t> HeadlessHost::Parts() const {
  std::vector<int16_t> parts;
  if (const Document* document = CurrentDocumentData()) {
    for (const auto& entry : document->content.parts) parts.push_back(entry.first);
  }
  return parts;
}

std::vector<int16_t> HeadlessHost::SlotOrder(int16_t part) const {
  const Document* document = CurrentDocumentData();
  return document ? document->content.SlotOrder(part) : std::vector<int16_t>();
}

const HeadlessHost::SlotIndex& HeadlessHost::SlotIndexOf(int16_t part) const {
  static const SlotIndex kNoSlots;
  const Document* document = CurrentDocumentData();
  const RecordStore* store = document ? document->content.StoreFor(kSystemStaffTag, part) : nullptr;
  if (!store) return kNoSlots;
  if (slotIndex_.stamp == store->Stamp()) return slotIndex_;
  slotIndex_.stamp = store->Stamp();
  slotIndex_.staves = document->content.SlotOrder(part);
  slotIndex_.slotOf.clear();
  // A staff listed twice keeps its first slot.
  for (size_t slot = slotIndex_.staves.size(); slot > 0; --slot) {
    slotIndex_.slotOf[slotIndex_.staves[slot - 1]] = static_cast<int>(slot);
  }
  return slotIndex_;
}

int16_t HeadlessHost::StaffAtSlot(int16_t part, int slot) const {
  const std::vector<int16_t>& order = SlotIndexOf(part).staves;
  if (slot < 1 || slot > static_cast<int>(order.size())) return 0;
  return order[static_cast<size_t>(slot - 1)];
}

int HeadlessHost::SlotOfStaff(int16_t part, int16_t staff) const {
  const SlotIndex& index = SlotIndexOf(part);
  auto found = index.slotOf.find(staff);
  return found == index.slotOf.end() || staff == 0 ? 0 : found->second;
}

int HeadlessHost::CountCalls(const char* name) const {
  return static_cast<int>(
      std::count_if(callLog_.begin(), callLog_.end(), [name](const HostCall& call) { return call.name == name; }));
}

std::vector<HostCall> HeadlessHost::CallsNamed(const char* name) const {
  std::vector<HostCall> calls;
  for (const HostCall& call : callLog_) {
    if (call.name == name) calls.push_back(call);
  }
  return calls;
}

void HeadlessHost::LogCall(HostCall call) {
  if (callLogging_) callLog_.push_back(std::move(call));
}

void HeadlessHost::ReportFrameError(const std::string& text) { frameErrors_.push_back(text); }
void HeadlessHost::ReportCallError(const std::string& text) { callErrors_.push_back(text); }

void HeadlessHost::ClearErrors() {
  frameErrors_.clear();
  callErrors_.clear();
}

int HeadlessHost::OutstandingFrames() const { return frames_->LiveFrames(); }
int HeadlessHost::OutstandingEntryMetrics() const { return frames_->LiveMetrics(); }

void HeadlessHost::SetCellReadOnly(int16_t staff, int16_t measure, int layer, bool readOnly) {
  Document* document = CurrentDocumentData();
  if (!document) return;
  CellKey key{staff, measure, static_cast<int16_t>(layer - 1)};
  if (readOnly) {
    document->readOnlyCells.insert(key);
  } else {
    document->readOnlyCells.erase(key);
  }
}

std::vector<std::string> HeadlessHost::UndoHistory() const {
  std::vector<std::string> names;
  if (const Document* document = CurrentDocumentData()) {
    for (const Document::UndoStep& step : document->undoHistory) names.push_back(step.name);
  }
  return names;
}

bool HeadlessHost::Undo() {
  Document* document = CurrentDocumentData();
  if (!document || document->undoHistory.empty()) return false;
  if (!Restore(document->undoHistory.back().before)) return false;
  document->undoHistory.pop_back();
  return true;
}

DocumentSnapshot HeadlessHost::Snapshot() const {
  const Document* document = CurrentDocumentData();
  return document ? DocumentSnapshot(document->content) : DocumentSnapshot();
}

bool HeadlessHost::Restore(const DocumentSnapshot& snapshot) {
  Document* document = CurrentDocumentData();
  if (!document || !snapshot.Content()) return false;
  document->content = *snapshot.Content();
  if (!document->content.HasPart(document->currentPart)) document->currentPart = 0;
  return true;
}

uint16_t HeadlessHost::SlotListValue() { return kSlotList; }

SelectionRecord HeadlessHost::Selection() const {
  const Document* document = CurrentDocumentData();
  if (!document) return SelectionRecord{};
  auto found = document->selections.find(document->currentPart);
  return found == document->selections.end() ? SelectionRecord{} : found->second;
}

void HeadlessHost::SetSelectionRecord(const SelectionRecord& selection) {
  if (Document* document = CurrentDocumentData()) document->selections[document->currentPart] = selection;
}

bool HeadlessHost::SetSelection(int16_t startStaff, int16_t startMeasure, int32_t startPosition, int16_t endStaff,
                                int16_t endMeasure, int32_t endPosition) {
  int16_t part = CurrentPart();
  int startSlot = SlotOfStaff(part, startStaff);
  int endSlot = SlotOfStaff(part, endStaff);
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
  SetSelectionRecord(selection);
  return true;
}

bool HeadlessHost::SelectAll() {
  const Document* document = CurrentDocumentData();
  if (!document) return false;
  std::vector<int16_t> order = document->content.SlotOrder(document->currentPart);
  int16_t measures = document->content.MeasureCount();
  if (order.empty() || measures < 1) return false;
  return SetSelection(order.front(), 1, 0, order.back(), measures, kEndOfMeasure);
}

void HeadlessHost::ClearSelection() { SetSelectionRecord(SelectionRecord{}); }

void HeadlessHost::SetMaxLayers(int count) { maxLayers_ = std::max(0, std::min(count, kMostLayers)); }

void HeadlessHost::SetLayerShown(int layerIndex, bool shown) {
  if (layerIndex >= 0 && layerIndex < kMostLayers) layerShown_[static_cast<size_t>(layerIndex)] = shown;
}

bool HeadlessHost::LayerShown(int layerIndex) const {
  return layerIndex >= 0 && layerIndex < maxLayers_ && layerShown_[static_cast<size_t>(layerIndex)];
}

void HeadlessHost::SetPluginFolder(const std::string& path) { pluginFolder_ = path; }

void HeadlessHost::SetWindowInfo(int16_t field528, int16_t field530, bool answer) {
  windowField528_ = field528;
  windowField530_ = field530;
  windowInfoAnswers_ = answer;
}

}  // namespace headless
