#include "webengine/note_ids.h"

#include <tinyxml2.h>

#include <cstring>
#include <functional>

#include "musicxml/musicxml_document.h"
#include "musicxml/xml_source_map.h"

namespace webengine {

namespace {

// Every element of the document in document order, without recursion.
void VisitElements(const tinyxml2::XMLDocument& document,
                   const std::function<void(const tinyxml2::XMLElement*)>& visit) {
  const tinyxml2::XMLElement* element = document.RootElement();
  while (element) {
    visit(element);
    if (const tinyxml2::XMLElement* child = element->FirstChildElement()) {
      element = child;
      continue;
    }
    while (element && !element->NextSiblingElement()) {
      const tinyxml2::XMLNode* parent = element->Parent();
      element = parent ? parent->ToElement() : nullptr;
    }
    if (element) element = element->NextSiblingElement();
  }
}

bool IsNameCharacter(char c) { return c != '=' && c != '>' && c != '/' && !std::strchr(" \t\r\n", c); }

size_t SkipSpace(const std::string& tag, size_t position) {
  while (position < tag.size() && std::strchr(" \t\r\n", tag[position]) && tag[position] != '\0') ++position;
  return position;
}

// The start tag with its id attribute (and the space before it) taken out.
std::string WithoutId(const std::string& tag) {
  size_t position = 1;
  while (position < tag.size() && IsNameCharacter(tag[position])) ++position;
  while (position < tag.size()) {
    size_t attributeStart = position;
    size_t nameStart = SkipSpace(tag, position);
    size_t nameEnd = nameStart;
    while (nameEnd < tag.size() && IsNameCharacter(tag[nameEnd])) ++nameEnd;
    if (nameEnd == nameStart) break;
    size_t equals = SkipSpace(tag, nameEnd);
    if (equals >= tag.size() || tag[equals] != '=') break;
    size_t quote = SkipSpace(tag, equals + 1);
    if (quote >= tag.size() || (tag[quote] != '"' && tag[quote] != '\'')) break;
    size_t close = tag.find(tag[quote], quote + 1);
    if (close == std::string::npos) break;
    position = close + 1;
    if (tag.compare(nameStart, nameEnd - nameStart, "id") == 0) {
      return tag.substr(0, attributeStart) + tag.substr(position);
    }
  }
  return tag;
}

// The XML declaration at the start of text made to say UTF-8; a file read
// in another encoding still declares that one.
void DeclareUtf8(std::string* text) {
  if (text->compare(0, 5, "<?xml") != 0) return;
  size_t end = text->find("?>");
  size_t encoding = text->find("encoding", 5);
  if (end == std::string::npos || encoding == std::string::npos || encoding > end) return;
  size_t quote = text->find_first_of("\"'", encoding);
  if (quote == std::string::npos || quote > end) return;
  size_t close = text->find((*text)[quote], quote + 1);
  if (close == std::string::npos || close > end) return;
  text->replace(quote + 1, close - quote - 1, "UTF-8");
}

}  // namespace

void NoteIds::Number(const tinyxml2::XMLDocument& document) {
  indexes_.clear();
  VisitElements(document, [this](const tinyxml2::XMLElement* element) {
    if (std::strcmp(element->Name(), "note") == 0) indexes_.emplace(element, static_cast<int64_t>(indexes_.size()));
  });
}

int64_t NoteIds::IndexOf(const tinyxml2::XMLElement* note) const {
  auto found = indexes_.find(note);
  return found == indexes_.end() ? -1 : found->second;
}

bool NoteIds::MarkedText(const musicxml::MusicXmlDocument& document, std::string* text) {
  std::string source;
  musicxml::XmlSourceMap map;
  if (!document.SavedText(&source) || !map.Build(source, document.Xml())) return false;
  text->clear();
  text->reserve(source.size() + source.size() / 8);
  size_t copied = 0;
  int64_t index = 0;
  bool matched = true;
  VisitElements(document.Xml(), [&](const tinyxml2::XMLElement* element) {
    if (std::strcmp(element->Name(), "note") != 0) return;
    const musicxml::ElementSpan* span = map.Find(element);
    if (!span || span->start < copied) {
      matched = false;
      return;
    }
    std::string tag = WithoutId(source.substr(span->start, span->startTagEnd - span->start));
    text->append(source, copied, span->start - copied);
    text->append("<note id=\"rzn-" + std::to_string(index++) + "\"");
    text->append(tag, 5, std::string::npos);
    copied = span->startTagEnd;
  });
  if (!matched) return false;
  text->append(source, copied, std::string::npos);
  if (text->compare(0, 3, "\xEF\xBB\xBF") == 0) text->erase(0, 3);
  DeclareUtf8(text);
  return true;
}

}  // namespace webengine
