// How close the presets come to what engravers print. The courtesy
// accidentals of published scores are taken out, each score is scanned as
// rzacc scans it, and the findings are held against the notes that had one:
// recall is the share of them found again, precision the share of findings
// that name one. The scores are split into two fixed halves (sorted by file
// name, alternately), so that a rule that suits only some of them shows.
//   rz_bench_accuracy [SCORES_FOLDER] [--preset NAME]... [--profiles FILE]
// Without --preset every preset; --profiles adds every profile of a settings
// file, to try settings before they become a preset.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/accidental_finding.h"
#include "bench/courtesy_census.h"
#include "cli/report_row.h"
#include "headless/headless_host.h"
#include "session/profile_choice.h"
#include "session/score_session.h"
#include "settings/presets.h"

namespace {

namespace fs = std::filesystem;

struct Tally {
  int courtesy = 0;
  int hits = 0;
  int extras = 0;
  double Recall() const { return courtesy ? static_cast<double>(hits) / courtesy : 0; }
  double Precision() const { return hits + extras ? static_cast<double>(hits) / (hits + extras) : 0; }
};

struct PresetResult {
  Tally halves[2];
  std::map<std::string, Tally> kinds;
  double scanSeconds = 0;
  double largestScanSeconds = 0;
};

struct CorpusScore {
  std::string name;
  std::string stripped;
  std::set<int> courtesy;
  std::vector<int> cueDistances;
  int half = 0;
};

std::string ReadText(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// The place among all <note> elements of its document of each note element.
std::unordered_map<const tinyxml2::XMLElement*, int> NotePlaces(const tinyxml2::XMLElement* anyNote) {
  std::unordered_map<const tinyxml2::XMLElement*, int> places;
  const tinyxml2::XMLElement* root = anyNote ? anyNote->GetDocument()->RootElement() : nullptr;
  int place = 0;
  for (const tinyxml2::XMLElement* part = root ? root->FirstChildElement("part") : nullptr; part;
       part = part->NextSiblingElement("part")) {
    for (const tinyxml2::XMLElement* measure = part->FirstChildElement("measure"); measure;
         measure = measure->NextSiblingElement("measure")) {
      for (const tinyxml2::XMLElement* note = measure->FirstChildElement("note"); note;
           note = note->NextSiblingElement("note")) {
        places[note] = place++;
      }
    }
  }
  return places;
}

// The file place of the note of each finding; -1 where none is known.
std::vector<int> FindingPlaces(const session::ScoreSession& scoreSession) {
  std::map<std::pair<uint32_t, int>, uint64_t> tags;
  headless::HeadlessHost::Instance().Queries().VisitNotesWithTags([&tags](const headless::TaggedNote& note) {
    tags[std::make_pair(note.entryNumber, note.noteIndex)] = note.sourceTag;
  });
  const musicxml::ImportedScore& imported = scoreSession.Imported();
  auto places = NotePlaces(imported.NoteElementCount() ? imported.NoteElement(1) : nullptr);
  std::vector<int> result;
  for (int32_t index = 0; index < scoreSession.Findings().FindingCount(); ++index) {
    const AccidentalFinding* finding = scoreSession.Findings().FindingAt(index);
    auto tag = finding ? tags.find(std::make_pair(finding->entryNumber, finding->noteIndex)) : tags.end();
    auto place = tag == tags.end() ? places.end() : places.find(imported.NoteElement(tag->second));
    result.push_back(place == places.end() ? -1 : place->second);
  }
  return result;
}

bool ScanScore(const CorpusScore& score, const AnalysisSettings& settings, PresetResult* result) {
  session::ScoreSession scoreSession;
  std::string error;
  if (!scoreSession.Open(score.stripped, score.name, &error) ||
      !scoreSession.Select(scoreSession.WholeScore(), &error)) {
    std::fprintf(stderr, "%s: %s\n", score.name.c_str(), error.c_str());
    return false;
  }
  auto start = std::chrono::steady_clock::now();
  if (!scoreSession.Scan(settings, 0xF)) return false;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result->scanSeconds += seconds;
  result->largestScanSeconds = std::max(result->largestScanSeconds, seconds);
  Tally& half = result->halves[score.half];
  half.courtesy += static_cast<int>(score.courtesy.size());
  std::vector<int> places = FindingPlaces(scoreSession);
  for (size_t index = 0; index < places.size(); ++index) {
    const AccidentalFinding* finding = scoreSession.Findings().FindingAt(static_cast<int32_t>(index));
    Tally& kind = result->kinds[rzacc::ReportRow::KindName(static_cast<int>(finding->kind))];
    bool hit = score.courtesy.count(places[index]) != 0;
    (hit ? half.hits : half.extras) += 1;
    (hit ? kind.hits : kind.extras) += 1;
  }
  return true;
}

std::vector<CorpusScore> ReadCorpus(const fs::path& folder, size_t* largest) {
  std::vector<fs::path> files;
  std::error_code code;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
    std::string extension = entry.path().extension().string();
    if (extension == ".musicxml" || extension == ".xml") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<CorpusScore> scores;
  size_t largestSize = 0;
  for (const fs::path& file : files) {
    std::string text = ReadText(file);
    CourtesyCensus census;
    if (!census.Read(text)) {
      std::fprintf(stderr, "%s: not a partwise MusicXML score, left out\n", file.string().c_str());
      continue;
    }
    CorpusScore score{file.filename().string(), census.Stripped(), census.CourtesyNotes(), census.CueDistances(),
                      static_cast<int>(scores.size() % 2)};
    if (text.size() > largestSize) {
      largestSize = text.size();
      *largest = scores.size();
    }
    scores.push_back(std::move(score));
  }
  return scores;
}

// The settings to measure, by name: the presets asked for, then the profiles of the file.
bool ChooseSettings(const std::vector<std::string>& presets, const std::string& profilesFile,
                    std::vector<std::pair<std::string, AnalysisSettings>>* chosen) {
  for (const std::string& name : presets) {
    const Preset* preset = FindPreset(name);
    if (!preset) {
      std::fprintf(stderr, "no preset \"%s\"\n", name.c_str());
      return false;
    }
    session::ProfileChoice choice;
    choice.ChoosePreset(*preset);
    chosen->emplace_back(name, choice.Settings());
  }
  if (profilesFile.empty()) return true;
  std::string text = ReadText(profilesFile);
  tinyxml2::XMLDocument document;
  document.Parse(text.data(), text.size());
  tinyxml2::XMLHandle list = tinyxml2::XMLHandle(document)
                                 .FirstChildElement("RZPluginSettings")
                                 .FirstChildElement("RZAccidentals")
                                 .FirstChildElement("SettingsProfiles");
  for (tinyxml2::XMLElement* profile = list.FirstChildElement("SettingsProfile").ToElement(); profile;
       profile = profile->NextSiblingElement("SettingsProfile")) {
    session::ProfileChoice choice;
    std::string error;
    const char* name = profile->Attribute("Name");
    if (!name || !choice.ChooseFromText(text, profilesFile, name, &error)) continue;
    chosen->emplace_back(name, choice.Settings());
  }
  return true;
}

void PrintResult(const std::string& preset, const PresetResult& result) {
  Tally all{result.halves[0].courtesy + result.halves[1].courtesy, result.halves[0].hits + result.halves[1].hits,
            result.halves[0].extras + result.halves[1].extras};
  std::printf("| %-15s | %.3f / %.3f | %.3f / %.3f | %.3f / %.3f | %5d | %5d | %6.2f s | %6.3f s |\n", preset.c_str(),
              all.Recall(), all.Precision(), result.halves[0].Recall(), result.halves[0].Precision(),
              result.halves[1].Recall(), result.halves[1].Precision(), all.hits, all.extras, result.scanSeconds,
              result.largestScanSeconds);
}

void PrintKinds(const std::string& preset, const PresetResult& result) {
  for (const auto& [kind, tally] : result.kinds) {
    std::printf("| %-15s | %-26s | %5d | %5d | %.3f |\n", preset.c_str(), kind.c_str(), tally.hits, tally.extras,
                tally.Precision());
  }
}

// How far back the inflection lies that each courtesy accidental answers:
// what any rule that looks back at earlier notes can find at best.
void PrintCueDistances(const std::vector<CorpusScore>& scores) {
  const char* labels[] = {"same measure", "1 back", "2-3 back", "4-8 back", "9+ back", "none"};
  auto bucket = [](int distance) {
    if (distance < 0) return 5;
    if (distance <= 1) return distance;
    return distance <= 3 ? 2 : (distance <= 8 ? 3 : 4);
  };
  int counts[3][6] = {};
  for (const CorpusScore& score : scores) {
    for (int distance : score.cueDistances) {
      ++counts[score.half][bucket(distance)];
      ++counts[2][bucket(distance)];
    }
  }
  std::printf(
      "\nCourtesy accidentals by the nearest earlier note of their letter spelled otherwise (the latest one on the "
      "staff in the octave, on the staff, in the part or in the score), in measures back:\n\n|       |");
  for (const char* label : labels) std::printf(" %s |", label);
  std::printf("\n|---|---|---|---|---|---|---|\n");
  const char* rows[] = {"half A", "half B", "all"};
  for (int row = 0; row < 3; ++row) {
    std::printf("| %-6s |", rows[row]);
    for (int column = 0; column < 6; ++column) std::printf(" %5d |", counts[row][column]);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  fs::path folder = fs::path(RZ_SOURCE_DIR) / ".." / "shared" / "corpus" / "scores";
  std::vector<std::string> presets;
  std::string profilesFile;
  for (int index = 1; index < argc; ++index) {
    std::string argument = argv[index];
    if ((argument == "--preset" || argument == "--profiles") && index + 1 < argc) {
      (argument == "--preset" ? presets.emplace_back() : profilesFile) = argv[++index];
    } else {
      folder = argument;
    }
  }
  if (presets.empty() && profilesFile.empty()) {
    for (size_t index = 0; index < kPresetCount; ++index) presets.push_back(kPresets[index].name);
  }
  std::vector<std::pair<std::string, AnalysisSettings>> chosen;
  if (!ChooseSettings(presets, profilesFile, &chosen)) return 2;
  size_t largest = 0;
  std::vector<CorpusScore> scores = ReadCorpus(folder, &largest);
  if (scores.empty()) {
    std::fprintf(stderr, "no scores in %s\n", folder.string().c_str());
    return 2;
  }
  std::vector<PresetResult> results(chosen.size());
  for (size_t index = 0; index < chosen.size(); ++index) {
    for (const CorpusScore& score : scores) ScanScore(score, chosen[index].second, &results[index]);
  }
  std::printf("%zu scores; half A: the 1st, 3rd, ... by file name, half B: the 2nd, 4th, ...; largest: %s\n\n",
              scores.size(), scores[largest].name.c_str());
  std::printf(
      "| settings        | recall / precision | half A        | half B        | hits  | extra | scan all | largest  "
      "|\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (size_t index = 0; index < chosen.size(); ++index) PrintResult(chosen[index].first, results[index]);
  std::printf(
      "\n| settings        | finding kind               | hits  | extra | precision |\n|---|---|---|---|---|\n");
  for (size_t index = 0; index < chosen.size(); ++index) PrintKinds(chosen[index].first, results[index]);
  PrintCueDistances(scores);
  return 0;
}
