// The children of a <note> that the import reads, found in one walk over
// them. Each element is the first child of its name, as FirstChildElement
// would find it; a long score has hundreds of thousands of notes, and
// looking each child up by name walks the children again every time.
#pragma once

#include <cstdint>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

struct NoteChildren {
  tinyxml2::XMLElement* note = nullptr;
  const tinyxml2::XMLElement* pitch = nullptr;
  const tinyxml2::XMLElement* duration = nullptr;
  const tinyxml2::XMLElement* staff = nullptr;
  const tinyxml2::XMLElement* voice = nullptr;
  const tinyxml2::XMLElement* type = nullptr;
  const tinyxml2::XMLElement* accidental = nullptr;
  bool unpitched = false;
  bool rest = false;
  bool grace = false;
  bool chord = false;
  int dots = 0;
  // <tie type="stop"/>, or only the drawn <tied type="stop"/> in
  // <notations> that some programs write instead.
  bool tiedFromPrevious = false;

  static NoteChildren Read(tinyxml2::XMLElement* note);

  // The written length from <type> and the dots; an eighth without a type.
  int32_t WrittenDuration() const;
};

}  // namespace musicxml
