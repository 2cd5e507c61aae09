// Reads the measures of one <part> into the import plan: the time each
// <note>, <backup> and <forward> moves to, voices turned into layers per
// staff and measure, chords gathered into entries, grace notes at the
// position of the note that follows them, pitches and keys at concert pitch,
// time signatures per measure and the system breaks the file asks for.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "musicxml/import_plan.h"
#include "musicxml/note_children.h"
#include "musicxml/time_position.h"
#include "musicxml/transposition.h"
#include "musicxml/voice_layers.h"

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

class ImportedScore;

class MusicXmlPartReader {
 public:
  // The part's staves are plan->staves[firstStaff] to [firstStaff + staffCount - 1].
  MusicXmlPartReader(tinyxml2::XMLElement* part, const std::string& partLabel, int firstStaff, int staffCount,
                     ImportPlan* plan, ImportedScore* imported);

  // Appends the part's entries to the plan, fills the measures' lengths and
  // breaks and the keys of the part's staves. The plan has its measures.
  void Read();

  // A score written at concert pitch (<concert-score/>): its <transpose>
  // elements say how the parts would be written and change no pitch.
  void SetConcertScore(bool concertScore) { concertScore_ = concertScore; }

  // The largest <staves> value of the part, at least 1. A value that is no
  // staff count the host can take is left out with a warning.
  static int CountStaves(const tinyxml2::XMLElement* part, const std::string& partLabel,
                         std::vector<std::string>* warnings);
  static int CountMeasures(const tinyxml2::XMLElement* part);

 private:
  void ReadMeasure(tinyxml2::XMLElement* measure, int measureIndex);
  void ReadAttributes(const tinyxml2::XMLElement* attributes);
  void ReadKey(const tinyxml2::XMLElement* key);
  void ReadTranspose(const tinyxml2::XMLElement* transpose);
  // The voices of each staff of the measure, in order of first appearance.
  std::vector<VoiceLayers::StaffVoices> CollectVoices();
  // The staff (1-based) and voice of a note that takes a layer; false for a
  // note that takes none. A staff the part does not have is warned of when
  // warn is set.
  bool StaffAndVoiceOf(const NoteChildren& note, bool warn, int* staffInPart, std::string* voice);
  void StoreKeys(int measureIndex);
  void ReadTime(const tinyxml2::XMLElement* time);
  void ReadNote(const NoteChildren& note);
  void MoveCursor(const tinyxml2::XMLElement* element, bool forward);
  // Layer of a voice on a staff in this measure; 0 when the measure has no
  // layer left for it, which is warned of once when warn is set.
  int LayerOf(int staffInPart, const std::string& voice, bool warn);
  bool ReadNoteSpec(const NoteChildren& note, headless::NoteSpec* spec);
  // The written pitch in spec becomes the sounding one; false when it has none.
  bool ToConcertPitch(int staffInPart, headless::NoteSpec* spec);
  // written: the note's pitch as the file writes it, when that is not the sounding one.
  void AddToEntry(tinyxml2::XMLElement* note, int staffInPart, int layer, int32_t position, int32_t duration,
                  bool grace, bool chord, const headless::NoteSpec* spec, const headless::NoteSpec* written);
  uint64_t TagNote(tinyxml2::XMLElement* note, const headless::NoteSpec* written);
  // A duration read from a <duration>: count and divisions for
  // TimePosition; false when there is none or it cannot be read.
  bool ReadDuration(const tinyxml2::XMLElement* duration, int64_t* count, int64_t* divisions) const;
  // nameStaff: name the staff also in a part of one staff.
  void Warn(const std::string& text, int staffInPart = 0, bool nameStaff = false);

  tinyxml2::XMLElement* part_;
  std::string partLabel_;
  int firstStaff_;
  int staffCount_;
  ImportPlan* plan_;
  ImportedScore* imported_;

  // State across measures
  int64_t divisions_ = 1;
  int32_t timeSignatureLength_ = 0;
  std::vector<KeyState> keys_;         // per staff of the part, in force now
  std::vector<KeyState> pendingKeys_;  // changes inside a measure, in force from the next one
  std::vector<bool> hasPendingKey_;
  std::vector<Transposition> transpositions_;  // per staff of the part, in force now
  bool concertScore_ = false;
  VoiceLayers voiceLayers_;

  // State within the measure being read
  int measureIndex_ = 0;
  TimePosition cursor_;
  TimePosition chordStart_;
  bool chordOpen_ = false;  // a note was read that a <chord/> note can join
  int32_t furthest_ = 0;
  std::vector<size_t> chordEntries_;                     // plan entries of the chord being read
  std::set<std::pair<int, std::string>> droppedVoices_;  // (staff, voice) left out of this measure
  std::vector<NoteChildren> measureNotes_;               // in file order
};

}  // namespace musicxml
