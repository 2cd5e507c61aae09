#include "headless/frame_registry.h"

#include <cstring>

namespace headless {

namespace {

// The entries follow the header, aligned as the host's allocator would.
constexpr size_t kEntriesStart = (host_frame::kFrameHeaderSize + 7) & ~static_cast<size_t>(7);

}  // namespace

void* FrameRegistry::Create(int16_t document, const CellKey& cell, uint16_t slotList, int16_t slot, bool readOnly,
                            const std::vector<EntryBytes>& entries) {
  using namespace host_frame;
  size_t count = entries.size();
  size_t blockSize = kEntriesStart + (count > 0 ? count : 1) * kEntrySize;
  FrameInfo info;
  info.document = document;
  info.cell = cell;
  info.readOnly = readOnly;
  info.allocatedEntries = static_cast<int>(count);
  info.block.reset(new uint8_t[blockSize]());
  uint8_t* frame = info.block.get();
  info.entries = frame + kEntriesStart;
  for (size_t i = 0; i < count; ++i) {
    std::memcpy(info.entries + i * kEntrySize, entries[i].data(), kEntrySize);
  }
  Write<uint16_t>(frame, kSlotListOffset, slotList);
  Write<int16_t>(frame, kSlotOffset, slot);
  Write<int16_t>(frame, kMeasureOffset, cell.measure);
  Write<int16_t>(frame, kLayerOffset, cell.layer);
  Write<int16_t>(frame, kReadOnlyOffset, readOnly ? 1 : 0);
  SetFrameEntries(frame, info.entries);
  SetFrameEntryCount(frame, static_cast<int16_t>(count));
  freed_.erase(frame);
  frames_[frame] = std::move(info);
  return frame;
}

FrameRegistry::FrameState FrameRegistry::StateOf(const void* frame) const {
  if (frames_.count(frame)) return FrameState::Live;
  if (freed_.count(frame)) return FrameState::Freed;
  return FrameState::Unknown;
}

const FrameInfo* FrameRegistry::Live(const void* frame) const {
  auto found = frames_.find(frame);
  return found == frames_.end() ? nullptr : &found->second;
}

bool FrameRegistry::Release(const void* frame) {
  auto found = frames_.find(frame);
  if (found == frames_.end()) return false;
  frames_.erase(found);
  freed_.insert(frame);
  return true;
}

void FrameRegistry::Clear() {
  frames_.clear();
  freed_.clear();
  metrics_.clear();
}

}  // namespace headless
