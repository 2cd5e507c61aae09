#include "bench/courtesy_census.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

namespace {

// A time within a measure in quarter notes, exactly: triplets included.
struct Moment {
  long long numerator = 0;
  long long denominator = 1;

  static Moment Of(long long count, long long per) {
    if (per <= 0) per = 1;
    long long divisor = std::gcd(count, per);
    if (divisor == 0) divisor = 1;
    return Moment{count / divisor, per / divisor};
  }
  Moment operator+(const Moment& other) const {
    return Of(numerator * other.denominator + other.numerator * denominator, denominator * other.denominator);
  }
  Moment operator-(const Moment& other) const { return *this + Moment{-other.numerator, other.denominator}; }
  bool operator<(const Moment& other) const { return numerator * other.denominator < other.numerator * denominator; }
  bool operator==(const Moment& other) const {
    return numerator == other.numerator && denominator == other.denominator;
  }
};

using KeyMap = std::map<char, double>;  // step -> alteration

KeyMap ReadKey(const tinyxml2::XMLElement* key) {
  KeyMap map;
  for (char step : std::string("CDEFGAB")) map[step] = 0;
  if (!key) return map;
  const std::string sharps = "FCGDAEB";
  if (const tinyxml2::XMLElement* fifths = key->FirstChildElement("fifths")) {
    int count = std::atoi(fifths->GetText() ? fifths->GetText() : "0");
    for (int i = 0; i < std::min(std::abs(count), 7); ++i) {
      if (count > 0) map[sharps[i]] = 1;
      if (count < 0) map[sharps[6 - i]] = -1;
    }
    return map;
  }
  const tinyxml2::XMLElement* step = key->FirstChildElement("key-step");
  const tinyxml2::XMLElement* alter = key->FirstChildElement("key-alter");
  for (; step && alter; step = step->NextSiblingElement("key-step"), alter = alter->NextSiblingElement("key-alter")) {
    if (step->GetText()) map[step->GetText()[0]] = std::atof(alter->GetText() ? alter->GetText() : "0");
  }
  return map;
}

const char* ChildText(const tinyxml2::XMLElement* element, const char* name) {
  const tinyxml2::XMLElement* child = element->FirstChildElement(name);
  return child && child->GetText() ? child->GetText() : nullptr;
}

long long ChildNumber(const tinyxml2::XMLElement* element, const char* name, long long missing) {
  const char* text = ChildText(element, name);
  return text ? std::atoll(text) : missing;
}

bool EndsTie(const tinyxml2::XMLElement* note) {
  for (const tinyxml2::XMLElement* tie = note->FirstChildElement("tie"); tie; tie = tie->NextSiblingElement("tie")) {
    const char* type = tie->Attribute("type");
    if (type && std::string(type) == "stop") return true;
  }
  return false;
}

struct NoteEvent {
  Moment onset;
  int order;
  int staff;
  tinyxml2::XMLElement* note;
  int ordinal;
};

// The measure's notes in the order they sound, each with its place in the file.
std::vector<NoteEvent> MeasureEvents(tinyxml2::XMLElement* measure, long long* divisions, std::map<int, KeyMap>* keys,
                                     int* ordinal) {
  std::vector<NoteEvent> events;
  Moment position;
  Moment lastOnset;
  for (tinyxml2::XMLElement* child = measure->FirstChildElement(); child; child = child->NextSiblingElement()) {
    std::string name = child->Name();
    if (name == "attributes") {
      *divisions = ChildNumber(child, "divisions", *divisions);
      for (tinyxml2::XMLElement* key = child->FirstChildElement("key"); key; key = key->NextSiblingElement("key")) {
        int number = key->IntAttribute("number", 0);
        if (number == 0) keys->clear();
        (*keys)[number] = ReadKey(key);
      }
    } else if (name == "backup" || name == "forward") {
      Moment step = Moment::Of(ChildNumber(child, "duration", 0), *divisions);
      position = name == "backup" ? position - step : position + step;
    } else if (name == "note") {
      ++*ordinal;
      bool grace = child->FirstChildElement("grace") != nullptr;
      Moment onset = child->FirstChildElement("chord") ? lastOnset : position;
      if (!child->FirstChildElement("chord")) {
        lastOnset = position;
        if (!grace) position = position + Moment::Of(ChildNumber(child, "duration", 0), *divisions);
      }
      int staff = static_cast<int>(ChildNumber(child, "staff", 1));
      events.push_back({onset, static_cast<int>(events.size()), staff, child, *ordinal});
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const NoteEvent& left, const NoteEvent& right) { return left.onset < right.onset; });
  return events;
}

}  // namespace

