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
  // from. Elements added since the parse (tinyxml2 gives them no line) are
  // not looked for, so the map can be made after a change. False (and an
  // empty map) when the two do not agree element for element.
  bool Build(const std::string& text, const tinyxml2::XMLDocument& document);
  // Whether Build would succeed, without keeping anything per element.
  static bool Matches(const std::string& text, const tinyxml2::XMLDocument& document);
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
  using Spans = std::vector<std::pair<const tinyxml2::XMLElement*, ElementSpan>>;
  // Reads the tags of text and the elements of document side by side, in
  // document order; spans, when given, receives each element's place.
  static bool Pair(const std::string& text, const tinyxml2::XMLDocument& document, Spans* spans);
  static bool ByElement(const std::pair<const tinyxml2::XMLElement*, ElementSpan>& left,
                        const std::pair<const tinyxml2::XMLElement*, ElementSpan>& right);

  // Sorted by element address, once, when built: one array for the whole
  // document instead of a node per element.
  Spans spans_;
};

}  // namespace musicxml
