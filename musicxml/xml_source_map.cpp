#include "musicxml/xml_source_map.h"

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

// One construct of the text that starts with '<'.
struct Tag {
  enum class Kind { Other, Start, Empty, End };
  Kind kind = Kind::Other;
  size_t after = std::string::npos;  // just after its end; npos when it does not end
  size_t nameLength = 0;             // of a start tag; the name starts after the '<'
};

Tag ReadTag(const std::string& text, size_t position) {
  Tag tag;
  char second = position + 1 < text.size() ? text[position + 1] : '\0';
  if (second != '!' && second != '?') {
    tag.after = SkipTag(text, position);
    tag.kind = second == '/' ? Tag::Kind::End : Tag::Kind::Start;
  } else if (text.compare(position, 4, "<!--") == 0) {
    tag.after = SkipPast(text, position + 4, "-->");
  } else if (text.compare(position, 9, "<![CDATA[") == 0) {
    tag.after = SkipPast(text, position + 9, "]]>");
  } else if (second == '?') {
    tag.after = SkipPast(text, position + 2, "?>");
  } else {
    tag.after = SkipDeclaration(text, position);
  }
  if (tag.kind != Tag::Kind::Start || tag.after == std::string::npos) return tag;
  size_t nameEnd = position + 1;
  while (nameEnd < tag.after && !IsNameEnd(text[nameEnd])) ++nameEnd;
  tag.nameLength = nameEnd - position - 1;
  if (tag.after >= 2 && text[tag.after - 2] == '/') tag.kind = Tag::Kind::Empty;
  return tag;
}

bool IsNamed(const std::string& text, size_t position, const Tag& tag, const char* name) {
  return std::strlen(name) == tag.nameLength && text.compare(position + 1, tag.nameLength, name) == 0;
}

// The first of element and its next siblings that the parse made.
const tinyxml2::XMLElement* ParsedFrom(const tinyxml2::XMLElement* element) {
  while (element && element->GetLineNum() == 0) element = element->NextSiblingElement();
  return element;
}

// The parsed element after element in document order, or null.
const tinyxml2::XMLElement* NextParsed(const tinyxml2::XMLElement* element) {
  const tinyxml2::XMLElement* next = ParsedFrom(element->FirstChildElement());
  while (!next && element) {
    next = ParsedFrom(element->NextSiblingElement());
    const tinyxml2::XMLNode* parent = element->Parent();
    element = parent ? parent->ToElement() : nullptr;
  }
  return next;
}

}  // namespace

bool XmlSourceMap::Pair(const std::string& text, const tinyxml2::XMLDocument& document, Spans* spans) {
  std::vector<size_t> open;  // the elements whose end tag is still to come
  const tinyxml2::XMLElement* element = ParsedFrom(document.FirstChildElement());
  size_t position = 0;
  while ((position = text.find('<', position)) != std::string::npos) {
    Tag tag = ReadTag(text, position);
    if (tag.after == std::string::npos) return false;
    if (tag.kind == Tag::Kind::End) {
      if (open.empty()) return false;
      if (spans) (*spans)[open.back()].second.end = tag.after;
      open.pop_back();
    } else if (tag.kind != Tag::Kind::Other) {
      if (!element || !IsNamed(text, position, tag, element->Name())) return false;
      bool empty = tag.kind == Tag::Kind::Empty;
      if (!empty) open.push_back(spans ? spans->size() : 0);
      if (spans) spans->emplace_back(element, ElementSpan{position, tag.after, empty ? tag.after : 0});
      element = NextParsed(element);
    }
    position = tag.after;
  }
  return open.empty() && !element;
}

bool XmlSourceMap::Build(const std::string& text, const tinyxml2::XMLDocument& document) {
  spans_.clear();
  if (!Pair(text, document, &spans_)) {
    spans_.clear();
    return false;
  }
  std::sort(spans_.begin(), spans_.end(), ByElement);
  return true;
}

bool XmlSourceMap::Matches(const std::string& text, const tinyxml2::XMLDocument& document) {
  return Pair(text, document, nullptr);
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