bool CourtesyCensus::Read(const std::string& text) {
  courtesyNotes_.clear();
  soundings_.clear();
  required_ = 0;
  if (document_.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return false;
  tinyxml2::XMLElement* root = document_.FirstChildElement("score-partwise");
  if (!root) return false;
  int ordinal = -1;
  int partIndex = 0;
  for (tinyxml2::XMLElement* part = root->FirstChildElement("part"); part; part = part->NextSiblingElement("part")) {
    CountPart(part, partIndex++, &ordinal);
  }
  return true;
}

void CourtesyCensus::CountPart(tinyxml2::XMLElement* part, int partIndex, int* ordinal) {
  long long divisions = 1;
  std::map<int, KeyMap> keys;
  int measureIndex = 0;
  for (tinyxml2::XMLElement* measure = part->FirstChildElement("measure"); measure;
       measure = measure->NextSiblingElement("measure"), ++measureIndex) {
    std::map<std::tuple<int, char, int>, double> state;
    std::map<std::tuple<int, char, int>, double> before;
    bool first = true;
    Moment current;
    for (const NoteEvent& event : MeasureEvents(measure, &divisions, &keys, ordinal)) {
      if (first || !(event.onset == current)) before = state;
      first = false;
      current = event.onset;
      const tinyxml2::XMLElement* pitch = event.note->FirstChildElement("pitch");
      const char* stepText = pitch ? ChildText(pitch, "step") : nullptr;
      if (!stepText) continue;
      char step = stepText[0];
      double alter = ChildText(pitch, "alter") ? std::atof(ChildText(pitch, "alter")) : 0;
      auto place = std::make_tuple(event.staff, step, static_cast<int>(ChildNumber(pitch, "octave", 4)));
      const KeyMap& key = keys.count(event.staff) ? keys[event.staff] : keys[0];
      auto held = before.find(place);
      double holding = held != before.end() ? held->second : (key.count(step) ? key.at(step) : 0);
      bool printed = event.note->FirstChildElement("accidental") != nullptr;
      soundings_.push_back({partIndex, event.staff, measureIndex, event.onset.numerator, event.onset.denominator, step,
                            std::get<2>(place), alter, printed && alter == holding});
      if (printed) {
        if (alter == holding) {
          courtesyNotes_.insert(event.ordinal);
        } else {
          ++required_;
        }
        state[place] = alter;
      } else if (alter != holding && !EndsTie(event.note)) {
        state[place] = alter;
      }
    }
  }
}

std::vector<int> CourtesyCensus::CueDistances() const {
  std::vector<const Sounding*> order;
  for (const Sounding& note : soundings_) order.push_back(&note);
  auto earlier = [](const Sounding* left, const Sounding* right) {
    if (left->measure != right->measure) return left->measure < right->measure;
    return left->onsetNumerator * right->onsetDenominator < right->onsetNumerator * left->onsetDenominator;
  };
  std::stable_sort(order.begin(), order.end(), earlier);
  // The latest note of each letter in four ever wider scopes: staff and
  // octave, staff, part, score.
  using Scope = std::tuple<int, int, int, char, int>;
  auto scopesOf = [](const Sounding& note) {
    return std::array<Scope, 4>{{{0, note.part, note.staff, note.step, note.octave},
                                 {1, note.part, note.staff, note.step, 0},
                                 {2, note.part, 0, note.step, 0},
                                 {3, 0, 0, note.step, 0}}};
  };
  std::map<Scope, const Sounding*> latest;
  std::vector<int> distances;
  for (size_t first = 0; first < order.size();) {
    size_t end = first;
    while (end < order.size() && !earlier(order[first], order[end])) ++end;
    // Notes struck together are judged against what sounded before them.
    for (size_t index = first; index < end; ++index) {
      const Sounding& note = *order[index];
      if (!note.courtesy) continue;
      int nearest = -1;
      for (const Scope& scope : scopesOf(note)) {
        auto found = latest.find(scope);
        if (found == latest.end() || found->second->alter == note.alter) continue;
        int distance = note.measure - found->second->measure;
        if (nearest < 0 || distance < nearest) nearest = distance;
      }
      distances.push_back(nearest);
    }
    for (size_t index = first; index < end; ++index) {
      for (const Scope& scope : scopesOf(*order[index])) latest[scope] = order[index];
    }
    first = end;
  }
  return distances;
}

std::string CourtesyCensus::Stripped() {
  tinyxml2::XMLElement* root = document_.FirstChildElement("score-partwise");
  int ordinal = -1;
  for (tinyxml2::XMLElement* part = root ? root->FirstChildElement("part") : nullptr; part;
       part = part->NextSiblingElement("part")) {
    for (tinyxml2::XMLElement* measure = part->FirstChildElement("measure"); measure;
         measure = measure->NextSiblingElement("measure")) {
      for (tinyxml2::XMLElement* note = measure->FirstChildElement("note"); note;
           note = note->NextSiblingElement("note")) {
        if (courtesyNotes_.count(++ordinal)) note->DeleteChild(note->FirstChildElement("accidental"));
      }
    }
  }
  tinyxml2::XMLPrinter printer;
  document_.Print(&printer);
  return printer.CStr();
}
