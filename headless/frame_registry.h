// Every note-entry frame the host has handed out, and every entry metrics
// buffer it has filled, so that misuse and leaks can be reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "headless/document.h"

namespace headless {

struct FrameInfo {
  int16_t document = 0;
  CellKey cell;
  bool readOnly = false;
  int allocatedEntries = 0;
  uint8_t* entries = nullptr;
  std::unique_ptr<uint8_t[]> block;
};

class FrameRegistry {
 public:
  enum class FrameState { Live, Freed, Unknown };

  // A new frame: header (slot list, slot, measure, layer, read-only mark,
  // entry array, entry count) followed by copies of the entries.
  void* Create(int16_t document, const CellKey& cell, uint16_t slotList, int16_t slot, bool readOnly,
               const std::vector<EntryBytes>& entries);
  FrameState StateOf(const void* frame) const;
  const FrameInfo* Live(const void* frame) const;
  // Releases a live frame; false for any other.
  bool Release(const void* frame);
  int LiveFrames() const { return static_cast<int>(frames_.size()); }

  // Metrics buffers the host filled and that were not freed yet.
  bool MetricsLive(const void* metrics) const { return metrics_.count(metrics) > 0; }
  void AddMetrics(const void* metrics) { metrics_.insert(metrics); }
  bool ReleaseMetrics(const void* metrics) { return metrics_.erase(metrics) > 0; }
  int LiveMetrics() const { return static_cast<int>(metrics_.size()); }

  void Clear();

 private:
  std::map<const void*, FrameInfo> frames_;
  std::set<const void*> freed_;
  std::set<const void*> metrics_;
};

}  // namespace headless
