// One note of an entry: a view of its 10-byte note record, and its spelling.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCKeySignature;
class TCNoteEntry;
class TCString;

class TCNote : public __TCBase {
 public:
  // The record is not owned; it lives in the entry's frame (or in a copy).
  TCNote(TCNoteEntry* entry, int32_t index, uint8_t* record) : index_(index), record_(record), entry_(entry) {}

  const char* ClassName() const override { return "TCNote"; }

  int32_t GetIndex() const { return index_; }
  void SetIndex(int32_t index) { index_ = index; }
  TCNoteEntry* GetEntry() const { return entry_; }
  void SetEntry(TCNoteEntry* entry) { entry_ = entry; }
  const uint8_t* GetRecord() const { return record_; }

  // Diatonic steps from the tonic of the key in force (0: tonic in the octave from middle C).
  int16_t GetDisplacement() const;
  void SetDisplacement(int16_t steps);
  // Semitones relative to what the key signature says.
  int16_t GetRaiseLower() const;
  void SetRaiseLower(int16_t semitones);
  int16_t GetNoteID() const;
  void SetNoteID(int16_t id);
  uint32_t GetFlags() const;
  void SetFlags(uint32_t flags);

  bool IsAccidentalShown() const;  // the record's own flag
  void SetAccidentalShown(bool shown);
  bool IsParenthesized() const;
  void SetParenthesized(bool parenthesized);
  bool IsTiedFromPrevious() const;
  bool IsAppliedMarkSet() const;
  void SetAppliedMark(bool set);

  // Whether the host draws the accidental: the record's flag before 0x12000000,
  // the entry metrics from then on (false when they cannot be had).
  bool IsAccidentalVisible() const;

  // Spelling; a null key means the key in force at the note's cell.
  // Upper-case character code of the letter, 0 for a rest.
  int32_t GetLetter(const TCKeySignature* key = nullptr) const;
  // Semitones from the natural letter; 0 for a rest or a key that is not linear.
  int32_t GetAlteration(const TCKeySignature* key = nullptr) const;
  // Written octave, middle C being in octave 4.
  int32_t GetOctave(const TCKeySignature* key = nullptr) const;
  // Letter, accidental signs and octave, such as "F#4" or "Ebb2"; nothing
  // happens for a null text, a rest gives an empty text.
  void GetPitchName(TCString* text, const TCKeySignature* key = nullptr) const;

 protected:
  void SetRecord(uint8_t* record) { record_ = record; }

 private:
  bool IsInRest() const;
  // The key in force at the note's cell, owned by holder.
  const TCKeySignature* ResolveKey(const TCKeySignature* key, TCKeySignature* holder) const;
  int32_t LetterIndex(const TCKeySignature* key) const;

  int32_t index_;
  uint8_t* record_;
  TCNoteEntry* entry_;
};

// The letter index 0 = A ... 6 = G of a character code, -1 for others.
int32_t LetterIndexOfCharacter(int32_t character);
