#include "musicxml/musicxml_exporter.h"

#include <tinyxml2.h>

#include <cstring>
#include <memory>
#include <set>

#include "headless/headless_host.h"
#include "headless/pitch_spelling.h"
#include "headless/score_builder.h"
#include "musicxml/accidental_element.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "shell/host_frame.h"

namespace musicxml {

namespace {

// The flag bits that an apply step sets on a note it changes.
constexpr uint32_t kChangeFlags =
    host_frame::kNoteAccidentalShown | host_frame::kNoteParentheses | host_frame::kNoteApplied;

bool HasIdPrefix(const tinyxml2::XMLElement* element) {
  const char* id = element->Attribute("id");
  return id && std::strncmp(id, MusicXmlExporter::kIdPrefix, std::strlen(MusicXmlExporter::kIdPrefix)) == 0;
}

// Every element of the document in document order, passed to visit.
template <typename Visit>
void VisitElements(tinyxml2::XMLElement* root, Visit visit) {
  std::vector<tinyxml2::XMLElement*> pending{root};
  while (!pending.empty()) {
    tinyxml2::XMLElement* element = pending.back();
    pending.pop_back();
    if (!element) continue;
    visit(element);
    for (tinyxml2::XMLElement* child = element->LastChildElement(); child; child = child->PreviousSiblingElement()) {
      pending.push_back(child);
    }
  }
}

// Hands out the ids "rzacc-1", "rzacc-2", ... that the document does not use yet.
class MarkIds {
 public:
  explicit MarkIds(tinyxml2::XMLElement* root) {
    VisitElements(root, [this](tinyxml2::XMLElement* element) {
      if (HasIdPrefix(element)) used_.insert(element->Attribute("id"));
    });
  }

  std::string Next() {
    std::string id;
    do {
      id = MusicXmlExporter::kIdPrefix + std::to_string(++count_);
    } while (used_.count(id));
    return id;
  }

 private:
  std::set<std::string> used_;
  int count_ = 0;
};

}  // namespace

bool MusicXmlExporter::IsColor(const std::string& text) {
  if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return false;
  return text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
}

int MusicXmlExporter::RemoveMarkedAccidentals(MusicXmlDocument* document) {
  std::vector<tinyxml2::XMLElement*> marked;
  VisitElements(document->Score(), [&marked](tinyxml2::XMLElement* element) {
    if (std::strcmp(element->Name(), "accidental") == 0 && HasIdPrefix(element)) marked.push_back(element);
  });
  for (tinyxml2::XMLElement* accidental : marked) {
    if (!document->MarkRemoved(accidental)) return -1;
  }
  return static_cast<int>(marked.size());
}

int MusicXmlExporter::AlterationOf(int16_t displacement, int16_t raiseLower, uint16_t keyValue) {
  int tonic = headless::TonicLetterOf(keyValue);
  if (tonic < 0) return raiseLower;
  int letter = ((tonic + displacement) % 7 + 7) % 7;
  return raiseLower + headless::KeyAlterationOf(keyValue, letter);
}

int MusicXmlExporter::WriteChangedAccidentals(headless::ScoreBuilder* builder, const ImportedScore& imported,
                                              MusicXmlDocument* document, std::vector<std::string>* warnings,
                                              const AccidentalStyle& style, std::set<NoteAddress>* unwritten) {
  int written = 0;
  std::unique_ptr<MarkIds> ids;
  if (style.markAdded) ids.reset(new MarkIds(document->Score()));
  for (const headless::TaggedNote& tagged : builder->Host().Queries().NotesWithTags()) {
    uint32_t added = tagged.note.flags & ~imported.FlagsAtImport(tagged.sourceTag) & kChangeFlags;
    if (added == 0) continue;
    tinyxml2::XMLElement* element = imported.NoteElement(tagged.sourceTag);
    const WrittenPitch* writtenPitch = imported.WrittenPitchOf(tagged.sourceTag);
    uint16_t key = builder->KeyValueAt(tagged.staff, tagged.measure);
    int alteration =
        writtenPitch ? writtenPitch->alteration : AlterationOf(tagged.note.displacement, tagged.note.raiseLower, key);
    bool created = element && !element->FirstChildElement("accidental");
    tinyxml2::XMLElement* accidental =
        AccidentalElement::Write(element, alteration, tagged.note.Parenthesised(), style.brackets, style.color);
    if (!accidental) {
      warnings->push_back("measure " + imported.FileMeasureNumber(tagged.measure) + ": a note altered by " +
                          std::to_string(alteration) + " semitones cannot be given an accidental");
      if (unwritten) unwritten->insert(NoteAddress(tagged.entryNumber, tagged.noteIndex));
      continue;
    }
    // Only an accidental this program added is marked: taking out one the
    // file had would not give the file back.
    if (ids && created) accidental->SetAttribute("id", ids->Next().c_str());
    document->MarkChanged(accidental);
    ++written;
  }
  return written;
}

}  // namespace musicxml
