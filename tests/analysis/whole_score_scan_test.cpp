// Scans of large generated scores: what a whole scan leaves in the document
// and in the report, and that the indexed searches report exactly what the
// walks through whole groups report.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/pitch_memory.h"
#include "analysis/tc_system_tie_scan_part_handler.h"
#include "generated_score.h"
#include "scan_fixture.h"

namespace scan_test {
namespace {

class WholeScoreScanTest : public ScanFixture {
 protected:
  // One line per row with everything a reader of the report sees.
  std::vector<std::string> Report() const {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < rows_.GetRowCount(); ++i) {
      const TCDataListRow* row = rows_.GetRowAt(i);
      const AccidentalFinding* finding = GetRowFinding(row);
      std::ostringstream line;
      line << static_cast<int>(finding->kind) << " | " << finding->entryNumber << "/" << finding->noteIndex << " | "
           << Text(finding->pitchName) << " | " << Text(finding->description) << " | " << Text(finding->location)
           << " | " << Text(finding->relatedLocation) << " | " << finding->parentheses << row->IsChecked();
      lines.push_back(line.str());
    }
    return lines;
  }
};

TEST_F(WholeScoreScanTest, WholeScoreScanChangesNothingAndReportsEachNoteOnce) {
  headless::ScoreBuilder builder;
  GeneratedScoreShape shape;
  shape.staves = 16;
  shape.measures = 400;
  shape.layers = 2;
  shape.linkedParts = 2;
  shape.measuresPerSystem = 25;
  int64_t notes = BuildGeneratedScore(builder, shape);
  ASSERT_GT(notes, 30000);
  // A tie into the score's second system, which the first part does not break before.
  builder.Voice(headless::kFirstStaffNumber, 3, 25).Note("Bb4!", headless::kWhole);
  builder.Voice(headless::kFirstStaffNumber, 3, 26).Note("~Bb4", headless::kWhole);
  headless::DocumentSnapshot before = Host().Snapshot();
  Settings().systemTieMode = kTieScanUncheckConflicts;

  Scan();
  EXPECT_TRUE(scanResult_);
  EXPECT_TRUE(Host().Snapshot() == before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"scan part for ties"});
  EXPECT_EQ(Host().Edits().OpenCount(), 0);
  EXPECT_TRUE(Host().Misuse().CallErrors().empty());

  std::set<std::pair<uint32_t, int32_t>> notesReported;
  std::set<FindingKind> kinds;
  for (const AccidentalFinding* finding : findings_) {
    EXPECT_TRUE(notesReported.insert({finding->entryNumber, finding->noteIndex}).second)
        << "entry " << finding->entryNumber << " note " << finding->noteIndex << " reported twice";
    kinds.insert(finding->kind);
  }
  EXPECT_GT(findings_.size(), 1000u);
  for (FindingKind kind : {FindingKind::DifferOnBeat, FindingKind::PitchDiffSameOctave,
                           FindingKind::PitchDiffOtherOctave, FindingKind::LayerLineMissing, FindingKind::NoteMissing,
                           FindingKind::KeySignatureDifference, FindingKind::SystemBreakTieMismatched}) {
    EXPECT_TRUE(kinds.count(kind)) << "the generated score shows kind " << static_cast<int>(kind);
  }

  // The cross-staff pass runs last: a scan without it reports the first rows
  // of the whole scan exactly, so no later pass replaced an earlier finding.
  std::vector<std::string> whole = Report();
  Host().CallLog().Clear();
  CheckOff(kCrossStaveChecks);
  Settings().systemTieMode = kTieScanNone;
  Scan();
  std::vector<std::string> withoutCrossStaff = Report();
  ASSERT_LT(withoutCrossStaff.size(), whole.size());
  for (size_t i = 0; i < withoutCrossStaff.size(); ++i) {
    ASSERT_EQ(withoutCrossStaff[i], whole[i]) << "row " << i;
  }
  Host().CallLog().Clear();
}

TEST_F(WholeScoreScanTest, IndexedSearchesReportWhatWholeGroupWalksReport) {
  struct Variant {
    const char* name;
    uint32_t checksOn;
    uint32_t checksOff;
    int32_t range;
  } variants[] = {
      {"defaults", 0, 0, kDefaultCourtesyMeasureRange},
      {"octaves independent everywhere", kIndependentOctavesCross, 0, 3},
      {"octaves never independent", 0, kIndependentOctavesSame, 1},
      {"unlimited range without rest rule", 0, kNoCourtesyAfterMeasureRest, kUnlimitedCourtesyRange},
      {"same measure only", 0, kGrandStaff | kLayeredInstruments, 0},
  };
  // The fourth score has dense measures: long runs of one key in a measure.
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    Host().NewDocument();
    headless::ScoreBuilder builder;
    GeneratedScoreShape shape;
    shape.staves = 6;
    shape.measures = seed == 4 ? 4 : 40;
    shape.entriesPerMeasure = seed == 4 ? 160 : 4;
    shape.layers = seed == 2 ? 1 : 2;
    shape.linkedParts = 0;
    shape.seed = seed;
    BuildGeneratedScore(builder, shape);
    for (const Variant& variant : variants) {
      SCOPED_TRACE(std::string(variant.name) + ", seed " + std::to_string(seed));
      settings_ = AnalysisSettings{};
      CheckOn(variant.checksOn);
      CheckOff(variant.checksOff);
      Settings().courtesyMeasureRange = variant.range;
      Settings().search = PitchSearch::WholeGroup;
      Scan();
      std::vector<std::string> walked = Report();
      Settings().search = PitchSearch::Indexed;
      Scan();
      std::vector<std::string> indexed = Report();
      EXPECT_GT(walked.size(), 50u);
      ASSERT_EQ(indexed.size(), walked.size());
      for (size_t i = 0; i < walked.size(); ++i) ASSERT_EQ(indexed[i], walked[i]) << "row " << i;
    }
  }
}

}  // namespace
}  // namespace scan_test
