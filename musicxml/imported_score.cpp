#include "musicxml/imported_score.h"

#include <tinyxml2.h>

#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

namespace musicxml {

uint64_t ImportedScore::AddNoteElement(tinyxml2::XMLElement* element) {
  noteElements_.push_back(element);
  flagsAtImport_.push_back(0);
  return noteElements_.size();
}

namespace {

// Pairs the elements of two trees in document order; false when the shapes differ.
bool PairElements(const tinyxml2::XMLElement* from, tinyxml2::XMLElement* to,
                  std::unordered_map<const tinyxml2::XMLElement*, tinyxml2::XMLElement*>* pairs) {
  std::vector<std::pair<const tinyxml2::XMLElement*, tinyxml2::XMLElement*>> pending{{from, to}};
  while (!pending.empty()) {
    auto [left, right] = pending.back();
    pending.pop_back();
    if (!left || !right || std::strcmp(left->Name(), right->Name()) != 0) return false;
    (*pairs)[left] = right;
    const tinyxml2::XMLElement* leftChild = left->FirstChildElement();
    tinyxml2::XMLElement* rightChild = right->FirstChildElement();
    while (leftChild || rightChild) {
      if (!leftChild || !rightChild) return false;
      pending.emplace_back(leftChild, rightChild);
      leftChild = leftChild->NextSiblingElement();
      rightChild = rightChild->NextSiblingElement();
    }
  }
  return true;
}

}  // namespace

bool ImportedScore::MoveToDocument(const tinyxml2::XMLElement* fromRoot, tinyxml2::XMLElement* toRoot) {
  std::unordered_map<const tinyxml2::XMLElement*, tinyxml2::XMLElement*> pairs;
  if (!PairElements(fromRoot, toRoot, &pairs)) return false;
  std::vector<tinyxml2::XMLElement*> moved;
  moved.reserve(noteElements_.size());
  for (tinyxml2::XMLElement* element : noteElements_) {
    auto found = pairs.find(element);
    if (element && found == pairs.end()) return false;
    moved.push_back(element ? found->second : nullptr);
  }
  noteElements_.swap(moved);
  return true;
}

tinyxml2::XMLElement* ImportedScore::NoteElement(uint64_t sourceTag) const {
  if (sourceTag == 0 || sourceTag > noteElements_.size()) return nullptr;
  return noteElements_[sourceTag - 1];
}

uint32_t ImportedScore::FlagsAtImport(uint64_t sourceTag) const {
  if (sourceTag == 0 || sourceTag > flagsAtImport_.size()) return 0;
  return flagsAtImport_[sourceTag - 1];
}

void ImportedScore::SetFlagsAtImport(uint64_t sourceTag, uint32_t flags) {
  if (sourceTag == 0 || sourceTag > flagsAtImport_.size()) return;
  flagsAtImport_[sourceTag - 1] = flags;
}

std::string WrittenPitch::Name() const {
  std::string name(1, letter);
  if (alteration == 2) name += 'x';
  for (int sharp = 0; sharp < alteration && alteration != 2; ++sharp) name += '#';
  for (int flat = 0; flat > alteration; --flat) name += 'b';
  return name + std::to_string(octave);
}

const WrittenPitch* ImportedScore::WrittenPitchOf(uint64_t sourceTag) const {
  auto found = writtenPitches_.find(sourceTag);
  return found == writtenPitches_.end() ? nullptr : &found->second;
}

void ImportedScore::SetWrittenPitch(uint64_t sourceTag, const WrittenPitch& pitch) {
  writtenPitches_[sourceTag] = pitch;
}

std::string ImportedScore::FileMeasureNumber(int32_t measure) const {
  if (measure < 1 || static_cast<size_t>(measure) > measureNumbers.size()) return std::string();
  return measureNumbers[static_cast<size_t>(measure) - 1];
}

const ImportedStaff* ImportedScore::FindStaff(int16_t staffNumber) const {
  for (const ImportedStaff& staff : staves) {
    if (staff.staffNumber == staffNumber) return &staff;
  }
  return nullptr;
}

}  // namespace musicxml
