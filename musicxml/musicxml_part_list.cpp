#include "musicxml/musicxml_part_list.h"

#include <tinyxml2.h>

#include <set>
#include <string>
#include <unordered_map>

#include "musicxml/xml_values.h"

namespace musicxml {

namespace {

std::string AttributeText(const tinyxml2::XMLElement* element, const char* name, const char* fallback) {
  const char* value = element->Attribute(name);
  return value ? value : fallback;
}

}  // namespace

std::string MusicXmlPartList::Label(const ScorePart& part) {
  if (part.name.empty()) return part.id;
  return part.name + " (" + part.id + ")";
}

bool MusicXmlPartList::Read(tinyxml2::XMLElement* score, std::vector<std::string>* warnings, std::string* error) {
  parts_.clear();
  groups_.clear();
  openGroups_.clear();
  tinyxml2::XMLElement* partList = score ? score->FirstChildElement("part-list") : nullptr;
  if (!partList) {
    *error = "the score has no <part-list>";
    return false;
  }
  std::set<std::string> ids;
  for (const tinyxml2::XMLElement* child = partList->FirstChildElement(); child; child = child->NextSiblingElement()) {
    std::string name = child->Name();
    if (name == "part-group") {
      ReadGroupMark(child, static_cast<int>(parts_.size()), warnings);
    } else if (name == "score-part") {
      std::string id = AttributeText(child, "id", "");
      if (id.empty() || !ids.insert(id).second) {
        warnings->push_back("a <score-part> without an id of its own is left out");
        continue;
      }
      parts_.push_back(ScorePart{id, ChildText(child, "part-name"), nullptr});
    }
  }
  for (OpenGroup& open : openGroups_) {
    open.group.lastPart = static_cast<int>(parts_.size()) - 1;
    if (open.group.lastPart >= open.group.firstPart) groups_.push_back(open.group);
  }
  openGroups_.clear();
  MatchParts(score, warnings);
  if (parts_.empty()) {
    *error = "the score has no part with music";
    return false;
  }
  return true;
}

void MusicXmlPartList::ReadGroupMark(const tinyxml2::XMLElement* mark, int nextPart,
                                     std::vector<std::string>* warnings) {
  std::string type = AttributeText(mark, "type", "");
  std::string number = AttributeText(mark, "number", "1");
  if (type == "start") {
    PartGroup group;
    group.name = ChildText(mark, "group-name");
    group.symbol = ChildText(mark, "group-symbol");
    group.firstPart = nextPart;
    openGroups_.push_back(OpenGroup{number, group});
    return;
  }
  if (type != "stop") return;
  for (size_t index = openGroups_.size(); index > 0; --index) {
    if (openGroups_[index - 1].number != number) continue;
    PartGroup group = openGroups_[index - 1].group;
    group.lastPart = nextPart - 1;
    if (group.lastPart >= group.firstPart) groups_.push_back(group);
    openGroups_.erase(openGroups_.begin() + static_cast<std::ptrdiff_t>(index - 1));
    return;
  }
  warnings->push_back("a part group " + number + " is closed without being opened");
}

void MusicXmlPartList::MatchParts(tinyxml2::XMLElement* score, std::vector<std::string>* warnings) {
  // The list's ids are its own (Read leaves out a second one).
  std::unordered_map<std::string, size_t> listed;
  for (size_t index = 0; index < parts_.size(); ++index) listed[parts_[index].id] = index;
  for (tinyxml2::XMLElement* part = score->FirstChildElement("part"); part; part = part->NextSiblingElement("part")) {
    std::string id = AttributeText(part, "id", "");
    auto found = listed.find(id);
    ScorePart* match = found == listed.end() ? nullptr : &parts_[found->second];
    if (!match) {
      warnings->push_back("the music of part " + (id.empty() ? std::string("without an id") : id) +
                          " is left out: the part list does not name it");
    } else if (match->part) {
      warnings->push_back("a second <part> with the id " + id + " is left out");
    } else {
      match->part = part;
    }
  }
  // Drop parts without music, moving the groups' part indexes with them.
  std::vector<ScorePart> kept;
  std::vector<int> newIndex(parts_.size(), -1);
  for (size_t index = 0; index < parts_.size(); ++index) {
    if (parts_[index].part) {
      newIndex[index] = static_cast<int>(kept.size());
      kept.push_back(parts_[index]);
    } else {
      warnings->push_back("part " + Label(parts_[index]) + " has no music and is left out");
    }
  }
  std::vector<PartGroup> groups;
  for (PartGroup group : groups_) {
    int first = -1;
    int last = -1;
    for (int index = group.firstPart; index <= group.lastPart; ++index) {
      int moved = newIndex[static_cast<size_t>(index)];
      if (moved < 0) continue;
      if (first < 0) first = moved;
      last = moved;
    }
    if (first < 0) continue;
    group.firstPart = first;
    group.lastPart = last;
    groups.push_back(group);
  }
  parts_ = kept;
  groups_ = groups;
}

}  // namespace musicxml
