// Reading the values of MusicXML elements and attributes: text without the
// surrounding white space, integers and decimals that must be whole and in
// range, and the "yes"/"no" flags.
#pragma once

#include <cstdint>
#include <string>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

// The element's text without leading and trailing white space; empty for a
// null element or one without text.
std::string TrimmedText(const tinyxml2::XMLElement* element);
// The text of the first child element of that name, trimmed.
std::string ChildText(const tinyxml2::XMLElement* element, const char* childName);

// Whole decimal numbers with an optional sign, white space around allowed.
// False, leaving value alone, for anything else or a number outside the range.
bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* value);
// A decimal number such as "-1", "0.5" or "+2.0"; false for anything else.
bool ParseDecimal(const std::string& text, double* value);

// Whether the attribute reads "yes".
bool IsYes(const tinyxml2::XMLElement* element, const char* attribute);

}  // namespace musicxml
