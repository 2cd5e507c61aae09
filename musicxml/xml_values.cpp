#include "musicxml/xml_values.h"

#include <tinyxml2.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace musicxml {

namespace {

bool IsSpace(char character) { return character == ' ' || character == '\t' || character == '\n' || character == '\r'; }

std::string Trim(const std::string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && IsSpace(text[start])) ++start;
  while (end > start && IsSpace(text[end - 1])) --end;
  return text.substr(start, end - start);
}

}  // namespace

std::string TrimmedText(const tinyxml2::XMLElement* element) {
  const char* text = element ? element->GetText() : nullptr;
  return text ? Trim(text) : std::string();
}

std::string ChildText(const tinyxml2::XMLElement* element, const char* childName) {
  return element ? TrimmedText(element->FirstChildElement(childName)) : std::string();
}

bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* value) {
  std::string trimmed = Trim(text);
  size_t index = 0;
  bool negative = false;
  if (index < trimmed.size() && (trimmed[index] == '+' || trimmed[index] == '-')) {
    negative = trimmed[index] == '-';
    ++index;
  }
  if (index == trimmed.size()) return false;
  // Eighteen digits always fit; longer numbers are out of every range used here.
  if (trimmed.size() - index > 18) return false;
  int64_t magnitude = 0;
  for (; index < trimmed.size(); ++index) {
    char digit = trimmed[index];
    if (digit < '0' || digit > '9') return false;
    magnitude = magnitude * 10 + (digit - '0');
  }
  int64_t result = negative ? -magnitude : magnitude;
  if (result < minimum || result > maximum) return false;
  *value = result;
  return true;
}

bool ParseDecimal(const std::string& text, double* value) {
  std::string trimmed = Trim(text);
  if (trimmed.empty() || trimmed.size() > 64) return false;
  bool digitSeen = false;
  bool pointSeen = false;
  for (size_t index = 0; index < trimmed.size(); ++index) {
    char character = trimmed[index];
    if ((character == '+' || character == '-') && index == 0) continue;
    if (character == '.' && !pointSeen) {
      pointSeen = true;
      continue;
    }
    if (character < '0' || character > '9') return false;
    digitSeen = true;
  }
  if (!digitSeen) return false;
  double result = std::strtod(trimmed.c_str(), nullptr);
  if (!std::isfinite(result)) return false;
  *value = result;
  return true;
}

bool IsYes(const tinyxml2::XMLElement* element, const char* attribute) {
  const char* value = element ? element->Attribute(attribute) : nullptr;
  return value && std::strcmp(value, "yes") == 0;
}

}  // namespace musicxml
