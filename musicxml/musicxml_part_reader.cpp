#include "musicxml/musicxml_part_reader.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "musicxml/imported_score.h"
#include "musicxml/xml_values.h"

namespace musicxml {

namespace {

// The host keeps at most this many notes in one entry.
constexpr size_t kMaxNotesPerEntry = 12;
// More staves than this in one part are not taken from a file.
constexpr int64_t kMaxStavesPerPart = 16;
constexpr int64_t kMaxDivisions = int64_t(1) << 24;

bool AttributeIs(const tinyxml2::XMLElement* element, const char* name, const char* value) {
  const char* actual = element->Attribute(name);
  return actual && std::strcmp(actual, value) == 0;
}

// Sum of "3+2"-style beat counts; 0 when the text is not one.
int64_t ReadBeats(const std::string& text) {
  int64_t total = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t plus = text.find('+', start);
    std::string piece = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    int64_t value = 0;
    if (!ParseInteger(piece, 1, 1000, &value)) return 0;
    total += value;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return total;
}

}  // namespace

MusicXmlPartReader::MusicXmlPartReader(tinyxml2::XMLElement* part, const std::string& partLabel, int firstStaff,
                                       int staffCount, ImportPlan* plan, ImportedScore* imported)
    : part_(part),
      partLabel_(partLabel),
      firstStaff_(firstStaff),
      staffCount_(staffCount),
      plan_(plan),
      imported_(imported) {}

int MusicXmlPartReader::CountStaves(const tinyxml2::XMLElement* part, const std::string& partLabel,
                                    std::vector<std::string>* warnings) {
  int64_t staves = 1;
  int measureIndex = 0;
  for (const tinyxml2::XMLElement* measure = part->FirstChildElement("measure"); measure;
       measure = measure->NextSiblingElement("measure"), ++measureIndex) {
    for (const tinyxml2::XMLElement* attributes = measure->FirstChildElement("attributes"); attributes;
         attributes = attributes->NextSiblingElement("attributes")) {
      if (!attributes->FirstChildElement("staves")) continue;
      std::string text = ChildText(attributes, "staves");
      int64_t value = 0;
      bool counted = ParseInteger(text, 1, 1 << 20, &value);
      if (counted) staves = std::max(staves, std::min(value, kMaxStavesPerPart));
      if (counted && value <= kMaxStavesPerPart) continue;
      const char* number = measure->Attribute("number");
      warnings->push_back("part " + partLabel + ", measure " +
                          (number ? std::string(number) : std::to_string(measureIndex + 1)) + ": <staves> \"" + text +
                          (counted
                               ? "\" is more than the " + std::to_string(kMaxStavesPerPart) + " staves read of a part"
                               : "\" is no staff count and is left out"));
    }
  }
  return static_cast<int>(staves);
}

int MusicXmlPartReader::CountMeasures(const tinyxml2::XMLElement* part) {
  int count = 0;
  for (const tinyxml2::XMLElement* measure = part->FirstChildElement("measure"); measure;
       measure = measure->NextSiblingElement("measure")) {
    ++count;
  }
  return count;
}

void MusicXmlPartReader::Read() {
  size_t staves = static_cast<size_t>(staffCount_);
  keys_.assign(staves, KeyState{});
  pendingKeys_.assign(staves, KeyState{});
  hasPendingKey_.assign(staves, false);
  transpositions_.assign(staves, Transposition{});
  voiceLayers_ = VoiceLayers(staffCount_);
  int index = 0;
  int measureCount = static_cast<int>(plan_->measures.size());
  for (tinyxml2::XMLElement* measure = part_->FirstChildElement("measure"); measure && index < measureCount;
       measure = measure->NextSiblingElement("measure")) {
    ReadMeasure(measure, index++);
  }
  // A part that ends early keeps its last keys to the end of the score.
  for (; index < measureCount; ++index) {
    for (size_t staff = 0; staff < staves; ++staff) {
      if (hasPendingKey_[staff]) keys_[staff] = pendingKeys_[staff];
      hasPendingKey_[staff] = false;
    }
    StoreKeys(index);
  }
}

void MusicXmlPartReader::StoreKeys(int measureIndex) {
  for (size_t staff = 0; staff < keys_.size(); ++staff) {
    bool enharmonic = false;
    KeyState concert = concertScore_ ? keys_[staff] : transpositions_[staff].ToConcert(keys_[staff], &enharmonic);
    if (enharmonic) {
      Warn("the written key of " + std::to_string(keys_[staff].fifths) +
               " fifths sounds beyond seven sharps or flats; its enharmonic key of " + std::to_string(concert.fifths) +
               " fifths is used",
           static_cast<int>(staff) + 1);
    }
    plan_->staves[static_cast<size_t>(firstStaff_) + staff].keys[static_cast<size_t>(measureIndex)] = concert;
  }
}

void MusicXmlPartReader::ReadMeasure(tinyxml2::XMLElement* measure, int measureIndex) {
  measureIndex_ = measureIndex;
  PlannedMeasure& planned = plan_->measures[static_cast<size_t>(measureIndex)];
  if (planned.number.empty()) {
    const char* number = measure->Attribute("number");
    planned.number = number && *number ? number : std::to_string(measureIndex + 1);
  }
  if (IsYes(measure, "implicit")) planned.implicit = true;
  for (size_t staff = 0; staff < keys_.size(); ++staff) {
    if (hasPendingKey_[staff]) keys_[staff] = pendingKeys_[staff];
    hasPendingKey_[staff] = false;
  }
  cursor_.Reset();
  chordStart_.Reset();
  furthest_ = 0;
  chordEntries_.clear();
  chordOpen_ = false;
  droppedVoices_.clear();
  measureNotes_.clear();
  for (tinyxml2::XMLElement* note = measure->FirstChildElement("note"); note; note = note->NextSiblingElement("note")) {
    measureNotes_.push_back(NoteChildren::Read(note));
  }
  voiceLayers_.StartMeasure(CollectVoices());
  size_t noteIndex = 0;
  for (tinyxml2::XMLElement* child = measure->FirstChildElement(); child; child = child->NextSiblingElement()) {
    const char* name = child->Name();
    if (std::strcmp(name, "note") == 0) {
      ReadNote(measureNotes_[noteIndex++]);
    } else if (std::strcmp(name, "attributes") == 0) {
      ReadAttributes(child);
    } else if (std::strcmp(name, "backup") == 0) {
      MoveCursor(child, false);
    } else if (std::strcmp(name, "forward") == 0) {
      MoveCursor(child, true);
    } else if (std::strcmp(name, "print") == 0) {
      bool breaks = IsYes(child, "new-system") || IsYes(child, "new-page");
      if (breaks && measureIndex > 0) planned.systemStart = true;
    }
  }
  if (planned.nominalLength == 0) planned.nominalLength = timeSignatureLength_;
  planned.contentLength = std::max(planned.contentLength, furthest_);
  StoreKeys(measureIndex);
}

std::vector<VoiceLayers::StaffVoices> MusicXmlPartReader::CollectVoices() {
  std::vector<VoiceLayers::StaffVoices> voices(static_cast<size_t>(staffCount_));
  for (const NoteChildren& note : measureNotes_) {
    int staff = 0;
    std::string voice;
    if (!StaffAndVoiceOf(note, false, &staff, &voice)) continue;
    VoiceLayers::StaffVoices& staffVoices = voices[static_cast<size_t>(staff) - 1];
    std::vector<std::string>& withNotes = staffVoices.withNotes;
    std::vector<std::string>& restsOnly = staffVoices.restsOnly;
    auto resting = std::find(restsOnly.begin(), restsOnly.end(), voice);
    bool known = resting != restsOnly.end() || std::find(withNotes.begin(), withNotes.end(), voice) != withNotes.end();
    if (note.rest) {
      if (!known) restsOnly.push_back(voice);
    } else if (!known || resting != restsOnly.end()) {
      if (resting != restsOnly.end()) restsOnly.erase(resting);
      withNotes.push_back(voice);
    }
  }
  return voices;
}

bool MusicXmlPartReader::StaffAndVoiceOf(const NoteChildren& note, bool warn, int* staffInPart, std::string* voice) {
  // Hidden notes and unpitched (percussion) notes take time but need no accidentals.
  if (AttributeIs(note.note, "print-object", "no") || note.unpitched) return false;
  if (!note.rest && !note.pitch) return false;
  int64_t staff = 1;
  std::string staffText = TrimmedText(note.staff);
  if (!staffText.empty() && !ParseInteger(staffText, 1, staffCount_, &staff)) {
    if (warn) Warn("a note on staff " + staffText + ", which the part does not have, is left out");
    return false;
  }
  *staffInPart = static_cast<int>(staff);
  *voice = TrimmedText(note.voice);
  if (voice->empty()) *voice = "1";
  return true;
}

void MusicXmlPartReader::ReadAttributes(const tinyxml2::XMLElement* attributes) {
  const tinyxml2::XMLElement* divisions = attributes->FirstChildElement("divisions");
  if (divisions) {
    int64_t value = 0;
    if (ParseInteger(TrimmedText(divisions), 1, kMaxDivisions, &value)) {
      divisions_ = value;
    } else {
      Warn("the divisions \"" + TrimmedText(divisions) + "\" cannot be read; " + std::to_string(divisions_) +
           " stays in force");
    }
  }
  for (const tinyxml2::XMLElement* transpose = attributes->FirstChildElement("transpose"); transpose;
       transpose = transpose->NextSiblingElement("transpose")) {
    ReadTranspose(transpose);
  }
  for (const tinyxml2::XMLElement* key = attributes->FirstChildElement("key"); key;
       key = key->NextSiblingElement("key")) {
    ReadKey(key);
  }
  const tinyxml2::XMLElement* time = attributes->FirstChildElement("time");
  if (time) ReadTime(time);
}

void MusicXmlPartReader::ReadKey(const tinyxml2::XMLElement* key) {
  int64_t staff = 0;
  const char* number = key->Attribute("number");
  if (number && !ParseInteger(number, 1, staffCount_, &staff)) {
    Warn(std::string("a key for staff ") + number + ", which the part does not have, is left out");
    return;
  }
  KeyState state;
  int64_t fifths = 0;
  std::string fifthsText = ChildText(key, "fifths");
  if (!key->FirstChildElement("fifths")) {
    Warn("a key without <fifths> (a non-traditional key) is read as C major", static_cast<int>(staff));
  } else if (!ParseInteger(fifthsText, -7, 7, &fifths)) {
    Warn("the key with fifths \"" + fifthsText + "\" is left out", static_cast<int>(staff));
    return;
  }
  state.fifths = static_cast<int>(fifths);
  state.minor = ChildText(key, "mode") == "minor";
  bool atStart = cursor_.IsZero();
  if (!atStart) Warn("the key change inside the measure counts from the next measure", static_cast<int>(staff));
  for (int index = 0; index < staffCount_; ++index) {
    if (staff != 0 && index != staff - 1) continue;
    size_t slot = static_cast<size_t>(index);
    if (atStart) {
      keys_[slot] = state;
    } else {
      pendingKeys_[slot] = state;
      hasPendingKey_[slot] = true;
    }
  }
}

void MusicXmlPartReader::ReadTranspose(const tinyxml2::XMLElement* transpose) {
  if (concertScore_) return;
  int64_t staff = 0;
  const char* number = transpose->Attribute("number");
  if (number && !ParseInteger(number, 1, staffCount_, &staff)) {
    Warn(std::string("a <transpose> for staff ") + number + ", which the part does not have, is left out");
    return;
  }
  Transposition transposition;
  std::string problem;
  if (!Transposition::Read(transpose, &transposition, &problem)) {
    Warn(problem + " cannot be read; the staff keeps the transposition it had", static_cast<int>(staff));
    return;
  }
  for (int index = 0; index < staffCount_; ++index) {
    if (staff == 0 || index == staff - 1) transpositions_[static_cast<size_t>(index)] = transposition;
  }
}

void MusicXmlPartReader::ReadTime(const tinyxml2::XMLElement* time) {
  if (time->FirstChildElement("senza-misura")) {
    timeSignatureLength_ = 0;
    return;
  }
  // <beats> and <beat-type> come in pairs; several pairs make a composite signature.
  TimePosition length;
  bool read = false;
  for (const tinyxml2::XMLElement* beats = time->FirstChildElement("beats"); beats;
       beats = beats->NextSiblingElement("beats")) {
    const tinyxml2::XMLElement* beatType = beats->NextSiblingElement("beat-type");
    int64_t count = ReadBeats(TrimmedText(beats));
    int64_t type = 0;
    if (!beatType || count == 0 || !ParseInteger(TrimmedText(beatType), 1, 1024, &type)) {
      read = false;
      break;
    }
    // count beats of a 1/type note: count * 4 / type quarters
    read = length.Advance(count * 4, type);
    if (!read) break;
  }
  if (!read) {
    Warn("a time signature that cannot be read is left out");
    return;
  }
  timeSignatureLength_ = length.ToUnits();
}

void MusicXmlPartReader::MoveCursor(const tinyxml2::XMLElement* element, bool forward) {
  chordOpen_ = false;
  chordEntries_.clear();
  int64_t count = 0;
  int64_t divisions = 1;
  if (!ReadDuration(element->FirstChildElement("duration"), &count, &divisions)) {
    Warn(std::string("a <") + element->Name() + "> without a readable duration is left out");
    return;
  }
  if (!cursor_.Advance(forward ? count : -count, divisions)) {
    Warn(forward ? std::string("a <forward> goes beyond what a measure can hold")
                 : std::string("a <backup> goes back past the start of the measure; the voice starts at its start"));
  }
  furthest_ = std::max(furthest_, cursor_.ToUnits());
}

bool MusicXmlPartReader::ReadDuration(const tinyxml2::XMLElement* duration, int64_t* count, int64_t* divisions) const {
  double value = 0;
  if (!duration || !ParseDecimal(TrimmedText(duration), &value) || value < 0) return false;
  // Durations are decimals in the schema; fractions are kept to a thousandth of a division.
  if (value == std::floor(value) && value <= 1e12) {
    *count = static_cast<int64_t>(value);
    *divisions = divisions_;
  } else if (value <= 1e9 && divisions_ <= kMaxDivisions / 1000) {
    *count = static_cast<int64_t>(std::llround(value * 1000));
    *divisions = divisions_ * 1000;
  } else {
    return false;
  }
  return true;
}

void MusicXmlPartReader::ReadNote(const NoteChildren& note) {
  bool grace = note.grace;
  bool chord = note.chord && chordOpen_;
  int64_t count = 0;
  int64_t divisions = 1;
  bool timed = !grace && ReadDuration(note.duration, &count, &divisions);
  TimePosition start = chord ? chordStart_ : cursor_;
  if (!chord) {
    chordStart_ = cursor_;
    chordOpen_ = true;
    chordEntries_.clear();
    if (timed && !cursor_.Advance(count, divisions)) Warn("a note goes beyond what a measure can hold");
    if (!grace && !timed) Warn("a note without a readable duration takes no time");
  }
  furthest_ = std::max(furthest_, cursor_.ToUnits());

  int staff = 0;
  std::string voice;
  if (!StaffAndVoiceOf(note, true, &staff, &voice)) return;
  bool rest = note.rest;
  int layer = LayerOf(staff, voice, !rest);
  if (layer == 0) return;
  int32_t duration = timed ? TimePosition::DurationToUnits(count, divisions) : note.WrittenDuration();
  if (grace || duration < 0) duration = note.WrittenDuration();
  if (rest) {
    if (!chord) AddToEntry(note.note, staff, layer, start.ToUnits(), duration, grace, false, nullptr, nullptr);
    return;
  }
  headless::NoteSpec spec;
  if (!ReadNoteSpec(note, &spec)) return;
  headless::NoteSpec written = spec;
  if (!ToConcertPitch(staff, &spec)) return;
  bool transposed =
      spec.letter != written.letter || spec.alteration != written.alteration || spec.octave != written.octave;
  AddToEntry(note.note, staff, layer, start.ToUnits(), duration, grace, chord, &spec, transposed ? &written : nullptr);
}

int MusicXmlPartReader::LayerOf(int staffInPart, const std::string& voice, bool warn) {
  int layer = voiceLayers_.LayerOf(staffInPart, voice);
  if (layer == 0 && warn && droppedVoices_.insert(std::make_pair(staffInPart, voice)).second) {
    Warn("voice " + voice + " is a fifth voice on the staff in this measure and is left out (the host has four layers)",
         staffInPart, true);
  }
  return layer;
}

bool MusicXmlPartReader::ToConcertPitch(int staffInPart, headless::NoteSpec* spec) {
  const Transposition& transposition = transpositions_[static_cast<size_t>(staffInPart) - 1];
  if (concertScore_ || transposition.IsNone()) return true;
  std::string written = std::string(1, spec->letter) + " altered by " + std::to_string(spec->alteration) +
                        " in octave " + std::to_string(spec->octave);
  if (transposition.ToConcert(spec)) return true;
  Warn("the written note " + written + " has no sounding pitch the host can spell and is left out", staffInPart);
  return false;
}

bool MusicXmlPartReader::ReadNoteSpec(const NoteChildren& note, headless::NoteSpec* spec) {
  const tinyxml2::XMLElement* pitch = note.pitch;
  std::string step = ChildText(pitch, "step");
  int64_t octave = 0;
  if (step.size() != 1 || step[0] < 'A' || step[0] > 'G' || !ParseInteger(ChildText(pitch, "octave"), 0, 9, &octave)) {
    Warn("a note whose pitch cannot be read (step \"" + step + "\", octave \"" + ChildText(pitch, "octave") +
         "\") is left out");
    return false;
  }
  int alteration = 0;
  std::string alterText = ChildText(pitch, "alter");
  if (!alterText.empty()) {
    double alter = 0;
    if (!ParseDecimal(alterText, &alter) || alter < -3.5 || alter > 3.5) {
      Warn("a note with the alteration \"" + alterText + "\" is left out");
      return false;
    }
    alteration = static_cast<int>(std::lround(alter));
    if (alter != alteration) {
      Warn("the microtonal alteration " + alterText + " is read as " + std::to_string(alteration));
    }
  }
  spec->letter = step[0];
  spec->alteration = alteration;
  spec->octave = static_cast<int>(octave);
  spec->flags = 0;
  const tinyxml2::XMLElement* accidental = note.accidental;
  if (accidental && !AttributeIs(accidental, "print-object", "no")) {
    spec->flags |= headless::kAccidentalShownFlag;
    if (IsYes(accidental, "parentheses") || IsYes(accidental, "bracket")) spec->flags |= headless::kParenthesesFlag;
  }
  if (note.tiedFromPrevious) spec->flags |= headless::kTiedFromPreviousFlag;
  return true;
}

uint64_t MusicXmlPartReader::TagNote(tinyxml2::XMLElement* note, const headless::NoteSpec* written) {
  uint64_t tag = imported_->AddNoteElement(note);
  if (written) imported_->SetWrittenPitch(tag, WrittenPitch{written->letter, written->alteration, written->octave});
  return tag;
}

void MusicXmlPartReader::AddToEntry(tinyxml2::XMLElement* note, int staffInPart, int layer, int32_t position,
                                    int32_t duration, bool grace, bool chord, const headless::NoteSpec* spec,
                                    const headless::NoteSpec* written) {
  int staffIndex = firstStaff_ + staffInPart - 1;
  if (chord && spec) {
    for (size_t index : chordEntries_) {
      PlannedEntry& entry = plan_->entries[index];
      if (entry.staffIndex != staffIndex || entry.layer != layer || entry.grace != grace || entry.rest) continue;
      if (entry.notes.size() >= kMaxNotesPerEntry) {
        Warn("a chord of more than twelve notes loses its thirteenth and later notes", staffInPart);
        return;
      }
      entry.notes.push_back(*spec);
      entry.notes.back().sourceTag = TagNote(note, written);
      return;
    }
  }
  PlannedEntry entry;
  entry.staffIndex = staffIndex;
  entry.layer = layer;
  entry.measureIndex = measureIndex_;
  entry.position = position;
  entry.duration = duration;
  entry.grace = grace;
  entry.rest = spec == nullptr;
  if (spec) {
    entry.notes.push_back(*spec);
    entry.notes.back().sourceTag = TagNote(note, written);
  }
  chordEntries_.push_back(plan_->entries.size());
  plan_->entries.push_back(entry);
}

void MusicXmlPartReader::Warn(const std::string& text, int staffInPart, bool nameStaff) {
  std::string where = "part " + partLabel_;
  if (staffInPart > 0 && (staffCount_ > 1 || nameStaff)) where += ", staff " + std::to_string(staffInPart);
  const std::string& number = plan_->measures[static_cast<size_t>(measureIndex_)].number;
  where += ", measure " + (number.empty() ? std::to_string(measureIndex_ + 1) : number);
  std::string warning = where + ": " + text;
  // One mistake repeated note after note is told once.
  if (!imported_->warnings.empty() && imported_->warnings.back() == warning) return;
  imported_->warnings.push_back(warning);
}

}  // namespace musicxml
