// rzacc on a generated MusicXML file of about 8 MB, side by side with a bare
// tinyxml2 parse of the same file: the best wall time of several runs and the
// peak memory of each, as separate processes, and their ratios to the parse.
// With --growth, rzacc scan of scores that grow four times in one direction
// (staves, measures, key changes), reading and import included: the cost of
// a note should stay about the same. With --profiles, rzacc scan of a small
// score with a profiles file of 100,000 and 200,000 profiles and one filled
// with them up to the size the plug-in reads: it should take seconds at most.
//
//   rz_bench_file [--megabytes N] [--runs N] [--keep]
//   rz_bench_file --growth [--runs N] [--keep]
//   rz_bench_file --profiles [--runs N] [--keep]
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <tinyxml2.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/generated_musicxml.h"

#ifndef RZ_RZACC_PATH
#define RZ_RZACC_PATH "rzacc"
#endif

namespace {

struct Options {
  double megabytes = 8;
  int runs = 5;
  bool keep = false;
  bool growth = false;
  bool profiles = false;
};

struct Cost {
  double seconds = 0;
  double peakMiB = 0;
  bool failed = false;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--keep") {
      options->keep = true;
    } else if (argument == "--growth") {
      options->growth = true;
    } else if (argument == "--profiles") {
      options->profiles = true;
    } else if (argument == "--megabytes" && i + 1 < argc) {
      options->megabytes = std::atof(argv[++i]);
    } else if (argument == "--runs" && i + 1 < argc) {
      options->runs = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return options->megabytes > 0 && options->runs > 0;
}

// Enough measures for the size asked, measured on a short score of the same shape.
std::string ScoreOfSize(double megabytes, int64_t* notes) {
  MusicXmlScoreShape shape;
  shape.measures = 10;
  double bytesPerMeasure = static_cast<double>(MusicXmlScoreText(shape, nullptr).size()) / shape.measures;
  shape.measures = std::max(1, static_cast<int>(megabytes * 1e6 / bytesPerMeasure));
  return MusicXmlScoreText(shape, notes);
}

// One run of the command as a child process: its wall time and peak resident memory.
Cost RunOnce(const std::vector<std::string>& command) {
  Cost cost;
  std::fflush(stdout);
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    std::vector<char*> arguments;
    for (const std::string& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    if (!std::freopen("/dev/null", "w", stdout)) _exit(127);
    execv(arguments[0], arguments.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) {
    cost.failed = true;
    return cost;
  }
  cost.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  cost.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  // rzacc answers 1 when it found something; only other answers are failures.
  cost.failed = !WIFEXITED(status) || WEXITSTATUS(status) > 1;
  return cost;
}

Cost BestOf(int runs, const std::vector<std::string>& command) {
  Cost best;
  for (int run = 0; run < runs; ++run) {
    Cost cost = RunOnce(command);
    if (cost.failed) return cost;
    if (run == 0 || cost.seconds < best.seconds) best.seconds = cost.seconds;
    best.peakMiB = std::max(best.peakMiB, cost.peakMiB);
  }
  return best;
}

void PrintRow(const char* name, const Cost& cost, const Cost& parse, double timeTarget) {
  if (cost.failed) {
    std::printf("%-16s failed\n", name);
    return;
  }
  double timeRatio = cost.seconds / parse.seconds;
  double memoryRatio = cost.peakMiB / parse.peakMiB;
  std::printf("%-16s %8.3f s %8.1f MiB   time x%.2f (target %.1f)   memory x%.2f (target 2.0)\n", name, cost.seconds,
              cost.peakMiB, timeRatio, timeTarget, memoryRatio);
}

struct GrowthCase {
  const char* name;
  MusicXmlScoreShape shape;        // the smaller score
  int MusicXmlScoreShape::*grown;  // what is four times as much in the larger one
};

std::vector<GrowthCase> GrowthCases() {
  MusicXmlScoreShape staves;
  staves.parts = 500;
  staves.measures = 2;
  staves.notesPerMeasure = 2;
  MusicXmlScoreShape measures;
  measures.parts = 2;
  measures.measures = 1000;
  measures.notesPerMeasure = 2;
  MusicXmlScoreShape keys = measures;
  keys.parts = 1;
  keys.measuresPerKey = 1;
  return {{"staves", staves, &MusicXmlScoreShape::parts},
          {"measures", measures, &MusicXmlScoreShape::measures},
          {"a key change a measure", keys, &MusicXmlScoreShape::measures}};
}

// Microseconds a note of rzacc scan on the score of the shape; below zero when it failed.
double ScanCostPerNote(const MusicXmlScoreShape& shape, const std::string& path, const Options& options) {
  int64_t notes = 0;
  std::ofstream(path, std::ios::binary) << MusicXmlScoreText(shape, &notes);
  Cost cost = BestOf(options.runs, {RZ_RZACC_PATH, "scan", path});
  if (!options.keep) std::remove(path.c_str());
  std::printf("  %9lld notes %8.3f s %8.1f MiB", static_cast<long long>(notes), cost.seconds, cost.peakMiB);
  if (cost.failed || notes == 0) return -1;
  double perNote = cost.seconds * 1e6 / static_cast<double>(notes);
  std::printf(" %7.2f us a note\n", perNote);
  return perNote;
}

int RunGrowth(const Options& options, const std::string& folder) {
  bool failed = false;
  int kept = 0;
  for (const GrowthCase& growth : GrowthCases()) {
    std::printf("%s, four times as many:\n", growth.name);
    MusicXmlScoreShape larger = growth.shape;
    larger.*growth.grown *= 4;
    double small = ScanCostPerNote(growth.shape, folder + "/grown" + std::to_string(++kept) + ".musicxml", options);
    double large = ScanCostPerNote(larger, folder + "/grown" + std::to_string(++kept) + ".musicxml", options);
    if (small <= 0 || large <= 0) {
      std::printf("  failed\n");
      failed = true;
      continue;
    }
    std::printf("  growth of the cost of a note x%.2f (target 1.5)\n", large / small);
  }
  return failed ? 2 : 0;
}

// The profiles file of the plug-in family holds no more than this.
constexpr size_t kProfilesFileCap = size_t(16) << 20;

// A profiles file of count profiles that hold only a name (the others read
// as defaults); a count of zero fills the file up to the cap.
std::string ProfilesFileText(size_t count, size_t* written) {
  const std::string head = "<RZPluginSettings>\n<RZAccidentals>\n<SettingsProfiles>\n";
  const std::string tail = "</SettingsProfiles>\n</RZAccidentals>\n</RZPluginSettings>\n";
  const std::string profile = "<SettingsProfile Name=\"\"/>\n";
  if (count == 0) count = (kProfilesFileCap - head.size() - tail.size()) / profile.size();
  std::string text = head;
  text.reserve(head.size() + tail.size() + count * profile.size());
  for (size_t index = 0; index < count; ++index) text += profile;
  *written = count;
  return text + tail;
}

int RunProfiles(const Options& options, const std::string& folder) {
  std::string score = folder + "/small.musicxml";
  MusicXmlScoreShape shape;
  shape.measures = 4;
  std::ofstream(score, std::ios::binary) << MusicXmlScoreText(shape, nullptr);
  std::string profiles = folder + "/rzpluginstorage.xml";
  bool failed = false;
  for (size_t asked : {size_t(100000), size_t(200000), size_t(0)}) {
    size_t count = 0;
    std::string text = ProfilesFileText(asked, &count);
    std::ofstream(profiles, std::ios::binary) << text;
    Cost cost = BestOf(options.runs, {RZ_RZACC_PATH, "scan", score, "--profiles", profiles});
    std::printf("%8zu profiles, %9zu bytes: ", count, text.size());
    if (cost.failed) {
      std::printf("failed\n");
      failed = true;
      continue;
    }
    std::printf("%8.3f s %8.1f MiB\n", cost.seconds, cost.peakMiB);
  }
  if (!options.keep) {
    std::remove(score.c_str());
    std::remove(profiles.c_str());
  }
  return failed ? 2 : 0;
}

int ParseOnly(const char* path) {
  tinyxml2::XMLDocument document;
  return document.LoadFile(path) == tinyxml2::XML_SUCCESS ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--parse-only") == 0) return ParseOnly(argv[2]);
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(
        stderr, "usage: rz_bench_file [--megabytes N] [--runs N] [--keep] | --growth|--profiles [--runs N] [--keep]\n");
    return 2;
  }
  char folder[] = "/tmp/rz_bench_file.XXXXXX";
  if (!mkdtemp(folder)) return 2;
  if (options.growth || options.profiles) {
    int status = options.growth ? RunGrowth(options, folder) : RunProfiles(options, folder);
    if (options.keep) std::printf("the scores are kept in %s\n", folder);
    if (!options.keep) rmdir(folder);
    return status;
  }
  std::string score = std::string(folder) + "/generated.musicxml";
  std::string output = std::string(folder) + "/applied.musicxml";
  int64_t notes = 0;
  std::string text = ScoreOfSize(options.megabytes, &notes);
  std::ofstream(score, std::ios::binary) << text;
  std::printf("%s: %.1f MB, %lld notes; best of %d runs\n", score.c_str(), static_cast<double>(text.size()) / 1e6,
              static_cast<long long>(notes), options.runs);

  std::string self = "/proc/self/exe";
  char selfPath[4096] = {};
  ssize_t length = readlink(self.c_str(), selfPath, sizeof selfPath - 1);
  if (length <= 0) return 2;
  Cost parse = BestOf(options.runs, {selfPath, "--parse-only", score});
  if (parse.failed) {
    std::printf("tinyxml2 parse failed\n");
    return 2;
  }
  std::printf("%-16s %8.3f s %8.1f MiB\n", "tinyxml2 parse", parse.seconds, parse.peakMiB);
  PrintRow("rzacc scan", BestOf(options.runs, {RZ_RZACC_PATH, "scan", score}), parse, 2.5);
  PrintRow("rzacc apply", BestOf(options.runs, {RZ_RZACC_PATH, "apply", score, "-o", output}), parse, 3.0);
  if (!options.keep) {
    std::remove(score.c_str());
    std::remove(output.c_str());
    rmdir(folder);
  }
  return 0;
}
