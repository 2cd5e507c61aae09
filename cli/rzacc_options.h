// What rzacc was asked to do, read from its command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rzacc {

enum class Command { Help, Version, Scan, Apply, Clean, Presets };
enum class ReportFormat { Text, Json, Csv };

// A range "A-B" or a single number "A" (A-A); absent when not given.
struct NumberRange {
  bool given = false;
  int first = 0;
  int last = 0;
};

struct RzaccOptions {
  Command command = Command::Help;
  std::string score;
  std::string output;        // apply: -o
  std::string profileName;   // --profile
  std::string profilesFile;  // --profiles
  std::string presetName;    // --preset
  NumberRange measures;      // host measures, 1 to the measure count in file order
  NumberRange staves;        // slots, 1 to the staff count in score order
  uint32_t layerMask = 0xF;  // bit n: layer n + 1
  ReportFormat format = ReportFormat::Text;
  bool all = false;       // apply every finding, checked or not
  bool check = false;     // exit status 1 when the scan finds something
  bool once = false;      // apply: one scan and one apply, not repeated until nothing more is found
  bool brackets = false;  // apply: bracket="yes" where a finding asks for parentheses
  std::string color;      // apply: "#RRGGBB" for the added accidentals
};

class CommandLine {
 public:
  // Reads the arguments after the program name. False with one message.
  static bool Parse(const std::vector<std::string>& arguments, RzaccOptions* options, std::string* error);

  static const char* HelpText();

  // Whether the options belong to the command; false with one message.
  static bool CheckCommandOptions(const RzaccOptions& options, std::string* error);

  // "1-4" or "3"; false for anything else or a first number above the last.
  static bool ParseRange(const std::string& text, NumberRange* range);
  // Digits 1 to 4, each at most once: "134" gives 0xD.
  static bool ParseLayers(const std::string& text, uint32_t* mask);
};

}  // namespace rzacc
