#include "musicxml/accidental_element.h"

#include <tinyxml2.h>

#include <cstring>

namespace musicxml {

namespace {

constexpr const char* kValues[] = {"triple-flat", "flat-flat",    "flat",        "natural",
                                   "sharp",       "double-sharp", "triple-sharp"};
constexpr int kLargestAlteration = 3;
static_assert(sizeof(kValues) / sizeof(kValues[0]) == 2 * kLargestAlteration + 1,
              "one value per alteration from -3 to +3");

// The children that the schema puts after <accidental>, in its order.
constexpr const char* kFollowers[] = {"time-modification", "stem",  "notehead", "notehead-text", "staff", "beam",
                                      "notations",         "lyric", "play",     "listen"};

bool IsFollower(const char* name) {
  for (const char* follower : kFollowers) {
    if (std::strcmp(name, follower) == 0) return true;
  }
  return false;
}

}  // namespace

const char* AccidentalElement::ValueFor(int alteration) {
  if (alteration < -kLargestAlteration || alteration > kLargestAlteration) return nullptr;
  return kValues[alteration + kLargestAlteration];
}

tinyxml2::XMLElement* AccidentalElement::FindOrInsert(tinyxml2::XMLElement* note) {
  tinyxml2::XMLElement* accidental = note->FirstChildElement("accidental");
  if (accidental) return accidental;
  accidental = note->GetDocument()->NewElement("accidental");
  tinyxml2::XMLElement* follower = note->FirstChildElement();
  while (follower && !IsFollower(follower->Name())) follower = follower->NextSiblingElement();
  if (!follower) {
    note->InsertEndChild(accidental);
  } else if (follower->PreviousSibling()) {
    note->InsertAfterChild(follower->PreviousSibling(), accidental);
  } else {
    note->InsertFirstChild(accidental);
  }
  return accidental;
}

tinyxml2::XMLElement* AccidentalElement::Write(tinyxml2::XMLElement* note, int alteration, bool parentheses,
                                               bool brackets, const std::string& color) {
  const char* value = ValueFor(alteration);
  if (!value || !note) return nullptr;
  tinyxml2::XMLElement* accidental = FindOrInsert(note);
  accidental->SetText(value);
  // A hidden accidental of the file is shown now.
  accidental->DeleteAttribute("print-object");
  accidental->SetAttribute("cautionary", "yes");
  if (parentheses) accidental->SetAttribute(brackets ? "bracket" : "parentheses", "yes");
  if (!color.empty()) accidental->SetAttribute("color", color.c_str());
  return accidental;
}

}  // namespace musicxml
