#include "score/tc_note_entry.h"

#include "shell/host_frame.h"
#include "shell/tx_api.h"

using host_frame::Read;

TCNoteEntry::TCNoteEntry(uint8_t* entry, void* frame) : entry_(entry), frame_(frame) {
  if (frame_) {
    measure_ = Read<int16_t>(frame_, host_frame::kMeasureOffset);
    staff_ = TX_SlotToInst(Read<uint16_t>(frame_, host_frame::kSlotOffset),
                           Read<uint16_t>(frame_, host_frame::kSlotListOffset));
  }
  if (!entry_) return;
  int32_t count = host_frame::NoteCount(entry_);
  for (int32_t i = 0; i < count; ++i) Add(new TCNote(this, i, host_frame::NoteAt(entry_, i)));
}

uint32_t TCNoteEntry::GetEntryNumber() const {
  return entry_ ? Read<uint32_t>(entry_, host_frame::kEntryNumberOffset) : 0;
}

int16_t TCNoteEntry::GetLayerIndex() const { return frame_ ? Read<int16_t>(frame_, host_frame::kLayerOffset) : 0; }

uint32_t TCNoteEntry::GetEntryFlags() const {
  return entry_ ? Read<uint32_t>(entry_, host_frame::kEntryFlagsOffset) : 0;
}

bool TCNoteEntry::IsNote() const { return (GetEntryFlags() & host_frame::kEntryIsNote) != 0; }

bool TCNoteEntry::IsGrace() const { return (GetEntryFlags() & host_frame::kEntryIsGrace) != 0; }

int32_t TCNoteEntry::GetPosition() const { return entry_ ? Read<int32_t>(entry_, host_frame::kPositionOffset) : 0; }

int32_t TCNoteEntry::GetSecondPosition() const {
  return entry_ ? Read<int32_t>(entry_, host_frame::kSecondPositionOffset) : 0;
}

int16_t TCNoteEntry::GetEntryValue() const { return entry_ ? Read<int16_t>(entry_, host_frame::kEntryValueOffset) : 0; }

void TCNoteEntry::SetPrevious(TCNoteEntry* entry) {
  previous_ = entry;
  bool afterGrace = entry && entry->IsGrace() && entry->GetMeasure() == measure_;
  gracesBefore_ = afterGrace ? entry->gracesBefore_ + 1 : 0;
}

int32_t TCNoteEntry::GetIndexInFrame() const {
  if (!frame_ || !entry_) return -1;
  int32_t count = host_frame::FrameEntryCount(frame_);
  uintptr_t entries = reinterpret_cast<uintptr_t>(host_frame::FrameEntries(frame_));
  uintptr_t entry = reinterpret_cast<uintptr_t>(entry_);
  if (!entries || count <= 0 || entry < entries) return -1;
  // Entries lie one after another, each kEntrySize bytes long.
  uintptr_t offset = entry - entries;
  if (offset % host_frame::kEntrySize != 0 || offset / host_frame::kEntrySize >= static_cast<size_t>(count)) return -1;
  return static_cast<int32_t>(offset / host_frame::kEntrySize);
}

bool TCNoteEntry::IsInReadOnlyFrame() const {
  return frame_ && Read<int16_t>(frame_, host_frame::kReadOnlyOffset) != 0;
}
