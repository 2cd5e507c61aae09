// The start tag of an element of the file that a save writes anew. Each
// attribute that still has the value it was read with keeps the text the
// file gave it: an entity reference of the file's own DTD ("&c;") is not one
// the XML library knows, and printed anew it would read "&amp;c;", another
// value.
#pragma once

#include <string>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

class StartTagText {
 public:
  // original: the element's start tag as the file has it; printed: the
  // element as the XML printer writes it now. Answers printed with the
  // unchanged attributes' text taken from original; printed as it is when
  // either tag cannot be read.
  static std::string KeepUnchangedAttributes(const std::string& original, const tinyxml2::XMLElement& element,
                                             const std::string& printed);
};

}  // namespace musicxml
