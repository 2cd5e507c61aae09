#include "cli/rzacc_options.h"

#include "musicxml/musicxml_exporter.h"

namespace rzacc {

namespace {

constexpr int kLargestNumber = 1000000;

bool ParseNumber(const std::string& text, int* value) {
  if (text.empty() || text.size() > 7) return false;
  int result = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return false;
    result = result * 10 + (digit - '0');
  }
  if (result < 1 || result > kLargestNumber) return false;
  *value = result;
  return true;
}

// The switch an option without a value sets, or null when it is not one.
bool* FlagOf(const std::string& name, RzaccOptions* options) {
  if (name == "--all") return &options->all;
  if (name == "--check") return &options->check;
  if (name == "--once") return &options->once;
  if (name == "--brackets") return &options->brackets;
  return nullptr;
}

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

// An option's value: the next argument, or the text after "=".
bool TakeValue(const std::vector<std::string>& arguments, size_t* index, const std::string& name,
               const std::string* inlineValue, std::string* value, std::string* error) {
  if (inlineValue) {
    *value = *inlineValue;
  } else if (*index + 1 < arguments.size()) {
    *value = arguments[++*index];
  } else {
    *error = "option " + name + " needs a value";
    return false;
  }
  if (value->empty()) {
    *error = "option " + name + " needs a value";
    return false;
  }
  return true;
}

}  // namespace

bool CommandLine::ParseRange(const std::string& text, NumberRange* range) {
  size_t dash = text.find('-');
  NumberRange result;
  result.given = true;
  if (dash == std::string::npos) {
    if (!ParseNumber(text, &result.first)) return false;
    result.last = result.first;
  } else if (!ParseNumber(text.substr(0, dash), &result.first) || !ParseNumber(text.substr(dash + 1), &result.last)) {
    return false;
  }
  if (result.first > result.last) return false;
  *range = result;
  return true;
}

bool CommandLine::ParseLayers(const std::string& text, uint32_t* mask) {
  uint32_t result = 0;
  if (text.empty()) return false;
  for (char digit : text) {
    if (digit < '1' || digit > '4') return false;
    uint32_t bit = 1u << (digit - '1');
    if (result & bit) return false;
    result |= bit;
  }
  *mask = result;
  return true;
}

bool CommandLine::Parse(const std::vector<std::string>& arguments, RzaccOptions* options, std::string* error) {
  *options = RzaccOptions();
  bool commandSeen = false;
  std::vector<std::string> positional;
  for (size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (!IsOption(argument)) {
      if (!commandSeen) {
        if (argument == "scan") {
          options->command = Command::Scan;
        } else if (argument == "apply") {
          options->command = Command::Apply;
        } else if (argument == "clean") {
          options->command = Command::Clean;
        } else if (argument == "presets") {
          options->command = Command::Presets;
        } else if (argument == "help") {
          options->command = Command::Help;
          return true;
        } else {
          *error =
              "unknown command '" + argument + "' (the commands are scan, apply, clean and presets; see rzacc --help)";
          return false;
        }
        commandSeen = true;
      } else {
        positional.push_back(argument);
      }
      continue;
    }
    std::string name = argument;
    std::string inlineText;
    const std::string* inlineValue = nullptr;
    size_t equals = argument.find('=');
    if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      name = argument.substr(0, equals);
      inlineText = argument.substr(equals + 1);
      inlineValue = &inlineText;
    }
    std::string value;
    if (name == "--help" || name == "-h") {
      options->command = Command::Help;
      return true;
    } else if (name == "--version") {
      options->command = Command::Version;
      return true;
    } else if (bool* flag = FlagOf(name, options)) {
      if (inlineValue) {
        *error = "option " + name + " takes no value";
        return false;
      }
      *flag = true;
    } else if (name == "--color") {
      if (!TakeValue(arguments, &index, name, inlineValue, &options->color, error)) return false;
      if (!musicxml::MusicXmlExporter::IsColor(options->color)) {
        *error = "option --color wants a colour such as '#FF0000', not '" + options->color + "'";
        return false;
      }
    } else if (name == "-o" || name == "--output") {
      if (!TakeValue(arguments, &index, name, inlineValue, &options->output, error)) return false;
    } else if (name == "--profile") {
      if (!TakeValue(arguments, &index, name, inlineValue, &options->profileName, error)) return false;
    } else if (name == "--preset") {
      if (!TakeValue(arguments, &index, name, inlineValue, &options->presetName, error)) return false;
    } else if (name == "--profiles") {
      if (!TakeValue(arguments, &index, name, inlineValue, &options->profilesFile, error)) return false;
    } else if (name == "--measures" || name == "--staves") {
      if (!TakeValue(arguments, &index, name, inlineValue, &value, error)) return false;
      NumberRange* range = name == "--measures" ? &options->measures : &options->staves;
      if (!ParseRange(value, range)) {
        *error = "option " + name + " wants A-B with 1 <= A <= B, or one number, not '" + value + "'";
        return false;
      }
    } else if (name == "--layers") {
      if (!TakeValue(arguments, &index, name, inlineValue, &value, error)) return false;
      if (!ParseLayers(value, &options->layerMask)) {
        *error = "option --layers wants the layer digits 1 to 4, such as 13, not '" + value + "'";
        return false;
      }
    } else if (name == "--format") {
      if (!TakeValue(arguments, &index, name, inlineValue, &value, error)) return false;
      if (value == "text") {
        options->format = ReportFormat::Text;
      } else if (value == "json") {
        options->format = ReportFormat::Json;
      } else if (value == "csv") {
        options->format = ReportFormat::Csv;
      } else {
        *error = "option --format wants text, json or csv, not '" + value + "'";
        return false;
      }
    } else {
      *error = "unknown option '" + argument + "' (see rzacc --help)";
      return false;
    }
  }
  if (!commandSeen) {
    *error = "no command given (rzacc scan SCORE or rzacc apply SCORE -o OUT; see rzacc --help)";
    return false;
  }
  if (options->command == Command::Presets) {
    if (arguments.size() == 1) return true;
    *error = "presets takes no score and no options";
    return false;
  }
  if (positional.size() != 1) {
    *error = positional.empty() ? "no score given" : "one score at a time, not '" + positional[1] + "' as well";
    return false;
  }
  options->score = positional[0];
  return CheckCommandOptions(*options, error);
}

