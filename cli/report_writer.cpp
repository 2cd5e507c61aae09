#include "cli/report_writer.h"

#include <cstdio>

namespace rzacc {

namespace {

constexpr const char* kNothingToReport = "No lacking accidentals were found, based on the selected settings profile.";

int AppliedCount(const Report& report) {
  int count = 0;
  for (const ReportRow& row : report.rows) count += row.applied ? 1 : 0;
  return count;
}

std::string RowMark(const Report& report, const ReportRow& row) {
  if (!report.apply) return row.checked ? "[x]" : "[ ]";
  if (row.applied) return "[applied]";
  if (row.notWritten) return "[not written]";
  return row.checked ? "[not applied]" : "[unchecked]";
}

std::string AppliedField(const ReportRow& row) {
  if (row.notWritten) return "not written";
  return row.applied ? "yes" : "no";
}

int NotWrittenCount(const Report& report) {
  int count = 0;
  for (const ReportRow& row : report.rows) count += row.notWritten ? 1 : 0;
  return count;
}

// Where the file numbers a measure otherwise than by its place.
std::string FileNumbersLine(const ReportRow& row) {
  std::string line;
  if (row.fileMeasure != std::to_string(row.measure)) {
    line = "measure " + std::to_string(row.measure) + " is \"" + row.fileMeasure + "\"";
  }
  if (row.hasRelated && row.relatedFileMeasure != std::to_string(row.relatedMeasure)) {
    line += std::string(line.empty() ? "" : ", ") + "related measure " + std::to_string(row.relatedMeasure) + " is \"" +
            row.relatedFileMeasure + "\"";
  }
  return line;
}

std::string RangeText(int first, int last) { return std::to_string(first) + "-" + std::to_string(last); }

}  // namespace

std::string ReportWriter::LayerDigits(uint32_t mask) {
  std::string digits;
  for (int layer = 1; layer <= 4; ++layer) {
    if (mask & (1u << (layer - 1))) digits += static_cast<char>('0' + layer);
  }
  return digits;
}

std::string ReportWriter::JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char character : text) {
    unsigned char byte = static_cast<unsigned char>(character);
    if (character == '"' || character == '\\') {
      quoted += '\\';
      quoted += character;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      quoted += escaped;
    } else {
      quoted += character;
    }
  }
  return quoted + "\"";
}

std::string ReportWriter::CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char character : text) {
    if (character == '"') quoted += '"';
    quoted += character;
  }
  return quoted + "\"";
}

void ReportWriter::Write(const Report& report, ReportFormat format, std::ostream& out) {
  switch (format) {
    case ReportFormat::Text:
      WriteText(report, out);
      break;
    case ReportFormat::Json:
      WriteJson(report, out);
      break;
    case ReportFormat::Csv:
      WriteCsv(report, out);
      break;
  }
}

void ReportWriter::WriteText(const Report& report, std::ostream& out) {
  out << "Score: " << report.score << "\n";
  out << "Profile: " << report.profile << "\n";
  out << "Region: measures " << RangeText(report.region.firstMeasure, report.region.lastMeasure) << ", staves "
      << RangeText(report.region.firstStaff, report.region.lastStaff) << ", layers " << LayerDigits(report.layerMask)
      << "\n";
  out << "Findings: " << report.rows.size() << "\n\n";
  if (report.rows.empty()) out << kNothingToReport << "\n";
  int round = 1;
  for (const ReportRow& row : report.rows) {
    if (row.round != round) {
      round = row.round;
      out << "\nRound " << round << ", after applying round " << round - 1 << ":\n";
    }
    out << RowMark(report, row) << " " << row.staff << " | " << row.location << " | " << row.note << " | " << row.info
        << " | " << row.accidental << "\n";
    out << "    " << row.locationText << "\n";
    if (!row.relatedLocationText.empty()) out << "    Related: " << row.relatedLocationText << "\n";
    if (!row.writtenNote.empty()) out << "    Written: " << row.writtenNote << "\n";
    std::string numbers = FileNumbersLine(row);
    if (!numbers.empty()) out << "    In the file: " << numbers << "\n";
  }
  if (report.apply) {
    out << "\nApplied " << AppliedCount(report) << " of " << report.rows.size() << " findings";
    if (report.rounds > 1) out << " in " << report.rounds << " rounds";
    if (int notWritten = NotWrittenCount(report)) {
      out << "; " << notWritten << " could not be written, for no accidental shows their alteration";
    }
    out << "; wrote " << report.output << " with " << report.notesWritten << " new accidentals.\n";
  }
}

