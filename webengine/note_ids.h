// The <note> elements of a score numbered in document order, from 0, rests
// and grace notes included: the numbers by which the page finds a finding's
// note in the score it draws.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

namespace musicxml {
class MusicXmlDocument;
}

namespace webengine {

class NoteIds {
 public:
  // Numbers the <note> elements of document.
  void Number(const tinyxml2::XMLDocument& document);
  // The number of a <note> element of that document; -1 for any other.
  int64_t IndexOf(const tinyxml2::XMLElement* note) const;

  // The document's text in UTF-8 with id="rzn-N" on every <note> (an id it
  // had is replaced), no byte-order mark and a declaration saying UTF-8.
  // False when the text cannot be matched to the document.
  static bool MarkedText(const musicxml::MusicXmlDocument& document, std::string* text);

 private:
  std::unordered_map<const tinyxml2::XMLElement*, int64_t> indexes_;
};

}  // namespace webengine
