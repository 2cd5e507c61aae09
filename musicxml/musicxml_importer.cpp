#include "musicxml/musicxml_importer.h"

#include <tinyxml2.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "musicxml/musicxml_part_list.h"
#include "musicxml/musicxml_part_reader.h"
#include "shell/host_frame.h"

namespace musicxml {

namespace {

// Bracket kinds of the host's staff groups; 3 is the brace of a grand staff.
int16_t BracketKindOf(const std::string& symbol) {
  if (symbol == "brace") return 3;
  if (symbol == "bracket") return 1;
  if (symbol == "square") return 2;
  if (symbol == "line") return 4;
  return 0;
}

std::string StaffSuffix(int staffInPart) { return " [Staff " + std::to_string(staffInPart) + "]"; }

}  // namespace

bool MusicXmlImporter::Import(MusicXmlDocument* document, ImportedScore* imported, std::string* error) {
  plan_ = ImportPlan();
  MusicXmlPartList partList;
  if (!partList.Read(document->Score(), &imported->warnings, error)) return false;
  const tinyxml2::XMLElement* defaults = document->Score()->FirstChildElement("defaults");
  concertScore_ = defaults && defaults->FirstChildElement("concert-score");
  if (!ReadPlan(partList, imported, error)) return false;
  imported->document = builder_->DocumentId();
  CreateStaves(partList, imported);
  CreateMeasures(imported);
  CreateKeys(*imported);
  CreateSystemBreaks();
  CreateEntries(imported);
  RecordImportFlags(imported);
  LimitWarnings(imported);
  return true;
}

bool MusicXmlImporter::ReadPlan(const MusicXmlPartList& partList, ImportedScore* imported, std::string* error) {
  int measureCount = 0;
  std::vector<int> staffCounts;
  for (const ScorePart& part : partList.Parts()) {
    int measures = MusicXmlPartReader::CountMeasures(part.part);
    if (measureCount > 0 && measures != measureCount) {
      imported->warnings.push_back("part " + MusicXmlPartList::Label(part) + " has " + std::to_string(measures) +
                                   " measures, the first part " + std::to_string(measureCount));
    }
    measureCount = std::max(measureCount, measures);
    staffCounts.push_back(
        MusicXmlPartReader::CountStaves(part.part, MusicXmlPartList::Label(part), &imported->warnings));
  }
  if (measureCount == 0) {
    *error = "the score has no measures";
    return false;
  }
  if (measureCount > kMaxMeasures) {
    *error = "the score has " + std::to_string(measureCount) + " measures; at most " + std::to_string(kMaxMeasures) +
             " can be read";
    return false;
  }
  int64_t staffCount = 0;
  for (int staves : staffCounts) staffCount += staves;
  if (staffCount > kMaxStaves || staffCount * measureCount > kMaxCells) {
    *error = "the score is too large: " + std::to_string(staffCount) + " staves of " + std::to_string(measureCount) +
             " measures";
    return false;
  }
  plan_.measures.assign(static_cast<size_t>(measureCount), PlannedMeasure());
  for (size_t partIndex = 0; partIndex < staffCounts.size(); ++partIndex) {
    for (int staff = 1; staff <= staffCounts[partIndex]; ++staff) {
      PlannedStaff planned;
      planned.partIndex = static_cast<int>(partIndex);
      planned.staffInPart = staff;
      planned.keys.assign(static_cast<size_t>(measureCount), KeyState());
      plan_.staves.push_back(planned);
    }
  }
  int firstStaff = 0;
  for (size_t partIndex = 0; partIndex < staffCounts.size(); ++partIndex) {
    const ScorePart& part = partList.Parts()[partIndex];
    MusicXmlPartReader reader(part.part, MusicXmlPartList::Label(part), firstStaff, staffCounts[partIndex], &plan_,
                              imported);
    reader.SetConcertScore(concertScore_);
    reader.Read();
    firstStaff += staffCounts[partIndex];
  }
  for (const PlannedMeasure& measure : plan_.measures) imported->measureNumbers.push_back(measure.number);
  return true;
}

void MusicXmlImporter::CreateStaves(const MusicXmlPartList& partList, ImportedScore* imported) {
  const std::vector<ScorePart>& parts = partList.Parts();
  std::vector<std::vector<int16_t>> partStaves(parts.size());
  std::vector<int> stavesOfPart(parts.size(), 0);
  for (const PlannedStaff& planned : plan_.staves) ++stavesOfPart[static_cast<size_t>(planned.partIndex)];
  for (const PlannedStaff& planned : plan_.staves) {
    const ScorePart& part = parts[static_cast<size_t>(planned.partIndex)];
    int stavesInPart = stavesOfPart[static_cast<size_t>(planned.partIndex)];
    // The staves of a grand staff stay nameless: the host calls them after
    // their instrument's group, "Piano [Staff 1]", "Piano [Staff 2]".
    std::string name = part.name;
    if (stavesInPart > 3) name += StaffSuffix(planned.staffInPart);
    if (stavesInPart == 2 || stavesInPart == 3) name.clear();
    int16_t staff = builder_->AddStaff(name.c_str());
    partStaves[static_cast<size_t>(planned.partIndex)].push_back(staff);
    imported->staves.push_back(ImportedStaff{staff, part.id, part.name, planned.staffInPart, stavesInPart});
  }
  for (size_t index = 0; index < parts.size(); ++index) {
    const std::vector<int16_t>& staves = partStaves[index];
    if (staves.size() == 2 || staves.size() == 3) {
      if (builder_->AddInstrument(staves, parts[index].name.c_str()) == 0) {
        imported->warnings.push_back("part " + MusicXmlPartList::Label(parts[index]) +
                                     ": its staves could not be made one instrument");
      }
    } else if (staves.size() > 3) {
      builder_->AddGroup(staves.front(), staves.back(), parts[index].name.c_str());
    }
  }
  for (const PartGroup& group : partList.Groups()) {
    const std::vector<int16_t>& first = partStaves[static_cast<size_t>(group.firstPart)];
    const std::vector<int16_t>& last = partStaves[static_cast<size_t>(group.lastPart)];
    if (first.empty() || last.empty()) continue;
    builder_->AddGroup(first.front(), last.back(), group.name.c_str(), BracketKindOf(group.symbol));
  }
}

void MusicXmlImporter::CreateMeasures(ImportedScore* imported) {
  int16_t first = builder_->AddMeasures(static_cast<int>(plan_.measures.size()));
  for (size_t index = 0; index < plan_.measures.size(); ++index) {
    const PlannedMeasure& measure = plan_.measures[index];
    // A pickup is as long as its music; a measure that overflows its time
    // signature as long as what it holds.
    int32_t length = measure.implicit ? measure.contentLength : std::max(measure.nominalLength, measure.contentLength);
    if (length <= 0) length = measure.nominalLength > 0 ? measure.nominalLength : headless::kWhole;
    int16_t number = static_cast<int16_t>(first + static_cast<int16_t>(index));
    if (!builder_->SetMeasureLength(number, length)) {
      imported->warnings.push_back("measure " + measure.number + ": its length could not be set");
    }
  }
}

void MusicXmlImporter::CreateKeys(const ImportedScore& imported) {
  if (plan_.staves.empty()) return;
  // The first staff's keys are the measures' keys; a staff whose concert key
  // differs (a key of its own, or a transposition the file does not state)
  // gets its own cell keys.
  const std::vector<KeyState>& measureKeys = plan_.staves.front().keys;
  std::vector<headless::ScoreBuilder::KeyChange> changes;
  for (size_t index = 0; index < measureKeys.size(); ++index) {
    bool changed = index == 0 ? measureKeys[0] != KeyState() : measureKeys[index] != measureKeys[index - 1];
    if (changed)
      changes.push_back({static_cast<int16_t>(index + 1), measureKeys[index].fifths, measureKeys[index].minor});
  }
  builder_->SetKeys(changes);
  for (size_t staff = 1; staff < plan_.staves.size(); ++staff) {
    const std::vector<KeyState>& keys = plan_.staves[staff].keys;
    for (size_t index = 0; index < keys.size(); ++index) {
      if (keys[index] == measureKeys[index]) continue;
      builder_->SetCellKey(imported.staves[staff].staffNumber, static_cast<int16_t>(index + 1), keys[index].fifths,
                           keys[index].minor);
    }
  }
}

void MusicXmlImporter::CreateSystemBreaks() {
  std::vector<int16_t> starts{1};
  for (size_t index = 1; index < plan_.measures.size(); ++index) {
    if (plan_.measures[index].systemStart) starts.push_back(static_cast<int16_t>(index + 1));
  }
  // Without breaks of its own the file leaves the layout to the host.
  if (starts.size() > 1) builder_->SetSystemStarts(0, starts);
}

void MusicXmlImporter::CreateEntries(ImportedScore* imported) {
  // Entries the host refused, per staff, measure and layer, in file order.
  std::map<std::tuple<int, int, int>, int> refused;
  std::vector<std::tuple<int, int, int>> order;
  for (const PlannedEntry& entry : plan_.entries) {
    if (!entry.rest && entry.notes.empty()) continue;
    const ImportedStaff& staff = imported->staves[static_cast<size_t>(entry.staffIndex)];
    int16_t measure = static_cast<int16_t>(entry.measureIndex + 1);
    uint32_t number = builder_->AddEntry(staff.staffNumber, measure, entry.layer, entry.position, entry.duration,
                                         entry.notes, entry.grace);
    if (number != 0) continue;
    auto cell = std::make_tuple(entry.staffIndex, entry.measureIndex, entry.layer);
    if (refused[cell]++ == 0) order.push_back(cell);
  }
  for (const auto& cell : order) WarnOfRefusedEntries(cell, refused[cell], imported);
}

void MusicXmlImporter::WarnOfRefusedEntries(const std::tuple<int, int, int>& cell, int count,
                                            ImportedScore* imported) const {
  const ImportedStaff& staff = imported->staves[static_cast<size_t>(std::get<0>(cell))];
  int measureIndex = std::get<1>(cell);
  int layer = std::get<2>(cell);
  std::string where = "part " + staff.partName + " (" + staff.partId + "), staff " + std::to_string(staff.staffInPart) +
                      ", measure " + plan_.measures[static_cast<size_t>(measureIndex)].number;
  headless::HeadlessHost& host = builder_->Host();
  int16_t measure = static_cast<int16_t>(measureIndex + 1);
  bool full = host.Queries().EntryCount(staff.staffNumber, measure, layer) >= host_frame::kMaxEntries;
  std::string what = count == 1 ? "an entry the host refused is left out"
                                : std::to_string(count) + " entries the host refused are left out";
  if (full) {
    what = std::to_string(count) + (count == 1 ? " entry" : " entries") + " of layer " + std::to_string(layer) +
           " beyond the " + std::to_string(host_frame::kMaxEntries) + " that one measure of a layer can hold " +
           (count == 1 ? "is" : "are") + " left out, notes and all";
  }
  imported->warnings.push_back(where + ": " + what);
}

void MusicXmlImporter::RecordImportFlags(ImportedScore* imported) const {
  builder_->Host().Queries().VisitNotesWithTags(
      [imported](const headless::TaggedNote& note) { imported->SetFlagsAtImport(note.sourceTag, note.note.flags); });
}

void MusicXmlImporter::LimitWarnings(ImportedScore* imported) {
  if (imported->warnings.size() <= kMaxWarnings) return;
  size_t more = imported->warnings.size() - kMaxWarnings;
  imported->warnings.resize(kMaxWarnings);
  imported->warnings.push_back("... and " + std::to_string(more) + " more warnings");
}

}  // namespace musicxml
