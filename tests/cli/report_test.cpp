#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analysis/accidental_finding.h"
#include "cli/report_row.h"
#include "cli/report_writer.h"
#include "musicxml/imported_score.h"

namespace {

using rzacc::Report;
using rzacc::ReportRow;
using rzacc::ReportWriter;

TEST(ReportRowTest, ColumnsAreBuiltAsTheResultListBuildsThem) {
  EXPECT_EQ(ReportRow::BuildLocationColumn(12, 1, 2), "M 12: L 1: #3");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("F#4", false, true), "# *");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("F#4", true, true), "(#) *");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("C5", false, true), "n *");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("Bbb4", true, false), "(bb)");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("G", false, false), "n");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("", false, false), "n");
  EXPECT_EQ(ReportRow::BuildAccidentalColumn("Ex10", false, false), "x");
  EXPECT_STREQ(ReportRow::KindName(0), "DifferOnBeat");
  EXPECT_STREQ(ReportRow::KindName(9), "SystemBreakTieMismatched");
  EXPECT_STREQ(ReportRow::KindName(10), "AtonalNote");
  EXPECT_STREQ(ReportRow::KindName(11), "Unknown");
  EXPECT_STREQ(ReportRow::KindName(-1), "Unknown");
}

TEST(ReportRowTest, AFindingBecomesARowWithTheFilesMeasureNumbers) {
  AccidentalFinding finding;
  finding.kind = FindingKind::PitchDiffSameOctave;
  finding.parentheses = true;
  finding.measure = 2;
  finding.layer = 2;
  finding.entryIndex = 0;
  finding.hasRelated = true;
  finding.relatedMeasure = 1;
  finding.pitchName.SetCString("F4");
  finding.staffName.SetUTF8("Fl\xC3\xBBte");
  finding.description.SetCString("Pitch diff with F#4.");
  finding.location.SetCString("Staff: Flute,  Measure: 2,  Layer: 2,  Entry #: 1,  Note #: 1");
  finding.relatedLocation.SetCString("Staff: Flute,  Measure: 1,  Layer: 2,  Entry #: 4");
  musicxml::ImportedScore score;
  score.measureNumbers = {"0", "1"};
  ReportRow row = ReportRow::FromFinding(finding, true, score);
  EXPECT_EQ(row.staff, "Fl\xC3\xBBte");
  EXPECT_EQ(row.location, "M 2: L 2: #1");
  EXPECT_EQ(row.note, "F4");
  EXPECT_EQ(row.info, "Pitch diff with F#4.");
  EXPECT_EQ(row.accidental, "(n) *");
  EXPECT_EQ(row.kind, "PitchDiffSameOctave");
  EXPECT_EQ(row.fileMeasure, "1");
  EXPECT_EQ(row.relatedFileMeasure, "0");
  EXPECT_TRUE(row.checked);
  EXPECT_FALSE(row.applied);
}

Report SampleReport() {
  Report report;
  report.score = "a \"b\".musicxml";
  report.profile = "Mine";
  report.region = {1, 4, 2, 3};
  report.layerMask = 0x5;
  ReportRow row;
  row.staff = "Violin, solo";
  row.location = "M 3: L 1: #2";
  row.note = "C5";
  row.info = "Note is missing accidental.";
  row.accidental = "n *";
  row.locationText = "Staff: Violin, solo,  Measure: 3,  Layer: 1,  Entry #: 2,  Note #: 1";
  row.kind = "NoteMissing";
  row.checked = false;
  row.measure = 3;
  row.fileMeasure = "2a";
  report.rows.push_back(row);
  return report;
}

