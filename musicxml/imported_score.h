// What an import leaves for the later steps: where each host staff and measure
// came from in the file, the <note> element behind every host note, the
// notes' flags as the import left them, and the warnings about what could not
// be taken over.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

struct ImportedStaff {
  int16_t staffNumber = 0;  // the host's
  std::string partId;
  std::string partName;
  int staffInPart = 1;  // 1-based, as <staff> numbers it
  int stavesInPart = 1;
};

// A note's pitch as the file writes it, kept where it is not the sounding one.
struct WrittenPitch {
  char letter = 'C';
  int alteration = 0;
  int octave = 4;

  // "Eb5", as the host names pitches ("x" for a double sharp).
  std::string Name() const;
};

class ImportedScore {
 public:
  // The staves in score order (slot 1 first).
  std::vector<ImportedStaff> staves;
  // The file's number attribute of host measure m at index m - 1.
  std::vector<std::string> measureNumbers;
  std::vector<std::string> warnings;
  int16_t document = 0;

  // A note's source tag is its index here plus one; 0 means no element.
  uint64_t AddNoteElement(tinyxml2::XMLElement* element);
  tinyxml2::XMLElement* NoteElement(uint64_t sourceTag) const;
  size_t NoteElementCount() const { return noteElements_.size(); }

  // The host flags of a tagged note right after the import; 0 for an unknown tag.
  uint32_t FlagsAtImport(uint64_t sourceTag) const;
  void SetFlagsAtImport(uint64_t sourceTag, uint32_t flags);

  // The written pitch of a note of a transposing staff; null for a note
  // written at the pitch it sounds.
  const WrittenPitch* WrittenPitchOf(uint64_t sourceTag) const;
  void SetWrittenPitch(uint64_t sourceTag, const WrittenPitch& pitch);
  bool HasWrittenPitches() const { return !writtenPitches_.empty(); }

  // The same score over another parse of the same text: each note element is
  // replaced by the element at its place in the other document. False, with
  // nothing changed, when the two documents differ in shape.
  bool MoveToDocument(const tinyxml2::XMLElement* fromRoot, tinyxml2::XMLElement* toRoot);

  // The file's number of a host measure, empty when there is none.
  std::string FileMeasureNumber(int32_t measure) const;
  // The imported staff with this host number, or null.
  const ImportedStaff* FindStaff(int16_t staffNumber) const;

 private:
  std::vector<tinyxml2::XMLElement*> noteElements_;
  std::vector<uint32_t> flagsAtImport_;
  std::unordered_map<uint64_t, WrittenPitch> writtenPitches_;
};

}  // namespace musicxml
