// Filling a group's memory from note-entry cells and searching it backwards.
// Every comparison works on the pitch names made when the entries were
// collected ("F#4", "Bb3", "Gx4"), by exact equality of code units.
#pragma once

#include <cstdint>
#include <vector>

class TCAnalyzeEntryCollection;
class TCKeySignature;
class TCNoteEntry;
class TCNoteEntryCell;
class TCNotePitch;
class TCNotePitches;
class TCNotePitchFoundInfo;
class TCString;
struct AnalysisSettings;

// No chord line: every note of an entry is a candidate.
constexpr int32_t kAnyChordLine = -1;

// An analysed copy of an entry: its notes with their pitch names in the key
// given, and where the entry stood. Null for a rest. Owned by the caller.
TCNotePitches* BuildAnalyzedEntry(TCNoteEntry* entry, const TCKeySignature* key);

// Appends the note entries of a loaded cell whose layer is in the layer mask
// (bit n: layer n + 1) and whose staff is not marked hidden at the entry.
// Answers the number appended.
int32_t CollectCellEntries(uint32_t layerMask, TCNoteEntryCell* cell, TCAnalyzeEntryCollection* collection);
// The same into a list that a group is collected in before it becomes a
// collection (TCAnalyzeEntryCollection::AddEntries); the caller owns the entries.
int32_t CollectCellEntries(uint32_t layerMask, TCNoteEntryCell* cell, std::vector<TCNotePitches*>* entries);
// One entry of the cell as the collecting above takes it: null when it is left out.
TCNotePitches* BuildCollectedEntry(uint32_t layerMask, TCNoteEntry* entry, TCNoteEntryCell* cell);

// The note of the entry with the same letter as the note (and, with
// independent octaves, the same octave); with a chord line, a chord is matched
// only through its note on that line. Null when there is none.
const TCNotePitch* FindMatchingNote(const TCNotePitch* note, const TCNotePitches* entry, int32_t chordLine,
                                    bool independentOctaves);

// The searches below use the collection's index, or walk the whole
// collection when it is made for that (TCAnalyzeEntryCollection::UsesIndex).

// The latest note of the same letter at or before the entry; among equal
// candidates the one collected first. A grace entry never wins over a
// non-grace entry of the same measure.
bool FindPreviousPitch(const TCNotePitch* note, const TCNotePitches* entry, const TCAnalyzeEntryCollection* collection,
                       bool independentOctaves, TCNotePitchFoundInfo* found);
// The same through one chord line, without the grace rule.
bool FindPreviousChordLinePitch(const TCNotePitch* note, const TCNotePitches* entry,
                                const TCAnalyzeEntryCollection* collection, int32_t chordLine, bool independentOctaves,
                                TCNotePitchFoundInfo* found);

// The first note on the same beat as the note (the same entry, or one at the
// same measure, grace state and position, and place in a run of grace notes)
// with the same letter and other accidental signs, in collection order.
bool FindSpellingDifferenceOnBeat(const TCNotePitch* note, const TCNotePitches* entry,
                                  const TCAnalyzeEntryCollection* collection, TCNotePitchFoundInfo* found);

// Whether a note of the earlier entry still counts for the current one: within
// the courtesy range, and with the rule kNextMeasureUpToBeat, from an earlier
// measure only from the one before and up to the end of the beat where it stood.
bool IsWithinCourtesyRange(const TCNotePitches* earlier, const TCNotePitches* current,
                           const TCAnalyzeEntryCollection* collection, const AnalysisSettings& settings);

// Pitch-name helpers of the decisions.
// Equal once every "#", "b" and "x" is left out of both (letter and octave).
bool IsSameLetterAndOctave(const TCString* first, const TCString* second);
// Equal once the trailing octave digits are left out of both.
bool IsSameSpelling(const TCString* first, const TCString* second);
// What remains after the letter and every "#", "b" and "x": the octave.
bool IsSameOctave(const TCString* first, const TCString* second);
// The first code unit, 0 for a null or empty name.
char16_t FirstCharacter(const TCString* name);
