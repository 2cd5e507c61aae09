#include "headless/score_builder.h"

namespace headless {

VoiceWriter::VoiceWriter(ScoreBuilder* builder, int16_t staff, int layer, int16_t measure)
    : builder_(builder), staff_(staff), layer_(layer), measure_(measure) {}

uint32_t VoiceWriter::Append(const std::vector<NoteSpec>& notes, int32_t duration, bool grace) {
  uint32_t entry = builder_->AddEntry(staff_, measure_, layer_, position_, duration, notes, grace);
  if (entry == 0 || grace) return entry;
  position_ += duration;
  int32_t length = builder_->MeasureLength(measure_);
  if (length > 0 && position_ >= length) {
    ++measure_;
    position_ = 0;
  }
  return entry;
}

uint32_t VoiceWriter::Note(const char* pitch, int32_t duration) {
  NoteSpec note;
  if (!ParseNoteText(pitch, &note)) return 0;
  return Append({note}, duration, false);
}

uint32_t VoiceWriter::Chord(std::initializer_list<const char*> pitches, int32_t duration) {
  std::vector<std::string> texts;
  for (const char* pitch : pitches) texts.push_back(pitch ? pitch : "");
  return Chord(texts, duration);
}

uint32_t VoiceWriter::Chord(const std::vector<std::string>& pitches, int32_t duration) {
  std::vector<NoteSpec> notes;
  for (const std::string& pitch : pitches) {
    NoteSpec note;
    if (!ParseNoteText(pitch.c_str(), &note)) return 0;
    notes.push_back(note);
  }
  if (notes.empty()) return 0;
  return Append(notes, duration, false);
}

uint32_t VoiceWriter::Rest(int32_t duration) { return Append({}, duration, false); }

uint32_t VoiceWriter::Grace(const char* pitch, int32_t duration) {
  NoteSpec note;
  if (!ParseNoteText(pitch, &note)) return 0;
  return Append({note}, duration, true);
}

void VoiceWriter::NextMeasure() {
  if (position_ == 0) return;
  ++measure_;
  position_ = 0;
}

void VoiceWriter::MoveTo(int16_t measure, int32_t position) {
  measure_ = measure;
  position_ = position;
}

}  // namespace headless
