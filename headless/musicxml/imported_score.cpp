#include "headless/musicxml/imported_score.h"

namespace musicxml {

uint64_t ImportedScore::AddNoteElement(tinyxml2::XMLElement* element) {
  noteElements_.push_back(element);
  flagsAtImport_.push_back(0);
  return noteElements_.size();
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
