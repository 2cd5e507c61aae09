#include "headless/musicxml/xml_source_map.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace musicxml {

namespace {

bool IsNameEnd(char character) {
  return character == ' ' || character == '\t' || character == '\n' || character == '\r' || character == '>' ||
         character == '/';
}

// The position just after the end of a construct that starts at position
// with opener and ends with closer; npos when it does not end.
size_t SkipPast(const std::string& text, size_t position, const char* closer) {
  size_t found = text.find(closer, position);
  return found == std::string::npos ? found : found + std::strlen(closer);
}

// A <!DOCTYPE ...> may hold an internal subset in brackets with its own '>'s.
size_t SkipDeclaration(const std::string& text, size_t position) {
  int brackets = 0;
  char quote = 0;
  for (size_t index = position + 2; index < text.size(); ++index) {
    char character = text[index];
    if (quote) {
      if (character == quote) quote = 0;
    } else if (character == '"' || character == '\'') {
      quote = character;
    } else if (character == '[') {
      ++brackets;
    } else if (character == ']') {
      --brackets;
    } else if (character == '>' && brackets <= 0) {
      return index + 1;
    }
  }
  return std::string::npos;
}

// The position just after a tag's closing '>', skipping quoted attribute values.
size_t SkipTag(const std::string& text, size_t position) {
  char quote = 0;
  for (size_t index = position + 1; index < text.size(); ++index) {
    char character = text[index];
    if (quote) {
      if (character == quote) quote = 0;
    } else if (character == '"' || character == '\'') {
      quote = character;
    } else if (character == '>') {
      return index + 1;
    }
  }
  return std::string::npos;
}

}  // namespace

bool XmlSourceMap::Scan(const std::string& text, std::vector<ScannedElement>* elements) {
  std::vector<size_t> open;
  size_t position = 0;
  while ((position = text.find('<', position)) != std::string::npos) {
    size_t after = std::string::npos;
    if (text.compare(position, 4, "<!--") == 0) {
      after = SkipPast(text, position + 4, "-->");
    } else if (text.compare(position, 9, "<![CDATA[") == 0) {
      after = SkipPast(text, position + 9, "]]>");
    } else if (text.compare(position, 2, "<?") == 0) {
      after = SkipPast(text, position + 2, "?>");
    } else if (text.compare(position, 2, "<!") == 0) {
      after = SkipDeclaration(text, position);
    } else if (text.compare(position, 2, "</") == 0) {
      after = SkipTag(text, position);
      if (after == std::string::npos || open.empty()) return false;
      (*elements)[open.back()].span.end = after;
      open.pop_back();
    } else {
      after = SkipTag(text, position);
      if (after == std::string::npos) return false;
      size_t nameEnd = position + 1;
      while (nameEnd < after && !IsNameEnd(text[nameEnd])) ++nameEnd;
      ScannedElement element;
      element.nameLength = nameEnd - position - 1;
      element.span.start = position;
      element.span.startTagEnd = after;
      bool empty = after >= 2 && text[after - 2] == '/';
      if (empty) element.span.end = after;
      if (!empty) open.push_back(elements->size());
      elements->push_back(element);
    }
    if (after == std::string::npos) return false;
    position = after;
  }
  return open.empty();
}

bool XmlSourceMap::Build(const std::string& text, const tinyxml2::XMLDocument& document) {
  spans_.clear();
  std::vector<ScannedElement> scanned;
  if (!Scan(text, &scanned)) return false;
  spans_.reserve(scanned.size());
  // Both lists are in document order: walk the tree in that order beside them.
  size_t index = 0;
  const tinyxml2::XMLElement* element = document.FirstChildElement();
  while (element) {
    if (index >= scanned.size() || !IsNamed(text, scanned[index], element->Name())) {
      spans_.clear();
      return false;
    }
    spans_.emplace_back(element, scanned[index++].span);
    const tinyxml2::XMLElement* next = element->FirstChildElement();
    while (!next && element) {
      next = element->NextSiblingElement();
      if (!next) {
        const tinyxml2::XMLNode* parent = element->Parent();
        element = parent ? parent->ToElement() : nullptr;
      }
    }
    element = next;
  }
  if (index != scanned.size()) {
    spans_.clear();
    return false;
  }
  std::sort(spans_.begin(), spans_.end(), ByElement);
  return true;
}

bool XmlSourceMap::IsNamed(const std::string& text, const ScannedElement& scanned, const char* name) {
  return std::strlen(name) == scanned.nameLength && text.compare(scanned.span.start + 1, scanned.nameLength, name) == 0;
}

bool XmlSourceMap::ByElement(const std::pair<const tinyxml2::XMLElement*, ElementSpan>& left,
                             const std::pair<const tinyxml2::XMLElement*, ElementSpan>& right) {
  return std::less<const tinyxml2::XMLElement*>()(left.first, right.first);
}

const ElementSpan* XmlSourceMap::Find(const tinyxml2::XMLElement* element) const {
  auto found = std::lower_bound(spans_.begin(), spans_.end(), std::make_pair(element, ElementSpan()), ByElement);
  return found == spans_.end() || found->first != element ? nullptr : &found->second;
}

std::string XmlSourceMap::IndentBefore(const std::string& text, size_t position) {
  size_t start = position;
  while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t')) --start;
  if (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r') return std::string();
  return text.substr(start, position - start);
}

std::string XmlSourceMap::LineBreakBefore(const std::string& text, size_t position) {
  size_t start = position;
  while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t')) --start;
  if (start == 0 || text[start - 1] != '\n') return std::string();
  return start >= 2 && text[start - 2] == '\r' ? "\r\n" : "\n";
}

}  // namespace musicxml
