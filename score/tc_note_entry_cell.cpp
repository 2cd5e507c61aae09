#include "score/tc_note_entry_cell.h"

#include "score/tc_cell.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"

namespace {

constexpr int32_t kDefaultLayerCount = 4;
constexpr int32_t kLayerBitsShift = 8;  // 0x100 selects layer index 0
constexpr int32_t kLayerBitCount = 4;
constexpr int32_t kFirstSingleLayerMode = 1;
constexpr int32_t kLastSingleLayerMode = 4;

}  // namespace

int32_t GetHostLayerCount() {
  if (!TXIsBound(TXFunction::TX_GetMaxLayers)) return kDefaultLayerCount;
  return TX_GetMaxLayers();
}

void __TCNoteEntryCollection::AddFrameEntries(void* frame) {
  if (!frame || !host_frame::FrameEntries(frame)) return;
  int32_t count = host_frame::FrameEntryCount(frame);
  // Room for the frame's entries at once: growing ten slots at a time makes
  // the load of a measure of thousands of notes quadratic.
  if (count > 0) Grow(count);
  TCNoteEntry* previous = nullptr;
  for (int32_t i = 0; i < count; ++i) {
    auto* entry = new TCNoteEntry(host_frame::EntryAt(frame, i), frame);
    entry->SetPrevious(previous);
    if (previous) previous->SetNext(entry);
    Add(entry);
    previous = entry;
  }
}

TCNoteEntryCell::TCNoteEntryCell(int32_t measure, int32_t staff) : measure_(measure), staff_(staff) {}

TCNoteEntryCell::~TCNoteEntryCell() {
  Release();
  delete keyCell_;
}

void TCNoteEntryCell::Release() {
  ClearAll();
  for (void*& frame : frames_) {
    if (frame) TX_FreeTGF(frame);
    frame = nullptr;
  }
}

bool TCNoteEntryCell::IsLayerSelected(int32_t layerIndex) const {
  if (layerIndex < 0) return false;
  switch (layerMode_) {
    case kLayersNone:
      return false;
    case kLayersHidden:
      return TX_GetShowLayer(layerIndex) == 0;
    case kLayersAll:
      return true;
    case kLayersShown:
      return TX_GetShowLayer(layerIndex) != 0;
    default:
      break;
  }
  if (layerMode_ >= kFirstSingleLayerMode && layerMode_ <= kLastSingleLayerMode) {
    return layerIndex == layerMode_ - 1;
  }
  if (layerIndex >= kLayerBitCount) return false;
  return (layerMode_ & (1 << (kLayerBitsShift + layerIndex))) != 0;
}

bool TCNoteEntryCell::Load() {
  Release();
  int32_t layers = GetHostLayerCount();
  if (layers > kMaxFrames) layers = kMaxFrames;
  int32_t slot = TX_InstToSlot(staff_, 0);
  for (int32_t i = 0; i < layers; ++i) {
    if (!IsLayerSelected(i)) continue;
    frames_[i] = TX_LoadTGF(0, slot, measure_, i, loadFlag_);
    if (!frames_[i]) {
      Release();
      return false;
    }
  }
  for (int32_t i = 0; i < layers; ++i) AddFrameEntries(frames_[i]);
  return true;
}

bool TCNoteEntryCell::Save() {
  int32_t layers = GetHostLayerCount();
  if (layers > kMaxFrames) layers = kMaxFrames;
  bool allSaved = true;
  for (int32_t i = 0; i < layers; ++i) {
    void* frame = frames_[i];
    if (!frame || host_frame::Read<int16_t>(frame, host_frame::kReadOnlyOffset) != 0) continue;
    if (TX_SaveTGF(frame) == 0) allSaved = false;
  }
  return allSaved;
}

TCNoteEntry* TCNoteEntryCell::FindEntryNumber(uint32_t entryNumber) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCNoteEntry* entry = GetEntryAt(i);
    if (entry && entry->GetEntryNumber() == entryNumber) return entry;
  }
  return nullptr;
}

void* TCNoteEntryCell::GetFrame(int32_t layerIndex) const {
  if (layerIndex < 0 || layerIndex >= kMaxFrames) return nullptr;
  return frames_[layerIndex];
}

TCKeySignature* TCNoteEntryCell::GetKeySignature() {
  if (!keyCell_) keyCell_ = new TCCell(measure_, staff_);
  return keyCell_->GetKeySignature();
}
