// The note entries of one staff in one measure, loaded from the host's
// note-entry frames of the layers the layer mode selects.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_note_entry.h"

class TCCell;
class TCKeySignature;

// A collection of note entries that can build them from a frame.
class __TCNoteEntryCollection : public __TCCollection {
 public:
  const char* ClassName() const override { return "__TCNoteEntryCollection"; }

  // Appends one entry per entry record of the frame, linked to its neighbours.
  void AddFrameEntries(void* frame);
  TCNoteEntry* GetEntryAt(int32_t index) const { return ItemAs<TCNoteEntry>(*this, index); }
};

class TCNoteEntryCell : public __TCNoteEntryCollection {
 public:
  static constexpr int32_t kMaxFrames = 20;
  // Layer modes besides 1-4 (one layer) and the bit set 0x100-0x800.
  static constexpr int32_t kLayersNone = -3;
  static constexpr int32_t kLayersHidden = -2;
  static constexpr int32_t kLayersAll = -1;
  static constexpr int32_t kLayersShown = 0;

  TCNoteEntryCell(int32_t measure, int32_t staff);
  ~TCNoteEntryCell() override;

  const char* ClassName() const override { return "TCNoteEntryCell"; }

  void SetLayerMode(int32_t mode) { layerMode_ = mode; }
  int32_t GetLayerMode() const { return layerMode_; }
  void SetLoadFlag(uint8_t flag) { loadFlag_ = flag; }
  int32_t GetMeasure() const { return measure_; }
  int32_t GetStaff() const { return staff_; }

  // All or nothing: false and empty when one selected layer does not load.
  bool Load();
  // Saves every held frame that is not read-only; true when all of them saved.
  bool Save();
  // Destroys the entries and gives every frame back to the host.
  void Release();
  TCNoteEntry* FindEntryNumber(uint32_t entryNumber) const;
  bool IsLayerSelected(int32_t layerIndex) const;
  // The frame of a layer index, or null.
  void* GetFrame(int32_t layerIndex) const;
  // The key in force in this cell, owned by the cell.
  TCKeySignature* GetKeySignature();

 private:
  int32_t measure_;
  int32_t staff_;
  int32_t layerMode_ = kLayersShown;
  uint8_t loadFlag_ = 1;
  void* frames_[kMaxFrames] = {};
  TCCell* keyCell_ = nullptr;
};

// The host's number of layers, 4 when it cannot tell.
int32_t GetHostLayerCount();
