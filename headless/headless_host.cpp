#include "headless/headless_host.h"

#include <algorithm>
#include <cstring>

#include "headless/document.h"
#include "headless/host_call_handler.h"
#include "headless/host_exports.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace headless {

namespace {

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
    : edits_(*this), selection_(*this), queries_(*this), handler_(new HostCallHandler(*this)) {}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Reset(uint32_t hostVersion) {
  documents_.clear();
  currentDocument_ = 0;
  nextDocument_ = 1;
  callLog_.Reset();
  misuse_.Clear();
  frames_.Clear();
  edits_.Clear();
  layers_.Reset();
  environment_.Reset();
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

}  // namespace headless