TEST(ReportWriterTest, TextNamesTheRegionAndTheFilesNumbers) {
  std::ostringstream out;
  ReportWriter::WriteText(SampleReport(), out);
  EXPECT_EQ(out.str(),
            "Score: a \"b\".musicxml\n"
            "Profile: Mine\n"
            "Region: measures 1-4, staves 2-3, layers 13\n"
            "Findings: 1\n"
            "\n"
            "[ ] Violin, solo | M 3: L 1: #2 | C5 | Note is missing accidental. | n *\n"
            "    Staff: Violin, solo,  Measure: 3,  Layer: 1,  Entry #: 2,  Note #: 1\n"
            "    In the file: measure 3 is \"2a\"\n");
  Report applied = SampleReport();
  applied.apply = true;
  applied.output = "out.musicxml";
  applied.rows[0].checked = true;
  std::ostringstream applyOut;
  ReportWriter::WriteText(applied, applyOut);
  EXPECT_NE(applyOut.str().find("[not applied] Violin"), std::string::npos) << applyOut.str();
  EXPECT_NE(applyOut.str().find("Applied 0 of 1 findings; wrote out.musicxml with 0 new accidentals."),
            std::string::npos);
}

TEST(ReportWriterTest, JsonAndCsvQuoteWhatTheyMust) {
  std::ostringstream json;
  ReportWriter::WriteJson(SampleReport(), json);
  EXPECT_NE(json.str().find("\"score\": \"a \\\"b\\\".musicxml\""), std::string::npos) << json.str();
  EXPECT_NE(json.str().find("\"staff\": \"Violin, solo\""), std::string::npos);
  EXPECT_NE(json.str().find("\"checked\": false"), std::string::npos);
  EXPECT_NE(json.str().find("\"fileMeasure\": \"2a\""), std::string::npos);
  EXPECT_EQ(json.str().find("relatedMeasure"), std::string::npos);
  EXPECT_EQ(ReportWriter::JsonString("a\\b\n\x01"), "\"a\\\\b\\u000a\\u0001\"");
  EXPECT_EQ(ReportWriter::JsonString("\xC3\xA9"), "\"\xC3\xA9\"");

  std::ostringstream csv;
  ReportWriter::WriteCsv(SampleReport(), csv);
  std::string text = csv.str();
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "Staff,Location,Note,Info,Accidental,Location text,Related location text,Kind,Checked,Measure,"
            "File measure,Related measure,Related file measure,Written note");
  EXPECT_NE(text.find("\r\n\"Violin, solo\",M 3: L 1: #2,C5,Note is missing accidental.,n *,"), std::string::npos)
      << text;
  EXPECT_EQ(ReportWriter::CsvField("plain text"), "plain text");

  // A finding the host applied but the file cannot show has a state of its own.
  Report unwritten = SampleReport();
  unwritten.apply = true;
  unwritten.rows[0].checked = true;
  unwritten.rows[0].notWritten = true;
  std::ostringstream unwrittenJson;
  ReportWriter::WriteJson(unwritten, unwrittenJson);
  EXPECT_NE(unwrittenJson.str().find("\"applied\": false, \"round\": 1, \"notWritten\": true}"), std::string::npos)
      << unwrittenJson.str();
  EXPECT_NE(unwrittenJson.str().find("\"applied\": 0,"), std::string::npos);
  std::ostringstream unwrittenCsv;
  ReportWriter::WriteCsv(unwritten, unwrittenCsv);
  EXPECT_NE(unwrittenCsv.str().find(",not written,1\r\n"), std::string::npos) << unwrittenCsv.str();
  EXPECT_EQ(ReportWriter::CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
  EXPECT_EQ(ReportWriter::CsvField("two\nlines"), "\"two\nlines\"");

  Report empty;
  empty.region = {1, 1, 1, 1};
  std::ostringstream emptyJson;
  ReportWriter::WriteJson(empty, emptyJson);
  EXPECT_NE(emptyJson.str().find("\"findings\": []"), std::string::npos) << emptyJson.str();
  std::ostringstream emptyText;
  ReportWriter::WriteText(empty, emptyText);
  EXPECT_NE(emptyText.str().find("No lacking accidentals were found"), std::string::npos);
}

}  // namespace
