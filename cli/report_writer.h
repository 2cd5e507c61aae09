// Prints a scan or an apply as text for people, or as JSON or CSV for
// scripts. Every form carries the result list's five columns and the two
// location texts, in the result list's order.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/report_row.h"
#include "cli/rzacc_options.h"
#include "session/score_session.h"

namespace rzacc {

struct Report {
  bool apply = false;
  std::string score;  // the file's name, without its folder
  std::string profile;
  session::RegionChoice region;
  uint32_t layerMask = 0xF;
  std::vector<ReportRow> rows;
  // apply only
  std::string output;
  int notesWritten = 0;
  int rounds = 1;  // rounds of scan and apply that applied something
  // Whether each finding names its note's <note> elements, for the web page.
  bool noteElements = false;
};

class ReportWriter {
 public:
  static void Write(const Report& report, ReportFormat format, std::ostream& out);

  static void WriteText(const Report& report, std::ostream& out);
  static void WriteJson(const Report& report, std::ostream& out);
  static void WriteCsv(const Report& report, std::ostream& out);

  // "134" for layers 1, 3 and 4.
  static std::string LayerDigits(uint32_t mask);
  static std::string JsonString(const std::string& text);
  static std::string CsvField(const std::string& text);
};

}  // namespace rzacc
