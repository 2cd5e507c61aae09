#include "shell/host_frame.h"

using namespace host_frame;

namespace {

int16_t NoteId(uint8_t* entry, int index) { return Read<int16_t>(NoteAt(entry, index), kNoteIdOffset); }

bool IdUsedElsewhere(uint8_t* entry, int count, int index, int16_t id) {
  for (int other = 0; other < count; ++other) {
    if (other != index && NoteId(entry, other) == id) return true;
  }
  return false;
}

void NormalizeEntry(uint8_t* entry) {
  int count = NoteCount(entry);
  int16_t highest = 0;
  for (int i = 0; i < count; ++i) {
    if (NoteId(entry, i) > highest) highest = NoteId(entry, i);
  }
  for (int i = 0; i < count; ++i) {
    int16_t id = NoteId(entry, i);
    if (id == 0 || IdUsedElsewhere(entry, count, i, id)) {
      ++highest;
      Write<int16_t>(NoteAt(entry, i), kNoteIdOffset, highest);
    }
  }
  for (int i = 0; i < count; ++i) {
    uint8_t* note = NoteAt(entry, i);
    uint32_t flags = Read<uint32_t>(note, kNoteFlagsOffset) & ~kNoteIdCopyMask;
    flags |= (static_cast<uint32_t>(NoteId(entry, i)) & 0x1F) << 16;
    Write(note, kNoteFlagsOffset, flags);
  }
  for (int i = count; i < kMaxNotes; ++i) std::memset(NoteAt(entry, i), 0, kNoteSize);
  if (count == 0) {
    Write<int16_t>(entry, kNoteCountOffset, 1);
    Write<uint32_t>(NoteAt(entry, 0), kNoteFlagsOffset, kNotePlaceholder);
    uint32_t entryFlags = Read<uint32_t>(entry, kEntryFlagsOffset) | kEntryNoteAdded;
    Write(entry, kEntryFlagsOffset, entryFlags);
  }
}

}  // namespace

void NormalizeFrameNoteIds(void* frame) {
  if (!frame) return;
  int count = FrameEntryCount(frame);
  uint8_t* entries = FrameEntries(frame);
  if (!entries) return;
  for (int i = 0; i < count; ++i) NormalizeEntry(entries + static_cast<size_t>(i) * kEntrySize);
}