bool CommandLine::CheckCommandOptions(const RzaccOptions& options, std::string* error) {
  bool applyOnly = options.all || options.once || options.brackets || !options.color.empty();
  const char* applyOption = options.all        ? "--all"
                            : options.once     ? "--once"
                            : options.brackets ? "--brackets"
                                               : "--color";
  if (options.command != Command::Scan && options.output.empty()) {
    *error = std::string(options.command == Command::Apply ? "apply" : "clean") + " needs -o OUT, the file to write";
    return false;
  }
  if (options.command == Command::Scan && (!options.output.empty() || applyOnly)) {
    *error = std::string(options.output.empty() ? applyOption : "-o") + " belongs to apply; scan writes no file";
    return false;
  }
  if (options.command == Command::Clean && applyOnly) {
    *error = std::string(applyOption) + " belongs to apply; clean only takes out what apply added";
    return false;
  }
  if (options.command == Command::Clean && (!options.profilesFile.empty() || options.check)) {
    *error = std::string(options.check ? "--check" : "--profiles") + " belongs to scan and apply; clean runs no scan";
    return false;
  }
  if (!options.presetName.empty() && (!options.profilesFile.empty() || !options.profileName.empty())) {
    *error = std::string("--preset and ") + (options.profilesFile.empty() ? "--profile" : "--profiles") +
             " both choose the settings; give one of them";
    return false;
  }
  if (!options.presetName.empty() && options.command == Command::Clean) {
    *error = "--preset belongs to scan and apply; clean runs no scan";
    return false;
  }
  if (!options.profileName.empty() && options.profilesFile.empty()) {
    *error = "--profile needs --profiles FILE, the settings file that holds the profile";
    return false;
  }
  return true;
}

const char* CommandLine::HelpText() {
  return "Usage:\n"
         "  rzacc scan SCORE [options]          report the notes that need a cautionary accidental\n"
         "  rzacc apply SCORE -o OUT [options]  add the checked ones and write OUT\n"
         "  rzacc clean SCORE -o OUT            take out the accidentals that apply added\n"
         "  rzacc presets                       list the presets, each with what it is for\n"
         "  rzacc --help | --version\n"
         "\n"
         "SCORE is a MusicXML score: .musicxml, .xml or compressed .mxl.\n"
         "\n"
         "Options:\n"
         "  --profiles FILE   read settings profiles from FILE (the plug-in's rzpluginstorage.xml)\n"
         "  --profile NAME    use the profile NAME of that file (default: its first profile; without\n"
         "                    --profiles the settings of a new profile)\n"
         "  --preset NAME     use the preset NAME (see rzacc presets) instead of a profiles file\n"
         "  --measures A-B    scan measures A to B, counted 1, 2, ... in file order (default: all)\n"
         "  --staves A-B      scan staves A to B, counted from the top of the score (default: all)\n"
         "  --layers DIGITS   the layers (voices) to scan, such as 12 (default: 1234)\n"
         "  --format F        text, json or csv (default: text)\n"
         "  --all             apply: add every finding, also the unchecked ones\n"
         "  --once            apply: scan and apply once; without it apply scans again after\n"
         "                    applying, up to five rounds, until nothing more is found to apply\n"
         "  --brackets        apply: brackets instead of parentheses around the accidentals\n"
         "                    that the profile puts in parentheses\n"
         "  --color '#RRGGBB' apply: the colour of the added accidentals\n"
         "  --check           exit with status 1 when the scan finds anything\n"
         "  -o, --output OUT  apply, clean: the file to write; never the score itself\n"
         "\n"
         "apply marks each accidental it adds with an id \"rzacc-N\"; clean takes out exactly\n"
         "those and leaves every other byte of the score as it was.\n"
         "\n"
         "Exit status: 0 done, 1 findings (with --check), 2 bad arguments or unreadable input.\n";
}

}  // namespace rzacc
