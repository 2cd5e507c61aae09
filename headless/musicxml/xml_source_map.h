// Where each element of a parsed document stands in the text it was parsed
// from, so that a changed document can be written as the original text with
// only the changed pieces replaced: indentation, entities, comments and white
// space stay byte for byte as the file had them.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

namespace musicxml {

struct ElementSpan {
  size_t start = 0;        // the '<' of the start tag
  size_t startTagEnd = 0;  // just after the start tag's '>'
  size_t end = 0;          // just after the end tag's '>' (or the empty tag's)
};

class XmlSourceMap {
 public:
  // Finds every element of document in text, which document was parsed
  // from. False (and an empty map) when the two do not agree element for
  // element.
  bool Build(const std::string& text, const tinyxml2::XMLDocument& document);
  void Clear() { spans_.clear(); }

  // The element's place in the text; null for an element added since.
  const ElementSpan* Find(const tinyxml2::XMLElement* element) const;

  // The white space from the start of the line up to position, when only
  // white space stands there; empty otherwise.
  static std::string IndentBefore(const std::string& text, size_t position);
  // The line break that ends the line before that indentation ("\r\n" or
  // "\n"); empty when position does not start a line.
  static std::string LineBreakBefore(const std::string& text, size_t position);

 private:
  struct ScannedElement {
    size_t nameLength = 0;  // the name starts just after the span's '<'
    ElementSpan span;
  };
  static bool Scan(const std::string& text, std::vector<ScannedElement>* elements);
  static bool IsNamed(const std::string& text, const ScannedElement& scanned, const char* name);
  static bool ByElement(const std::pair<const tinyxml2::XMLElement*, ElementSpan>& left,
                        const std::pair<const tinyxml2::XMLElement*, ElementSpan>& right);

  // Sorted by element address, once, when built: one array for the whole
  // document instead of a node per element.
  std::vector<std::pair<const tinyxml2::XMLElement*, ElementSpan>> spans_;
};

}  // namespace musicxml
