// A <transpose> of a part or staff: what must be added to a written pitch to
// get the sounding one. The host keeps every note at sounding pitch, so the
// importer turns written pitches and keys into concert ones with it.
#pragma once

#include <string>

#include "musicxml/import_plan.h"

namespace tinyxml2 {
class XMLElement;
}

namespace headless {
struct NoteSpec;
}

namespace musicxml {

struct Transposition {
  int diatonic = 0;      // letter steps
  int chromatic = 0;     // semitones
  int octaveChange = 0;  // whole octaves on top of both
  // <double/>: an octave doubling of each note. A doubled note has the letter
  // and alteration of the note itself, so it changes no comparison of the
  // analysis and is not added.
  bool doubled = false;

  bool IsNone() const { return diatonic == 0 && chromatic == 0 && octaveChange == 0; }

  // Reads a <transpose>; false with the reason when its values cannot be read.
  static bool Read(const tinyxml2::XMLElement* transpose, Transposition* transposition, std::string* problem);

  // Turns a written pitch into the sounding one; false, the note unchanged,
  // when the sounding pitch has no spelling the host takes.
  bool ToConcert(headless::NoteSpec* spec) const;

  // The sounding key of a written key signature; a key beyond seven sharps or
  // flats becomes its enharmonic equivalent, and enharmonic is then set.
  KeyState ToConcert(const KeyState& written, bool* enharmonic) const;
};

}  // namespace musicxml