void ReportWriter::WriteJson(const Report& report, std::ostream& out) {
  out << "{\n";
  out << "  \"score\": " << JsonString(report.score) << ",\n";
  out << "  \"profile\": " << JsonString(report.profile) << ",\n";
  out << "  \"region\": {\"measures\": [" << report.region.firstMeasure << ", " << report.region.lastMeasure
      << "], \"staves\": [" << report.region.firstStaff << ", " << report.region.lastStaff
      << "], \"layers\": " << JsonString(LayerDigits(report.layerMask)) << "},\n";
  out << "  \"findings\": [";
  for (size_t index = 0; index < report.rows.size(); ++index) {
    const ReportRow& row = report.rows[index];
    out << (index == 0 ? "\n" : ",\n") << "    {";
    out << "\"staff\": " << JsonString(row.staff) << ", \"location\": " << JsonString(row.location)
        << ", \"note\": " << JsonString(row.note) << ", \"info\": " << JsonString(row.info)
        << ", \"accidental\": " << JsonString(row.accidental) << ", \"locationText\": " << JsonString(row.locationText)
        << ", \"relatedLocationText\": " << JsonString(row.relatedLocationText)
        << ", \"kind\": " << JsonString(row.kind) << ", \"checked\": " << (row.checked ? "true" : "false")
        << ", \"parentheses\": " << (row.parentheses ? "true" : "false") << ", \"measure\": " << row.measure
        << ", \"fileMeasure\": " << JsonString(row.fileMeasure);
    if (row.hasRelated) {
      out << ", \"relatedMeasure\": " << row.relatedMeasure
          << ", \"relatedFileMeasure\": " << JsonString(row.relatedFileMeasure);
    }
    if (!row.writtenNote.empty()) out << ", \"writtenNote\": " << JsonString(row.writtenNote);
    if (report.apply) out << ", \"applied\": " << (row.applied ? "true" : "false") << ", \"round\": " << row.round;
    if (row.notWritten) out << ", \"notWritten\": true";
    if (report.noteElements) {
      out << ", \"noteIndex\": " << row.noteElement << ", \"relatedNoteIndex\": " << row.relatedNoteElement;
    }
    out << "}";
  }
  out << (report.rows.empty() ? "]" : "\n  ]");
  if (report.apply) {
    out << ",\n  \"output\": " << JsonString(report.output) << ",\n  \"applied\": " << AppliedCount(report)
        << ",\n  \"accidentalsWritten\": " << report.notesWritten << ",\n  \"rounds\": " << report.rounds;
  }
  out << "\n}\n";
}

void ReportWriter::WriteCsv(const Report& report, std::ostream& out) {
  out << "Staff,Location,Note,Info,Accidental,Location text,Related location text,Kind,Checked,Measure,"
         "File measure,Related measure,Related file measure,Written note";
  if (report.apply) out << ",Applied,Round";
  out << "\r\n";
  for (const ReportRow& row : report.rows) {
    out << CsvField(row.staff) << "," << CsvField(row.location) << "," << CsvField(row.note) << ","
        << CsvField(row.info) << "," << CsvField(row.accidental) << "," << CsvField(row.locationText) << ","
        << CsvField(row.relatedLocationText) << "," << row.kind << "," << (row.checked ? "yes" : "no") << ","
        << row.measure << "," << CsvField(row.fileMeasure) << ","
        << (row.hasRelated ? std::to_string(row.relatedMeasure) : std::string()) << ","
        << CsvField(row.relatedFileMeasure) << "," << CsvField(row.writtenNote);
    if (report.apply) out << "," << AppliedField(row) << "," << row.round;
    out << "\r\n";
  }
}

}  // namespace rzacc
