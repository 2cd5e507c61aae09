// One entry (note, chord or rest) of a note-entry frame, owning its notes.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_note.h"

class TCNoteEntry : public __TCCollection {
 public:
  // Makes one TCNote per note of the record; the staff comes from the frame's slot.
  TCNoteEntry(uint8_t* entry, void* frame);

  const char* ClassName() const override { return "TCNoteEntry"; }

  // 0 without an entry record.
  uint32_t GetEntryNumber() const;
  int16_t GetMeasure() const { return measure_; }
  int16_t GetStaff() const { return staff_; }
  // 0-based layer index of the frame.
  int16_t GetLayerIndex() const;
  uint32_t GetEntryFlags() const;
  bool IsNote() const;  // a note or chord, not a rest
  bool IsRest() const { return !IsNote(); }
  bool IsGrace() const;
  int32_t GetPosition() const;
  int32_t GetSecondPosition() const;
  int16_t GetEntryValue() const;  // the word at offset 4
  int32_t GetNoteCount() const { return GetCount(); }
  TCNote* GetNoteAt(int32_t index) const { return ItemAs<TCNote>(*this, index); }
  // Index of the entry in its frame's entry array, -1 if it is not there.
  int32_t GetIndexInFrame() const;
  // Whether the frame must not be saved back.
  bool IsInReadOnlyFrame() const;

  uint8_t* GetEntryRecord() const { return entry_; }
  void* GetFrame() const { return frame_; }
  TCNoteEntry* GetPrevious() const { return previous_; }
  TCNoteEntry* GetNext() const { return next_; }
  // Grace entries of the measure directly before this one, through the
  // previous links; counted as the links are made, first entry first, so
  // that a run of thousands of grace notes is not walked for each of them.
  int32_t GetGracesBefore() const { return gracesBefore_; }
  void SetPrevious(TCNoteEntry* entry);
  void SetNext(TCNoteEntry* entry) { next_ = entry; }

 private:
  uint8_t* entry_;
  void* frame_;
  int16_t measure_ = 0;
  int16_t staff_ = 0;
  TCNoteEntry* previous_ = nullptr;
  TCNoteEntry* next_ = nullptr;
  int32_t gracesBefore_ = 0;
};
