#include "musicxml/start_tag_text.h"

#include <tinyxml2.h>

#include <cstring>
#include <vector>

namespace musicxml {

namespace {

struct AttributeText {
  std::string name;
  std::string text;  // as written, with the white space before it
};

struct TagText {
  size_t nameEnd = 0;
  std::vector<AttributeText> attributes;
  size_t attributesEnd = 0;  // where the "/>" or ">" begins, white space included
  size_t end = 0;            // just after the tag's '>'
};

bool IsSpace(char character) { return character == ' ' || character == '\t' || character == '\r' || character == '\n'; }

size_t SkipSpace(const std::string& text, size_t position) {
  while (position < text.size() && IsSpace(text[position])) ++position;
  return position;
}

// Reads one attribute from position (white space before it included);
// false at the end of the attributes or on text that is not one.
bool ReadAttribute(const std::string& text, size_t* position, AttributeText* attribute) {
  size_t start = *position;
  size_t name = SkipSpace(text, start);
  size_t nameEnd = name;
  while (nameEnd < text.size() && !IsSpace(text[nameEnd]) && std::strchr("=/>", text[nameEnd]) == nullptr) ++nameEnd;
  if (nameEnd == name) return false;
  size_t equals = SkipSpace(text, nameEnd);
  if (equals >= text.size() || text[equals] != '=') return false;
  size_t quote = SkipSpace(text, equals + 1);
  if (quote >= text.size() || (text[quote] != '"' && text[quote] != '\'')) return false;
  size_t close = text.find(text[quote], quote + 1);
  if (close == std::string::npos) return false;
  attribute->name = text.substr(name, nameEnd - name);
  attribute->text = text.substr(start, close + 1 - start);
  *position = close + 1;
  return true;
}

// The attributes of the start tag at the beginning of text.
bool ReadTag(const std::string& text, TagText* tag) {
  if (text.empty() || text[0] != '<') return false;
  size_t position = 1;
  while (position < text.size() && !IsSpace(text[position]) && std::strchr("/>", text[position]) == nullptr) {
    ++position;
  }
  tag->nameEnd = position;
  AttributeText attribute;
  while (ReadAttribute(text, &position, &attribute)) tag->attributes.push_back(attribute);
  tag->attributesEnd = position;
  size_t close = SkipSpace(text, position);
  if (close < text.size() && text[close] == '/') ++close;
  if (close >= text.size() || text[close] != '>') return false;
  tag->end = close + 1;
  return true;
}

const AttributeText* Find(const TagText& tag, const std::string& name) {
  for (const AttributeText& attribute : tag.attributes) {
    if (attribute.name == name) return &attribute;
  }
  return nullptr;
}

}  // namespace

std::string StartTagText::KeepUnchangedAttributes(const std::string& original, const tinyxml2::XMLElement& element,
                                                  const std::string& printed) {
  TagText was;
  TagText now;
  if (!ReadTag(original, &was) || !ReadTag(printed, &now)) return printed;
  // The values the file's text gave, read as the document read them.
  std::string empty = original.substr(0, was.attributesEnd) + "/>";
  tinyxml2::XMLDocument parsed;
  if (parsed.Parse(empty.data(), empty.size()) != tinyxml2::XML_SUCCESS || !parsed.RootElement()) return printed;
  std::string tag = printed.substr(0, now.nameEnd);
  for (const AttributeText& attribute : now.attributes) {
    const AttributeText* old = Find(was, attribute.name);
    const char* oldValue = parsed.RootElement()->Attribute(attribute.name.c_str());
    const char* value = element.Attribute(attribute.name.c_str());
    bool kept = old && oldValue && value && std::strcmp(oldValue, value) == 0;
    tag += kept ? old->text : attribute.text;
  }
  return tag + printed.substr(now.attributesEnd);
}

}  // namespace musicxml
