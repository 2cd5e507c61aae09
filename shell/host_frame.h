// Layout of the host's note-entry frame and of the entry and note records it
// holds. The host owns a frame between TX_LoadTGF and TX_FreeTGF; both the
// plug-in and the headless host read and write it only through these accessors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace host_frame {

// Frame header. The entry array pointer sits at 14; a 64-bit build widens it in
// place, so the entry count after it moves by the extra bytes.
constexpr size_t kSlotListOffset = 0;
constexpr size_t kSlotOffset = 2;
constexpr size_t kMeasureOffset = 6;
constexpr size_t kLayerOffset = 8;
constexpr size_t kReadOnlyOffset = 10;
constexpr size_t kEntriesOffset = 14;
constexpr size_t kEntryCountOffset = kEntriesOffset + sizeof(void*);
constexpr size_t kFrameHeaderSize = kEntryCountOffset + 2;

// Entry record.
constexpr size_t kEntrySize = 146;
constexpr size_t kEntryNumberOffset = 0;
constexpr size_t kEntryValueOffset = 4;
constexpr size_t kEntryFlagsOffset = 8;
constexpr size_t kNoteCountOffset = 14;
constexpr size_t kNotesOffset = 16;
constexpr size_t kPositionOffset = 136;
constexpr size_t kSecondPositionOffset = 140;
constexpr int kMaxNotes = 12;
// A frame counts its entries in 16 signed bits.
constexpr int kMaxEntries = 32767;

constexpr uint32_t kEntryIsNote = 0x40000000;
constexpr uint32_t kEntryIsGrace = 0x00800000;
constexpr uint32_t kEntryNoteAdded = 0x01000000;

// Note record.
constexpr size_t kNoteSize = 10;
constexpr size_t kDisplacementOffset = 0;
constexpr size_t kRaiseLowerOffset = 2;
constexpr size_t kNoteIdOffset = 4;
constexpr size_t kNoteFlagsOffset = 6;

constexpr uint32_t kNoteAccidentalShown = 0x01000000;
constexpr uint32_t kNoteParentheses = 0x00800000;
constexpr uint32_t kNoteTiedFromPrevious = 0x20000000;
constexpr uint32_t kNoteApplied = 0x00000002;
constexpr uint32_t kNoteIdCopyMask = 0x001F0000;
constexpr uint32_t kNotePlaceholder = 0x80000000;

template <typename T>
T Read(const void* base, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(base) + offset, sizeof(T));
  return value;
}

template <typename T>
void Write(void* base, size_t offset, T value) {
  std::memcpy(static_cast<uint8_t*>(base) + offset, &value, sizeof(T));
}

inline uint8_t* FrameEntries(const void* frame) { return Read<uint8_t*>(frame, kEntriesOffset); }
inline void SetFrameEntries(void* frame, uint8_t* entries) { Write(frame, kEntriesOffset, entries); }
inline int16_t FrameEntryCount(const void* frame) { return Read<int16_t>(frame, kEntryCountOffset); }
inline void SetFrameEntryCount(void* frame, int16_t count) { Write(frame, kEntryCountOffset, count); }

inline uint8_t* EntryAt(const void* frame, int index) {
  return FrameEntries(frame) + static_cast<size_t>(index) * kEntrySize;
}

// The number of notes, clamped to the record's room.
inline int NoteCount(const void* entry) {
  int16_t count = Read<int16_t>(entry, kNoteCountOffset);
  if (count < 0) return 0;
  return count > kMaxNotes ? kMaxNotes : count;
}

inline uint8_t* NoteAt(void* entry, int index) {
  return static_cast<uint8_t*>(entry) + kNotesOffset + static_cast<size_t>(index) * kNoteSize;
}

}  // namespace host_frame

// Makes every note ID of every entry in the frame nonzero and unique within
// its entry, copies the ID's low bits into the note flags, clears the unused
// note slots and gives an entry without notes one placeholder note. The host
// expects frames in this state when they are saved.
void NormalizeFrameNoteIds(void* frame);
