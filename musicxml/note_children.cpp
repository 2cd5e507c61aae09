#include "musicxml/note_children.h"

#include <tinyxml2.h>

#include <cstring>
#include <string>

#include "musicxml/xml_values.h"

namespace musicxml {

namespace {

struct NoteType {
  const char* name;
  int32_t units;
};

constexpr NoteType kNoteTypes[] = {
    {"1024th", 4},   {"512th", 8},    {"256th", 16},   {"128th", 32},     {"64th", 64},
    {"32nd", 128},   {"16th", 256},   {"eighth", 512}, {"quarter", 1024}, {"half", 2048},
    {"whole", 4096}, {"breve", 8192}, {"long", 16384}, {"maxima", 32768},
};

bool IsStop(const tinyxml2::XMLElement* element) {
  const char* type = element->Attribute("type");
  return type && std::strcmp(type, "stop") == 0;
}

bool HoldsTiedStop(const tinyxml2::XMLElement* notations) {
  for (const tinyxml2::XMLElement* tied = notations->FirstChildElement("tied"); tied;
       tied = tied->NextSiblingElement("tied")) {
    if (IsStop(tied)) return true;
  }
  return false;
}

void Keep(const tinyxml2::XMLElement* child, const tinyxml2::XMLElement** first) {
  if (!*first) *first = child;
}

void ReadChild(const tinyxml2::XMLElement* child, NoteChildren* children) {
  const char* name = child->Name();
  if (std::strcmp(name, "pitch") == 0) {
    Keep(child, &children->pitch);
  } else if (std::strcmp(name, "duration") == 0) {
    Keep(child, &children->duration);
  } else if (std::strcmp(name, "voice") == 0) {
    Keep(child, &children->voice);
  } else if (std::strcmp(name, "type") == 0) {
    Keep(child, &children->type);
  } else if (std::strcmp(name, "staff") == 0) {
    Keep(child, &children->staff);
  } else if (std::strcmp(name, "accidental") == 0) {
    Keep(child, &children->accidental);
  } else if (std::strcmp(name, "dot") == 0) {
    ++children->dots;
  } else if (std::strcmp(name, "rest") == 0) {
    children->rest = true;
  } else if (std::strcmp(name, "chord") == 0) {
    children->chord = true;
  } else if (std::strcmp(name, "grace") == 0) {
    children->grace = true;
  } else if (std::strcmp(name, "unpitched") == 0) {
    children->unpitched = true;
  } else if (std::strcmp(name, "tie") == 0) {
    children->tiedFromPrevious = children->tiedFromPrevious || IsStop(child);
  } else if (std::strcmp(name, "notations") == 0) {
    children->tiedFromPrevious = children->tiedFromPrevious || HoldsTiedStop(child);
  }
}

}  // namespace

NoteChildren NoteChildren::Read(tinyxml2::XMLElement* note) {
  NoteChildren children;
  children.note = note;
  for (const tinyxml2::XMLElement* child = note->FirstChildElement(); child; child = child->NextSiblingElement()) {
    ReadChild(child, &children);
  }
  return children;
}

int32_t NoteChildren::WrittenDuration() const {
  std::string name = TrimmedText(type);
  int32_t units = 512;
  for (const NoteType& candidate : kNoteTypes) {
    if (name == candidate.name) units = candidate.units;
  }
  int32_t added = units / 2;
  for (int dot = 0; dot < dots && added > 0; ++dot) {
    units += added;
    added /= 2;
  }
  return units;
}

}  // namespace musicxml
