// The <accidental> child of a <note>: its value for an alteration, and its
// place among the note's children in the order the MusicXML schema gives them.
#pragma once

#include <string>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

class AccidentalElement {
 public:
  // "natural", "sharp", "flat", "double-sharp", "flat-flat", "triple-sharp",
  // "triple-flat"; null for an alteration beyond three semitones.
  static const char* ValueFor(int alteration);

  // The note's <accidental>, created in its schema place when it has none.
  static tinyxml2::XMLElement* FindOrInsert(tinyxml2::XMLElement* note);

  // Makes the note show its accidental for the alteration as a cautionary
  // one, in parentheses when asked (in brackets when brackets is set), in a
  // colour when color is not empty; answers the <accidental>. Null (the note
  // unchanged) when the alteration has no accidental value.
  static tinyxml2::XMLElement* Write(tinyxml2::XMLElement* note, int alteration, bool parentheses,
                                     bool brackets = false, const std::string& color = std::string());
};

}  // namespace musicxml
