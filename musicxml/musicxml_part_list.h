// The <part-list> of a score: its parts in score order with their names, and
// the part groups with the parts they span.
#pragma once

#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

namespace musicxml {

struct ScorePart {
  std::string id;
  std::string name;
  tinyxml2::XMLElement* part = nullptr;  // its <part> element; null when the file has none
};

struct PartGroup {
  std::string name;
  std::string symbol;  // "brace", "bracket", "line", "square", "none" or empty
  int firstPart = 0;   // indexes into the part list, both included
  int lastPart = 0;
};

class MusicXmlPartList {
 public:
  // Reads the part list and finds each part's <part> element. Parts without
  // music and music without a part are left out with a warning. False when
  // no part has music.
  bool Read(tinyxml2::XMLElement* score, std::vector<std::string>* warnings, std::string* error);

  // The parts that have music, in score order.
  const std::vector<ScorePart>& Parts() const { return parts_; }
  const std::vector<PartGroup>& Groups() const { return groups_; }

  // "Flute (P1)", or the id alone for a part without a name.
  static std::string Label(const ScorePart& part);

 private:
  void ReadGroupMark(const tinyxml2::XMLElement* mark, int nextPart, std::vector<std::string>* warnings);
  void MatchParts(tinyxml2::XMLElement* score, std::vector<std::string>* warnings);

  struct OpenGroup {
    std::string number;
    PartGroup group;
  };

  std::vector<ScorePart> parts_;
  std::vector<PartGroup> groups_;
  std::vector<OpenGroup> openGroups_;
};

}  // namespace musicxml
