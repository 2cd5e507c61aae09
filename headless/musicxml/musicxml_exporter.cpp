#include "headless/musicxml/musicxml_exporter.h"

#include "headless/headless_host.h"
#include "headless/musicxml/accidental_element.h"
#include "headless/musicxml/imported_score.h"
#include "headless/musicxml/musicxml_document.h"
#include "headless/pitch_spelling.h"
#include "headless/score_builder.h"
#include "shell/host_frame.h"

namespace musicxml {

namespace {

// The flag bits that an apply step sets on a note it changes.
constexpr uint32_t kChangeFlags =
    host_frame::kNoteAccidentalShown | host_frame::kNoteParentheses | host_frame::kNoteApplied;

}  // namespace

int MusicXmlExporter::AlterationOf(int16_t displacement, int16_t raiseLower, uint16_t keyValue) {
  int tonic = headless::TonicLetterOf(keyValue);
  if (tonic < 0) return raiseLower;
  int letter = ((tonic + displacement) % 7 + 7) % 7;
  return raiseLower + headless::KeyAlterationOf(keyValue, letter);
}

int MusicXmlExporter::WriteChangedAccidentals(headless::ScoreBuilder* builder, const ImportedScore& imported,
                                              MusicXmlDocument* document, std::vector<std::string>* warnings) {
  int written = 0;
  for (const headless::TaggedNote& tagged : builder->Host().NotesWithTags()) {
    uint32_t added = tagged.note.flags & ~imported.FlagsAtImport(tagged.sourceTag) & kChangeFlags;
    if (added == 0) continue;
    tinyxml2::XMLElement* element = imported.NoteElement(tagged.sourceTag);
    uint16_t key = builder->KeyValueAt(tagged.staff, tagged.measure);
    int alteration = AlterationOf(tagged.note.displacement, tagged.note.raiseLower, key);
    tinyxml2::XMLElement* accidental = AccidentalElement::Write(element, alteration, tagged.note.Parenthesised());
    if (!accidental) {
      warnings->push_back("measure " + imported.FileMeasureNumber(tagged.measure) + ": a note altered by " +
                          std::to_string(alteration) + " semitones cannot be given an accidental");
      continue;
    }
    document->MarkChanged(accidental);
    ++written;
  }
  return written;
}

}  // namespace musicxml
