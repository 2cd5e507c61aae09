// Builds scores into the headless host's current document, for tests,
// examples and importers. Staff numbers start at 11 so that they never equal
// their slots; durations are in the host's units, 1024 per quarter note.
//
// Pitches are spelled as text: letter A-G, then "#" (repeatable), "x" (double
// sharp), "b" (repeatable) or "n", then the octave (4 holds middle C). A
// leading "~" ties the note from the previous note; a trailing "!" shows the
// accidental, "(!)" shows it in parentheses. The builder computes the
// displacement and raise/lower from the spelling and the key in force at the
// cell, so set keys (SetKey, SetCellKey, SetGeneralPrefsOctaveValue) before
// adding the entries they govern.
//
//   headless::ScoreBuilder builder;
//   int16_t flute = builder.AddStaff("Flute");
//   builder.AddMeasures(4);
//   builder.SetKey(1, 2);  // D major
//   auto voice = builder.Voice(flute);
//   voice.Note("F#4", headless::kQuarter);  // raise/lower 0
//   voice.Note("F4", headless::kQuarter);   // raise/lower -1
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace headless {

class HeadlessHost;
class Document;
class ScoreBuilder;

constexpr int32_t kQuarter = 1024;
constexpr int32_t kWhole = 4 * kQuarter;
constexpr int32_t kHalf = 2 * kQuarter;
constexpr int32_t kEighth = kQuarter / 2;
constexpr int32_t kSixteenth = kQuarter / 4;
constexpr int16_t kFirstStaffNumber = 11;

// Note flag bits the builder sets from the modifiers of the note text.
constexpr uint32_t kAccidentalShownFlag = 0x01000000;
constexpr uint32_t kParenthesesFlag = 0x00800000;
constexpr uint32_t kTiedFromPreviousFlag = 0x20000000;

// A spelled note for importers: letter 'A'-'G', alteration in semitones
// (+1 sharp, -1 flat), octave (4 holds middle C), note flag bits to set
// (kAccidentalShownFlag, ...), and an opaque tag kept with the note.
struct NoteSpec {
  char letter = 'C';
  int alteration = 0;
  int octave = 4;
  uint32_t flags = 0;
  uint64_t sourceTag = 0;
};

// Reads a note text ("~F#4(!)") into a spec; false when it is not one.
bool ParseNoteText(const char* text, NoteSpec* spec);

// Appends entries to one layer of one staff at a running position. A measure
// that is filled moves the writer to the start of the next measure.
class VoiceWriter {
 public:
  VoiceWriter(ScoreBuilder* builder, int16_t staff, int layer, int16_t measure);

  // Each answers the entry number (unique in the document), 0 when the text is
  // not a note or the measure does not exist.
  uint32_t Note(const char* pitch, int32_t duration);
  uint32_t Chord(std::initializer_list<const char*> pitches, int32_t duration);
  uint32_t Chord(const std::vector<std::string>& pitches, int32_t duration);
  uint32_t Rest(int32_t duration);
  // A grace note at the running position; it takes no time.
  uint32_t Grace(const char* pitch, int32_t duration = kEighth);
  // Moves to the start of the next measure unless already at the start of one.
  void NextMeasure();
  void MoveTo(int16_t measure, int32_t position);
  int16_t Measure() const { return measure_; }
  int32_t Position() const { return position_; }

 private:
  uint32_t Append(const std::vector<NoteSpec>& notes, int32_t duration, bool grace);

  ScoreBuilder* builder_;
  int16_t staff_;
  int layer_;
  int16_t measure_;
  int32_t position_ = 0;
};

class ScoreBuilder {
 public:
  // Builds into the host's current document at first use, making a new one
  // when there is none; keeps that document afterwards. A builder made before
  // the host is reset (a fixture member) therefore builds into the new host.
  ScoreBuilder();
  explicit ScoreBuilder(HeadlessHost& host);

  int16_t DocumentId() const;

  // ---- Staves --------------------------------------------------------------
  // A new staff at the end of the score's slot order (and of no linked part).
  // The name (UTF-8, may hold host tags such as "^flat()" or "^font(Times)")
  // is stored as a text block with its raw text. Answers the staff number.
  int16_t AddStaff(const char* fullName);
  // The score's slot order, every staff once (staff numbers, slot 1 first).
  bool SetSlotOrder(const std::vector<int16_t>& staves);
  // The 16-bit flags word at offset 10 of the staff record (bits 0x2000, 0x0200, ...).
  bool SetStaffFlags(int16_t staff, uint16_t flags);
  // The flags word that the staff specification at a position answers within one measure.
  bool SetStaffFlagsInMeasure(int16_t staff, int16_t measure, uint16_t flags);
  // The two 16-bit words at offsets 94 and 98 of the staff record.
  bool SetStaffVersionWords(int16_t staff, uint16_t firstWord, uint16_t secondWord);

  // ---- Measures and keys ---------------------------------------------------
  // Appends measures (4/4 unless length says otherwise); answers the first new measure number.
  int16_t AddMeasures(int count, int32_t length = kWhole);
  bool SetMeasureLength(int16_t measure, int32_t length);
  int32_t MeasureLength(int16_t measure) const;
  int16_t MeasureCount() const;
  // Key in force from this measure until the next change: fifths > 0 sharps, < 0 flats.
  bool SetKey(int16_t measure, int fifths, bool minor = false);
  struct KeyChange {
    int16_t measure;
    int fifths;
    bool minor;
  };
  // Every change at once, as SetKey one after the other would set them (a
  // change that SetKey would refuse is left out), in one pass over the
  // measures rather than one pass for each change. False when one was left out.
  bool SetKeys(const std::vector<KeyChange>& changes);
  // An independent key for one cell (staff word 22 negative, cell detail with flag 0x0800).
  bool SetCellKey(int16_t staff, int16_t measure, int fifths, bool minor = false);
  // The host's key value in force at a cell (cell key when set, else the measure's).
  uint16_t KeyValueAt(int16_t staff, int16_t measure) const;
  // The per-measure 16-bit value at offset 6 of the newer measure layout (host 0x12000000 on).
  bool SetMeasureFlagValue(int16_t measure, int16_t value);
  // The general preferences value at offset 40 (semitones; shifts the written octave by value / 12).
  bool SetGeneralPrefsOctaveValue(int16_t value);

  // ---- Instruments, groups, parts -----------------------------------------
  // A multi-staff instrument (2 or 3 existing staves) with its group "SDNG"
  // (bracket kind 3, value 1 at 32, name). Answers the instrument number, 0 on failure.
  int16_t AddInstrument(const std::vector<int16_t>& staves, const char* groupName);
  // A staff group from first to last staff (detail address (0, group number, 0));
  // grandStaffValue is the 32-bit value at offset 32 (1 for the groups of
  // grand staves). Answers the group number, 0 on failure.
  int16_t AddGroup(int16_t firstStaff, int16_t lastStaff, const char* name, int16_t bracketKind = 3,
                   int32_t grandStaffValue = 0);
  // A linked part showing these staves in this slot order; answers its part id (1, 2, ...).
  int16_t AddPart(const char* name, const std::vector<int16_t>& staves);

  // ---- Layout --------------------------------------------------------------
  // Measures per system in every part without its own system starts (default 4).
  bool SetMeasuresPerSystem(int count);
  // A part's own system breaks: the first measures of its systems (ascending, first is 1).
  bool SetSystemStarts(int16_t part, const std::vector<int16_t>& firstMeasures);
  // When true, the staff systems read first measure 0 until TX_UpdateLayout lays them out.
  void SetUnlaidSystems(bool unlaid);

  // ---- Entries -------------------------------------------------------------
  // A writer for layer 1-4 of a staff, starting at a measure.
  VoiceWriter Voice(int16_t staff, int layer = 1, int16_t measure = 1);
  // An entry at a position: no notes makes a rest. Entries of a cell stay in
  // position order; entries at one position keep the order they were added in.
  // Answers the entry number, 0 on failure.
  uint32_t AddEntry(int16_t staff, int16_t measure, int layer, int32_t position, int32_t duration,
                    const std::vector<NoteSpec>& notes, bool grace = false);

  HeadlessHost& Host() { return *host_; }

 private:
  Document* Data() const;
  void LayOut();

  HeadlessHost* host_;
  mutable int16_t document_ = 0;
};

}  // namespace headless
