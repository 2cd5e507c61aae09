#include "analysis/tc_system_tie_scan_part_handler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_fixture.h"
#include "score/tc_part.h"

namespace scan_test {
namespace {

using headless::kQuarter;
using headless::kWhole;

// Two staves over eight measures, four measures to a system in the score:
// systems begin at measures 1 and 5. The flute ties a B flat into measure 5.
class SystemBreakTiesTest : public ScanFixture {
 protected:
  void BuildScore() {
    flute_ = builder_.AddStaff("Flute");
    oboe_ = builder_.AddStaff("Oboe");
    builder_.AddMeasures(8);
    builder_.SetMeasuresPerSystem(4);
    builder_.Voice(flute_, 1, 4).Note("Bb4!", kWhole);
    fluteTie_ = builder_.Voice(flute_, 1, 5).Note("~Bb4", kWhole);
  }
  // A part that shows the flute alone, its systems beginning at these measures.
  int16_t AddFlutePart(const std::vector<int16_t>& systemStarts) {
    int16_t part = builder_.AddPart("Flute", {flute_});
    builder_.SetSystemStarts(part, systemStarts);
    return part;
  }
  const std::vector<const AccidentalFinding*>& ScanTies(int32_t mode) {
    Settings().systemTieMode = mode;
    return Scan();
  }
  std::vector<FindingKind> Kinds() const {
    std::vector<FindingKind> kinds;
    for (const AccidentalFinding* finding : findings_) kinds.push_back(finding->kind);
    return kinds;
  }

  headless::ScoreBuilder builder_;
  int16_t flute_ = 0;
  int16_t oboe_ = 0;
  uint32_t fluteTie_ = 0;
};

TEST_F(SystemBreakTiesTest, AlteredTieOverASystemBreakInScoreAndPart) {
  BuildScore();
  AddFlutePart({1, 5});
  headless::DocumentSnapshot before = Host().Snapshot();
  for (int32_t mode : {kTieScanAll, kTieScanMatchedOnly, kTieScanUncheckConflicts}) {
    SCOPED_TRACE(mode);
    ScanTies(mode);
    ASSERT_EQ(findings_.size(), 1u) << "found in score and part, reported once";
    const AccidentalFinding* finding = OnlyFindingOn(fluteTie_);
    ASSERT_NE(finding, nullptr);
    EXPECT_EQ(finding->kind, FindingKind::SystemBreakTie);
    EXPECT_EQ(Text(finding->description), "Tie with accidental over system break.");
    EXPECT_EQ(Text(finding->location), "Staff: Flute,  Measure: 5,  Layer: 1,  Entry #: 1,  Note #: 1");
    EXPECT_EQ(Text(finding->pitchName), "Bb4");
    EXPECT_FALSE(finding->hasRelated);
    EXPECT_FALSE(finding->parentheses);
    EXPECT_TRUE(RowOf(finding)->IsChecked());
  }
  Settings().parenthesisOptions = kParenSystemBreaks;
  ScanTies(kTieScanAll);
  ASSERT_NE(OnlyFindingOn(fluteTie_), nullptr);
  EXPECT_TRUE(OnlyFindingOn(fluteTie_)->parentheses);

  EXPECT_TRUE(Host().Snapshot() == before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>(4, "Accidentals"));
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>(4, "scan part for ties"));
  EXPECT_EQ(Host().CurrentPart(), 0);
}

TEST_F(SystemBreakTiesTest, Mode0ScansNoTiesAndLeavesTheOtherChecks) {
  BuildScore();
  uint32_t missing = builder_.Voice(oboe_, 1, 2).Note("C#5", kWhole);
  ScanTies(kTieScanNone);
  EXPECT_EQ(Kinds(), std::vector<FindingKind>{FindingKind::NoteMissing});
  EXPECT_NE(OnlyFindingOn(missing), nullptr);
  EXPECT_EQ(Host().CallLog().Count("TX_StartTavrelEdit_UTF16"), 1) << "only the scan's own edit";
}

TEST_F(SystemBreakTiesTest, Mode5ScansOnlyDocumentsWithoutParts) {
  BuildScore();
  ScanTies(kTieScanUnlinkedDocuments);
  EXPECT_EQ(Kinds(), std::vector<FindingKind>{FindingKind::SystemBreakTie});
  AddFlutePart({1, 5});
  EXPECT_TRUE(ScanTies(kTieScanUnlinkedDocuments).empty());
}

TEST_F(SystemBreakTiesTest, OneDisagreementBetweenScoreAndPartMarksEveryTie) {
  BuildScore();
  // The oboe, in no part, ties into the score's second system as well.
  builder_.Voice(oboe_, 1, 4).Note("F#5!", kWhole);
  uint32_t oboeTie = builder_.Voice(oboe_, 1, 5).Note("~F#5", kWhole);
  // The part breaks before measure 3 and measure 6, so the flute's tie into
  // measure 5 lies inside a line of the part; it ties into measure 3 in the part only.
  builder_.Voice(flute_, 1, 2).Note("Eb5!", kWhole);
  uint32_t partOnlyTie = builder_.Voice(flute_, 1, 3).Note("~Eb5", kWhole);
  AddFlutePart({1, 3, 6});

  ScanTies(kTieScanUncheckConflicts);
  ASSERT_EQ(findings_.size(), 3u);
  for (uint32_t entry : {fluteTie_, oboeTie, partOnlyTie}) {
    const AccidentalFinding* finding = OnlyFindingOn(entry);
    ASSERT_NE(finding, nullptr);
    EXPECT_EQ(finding->kind, FindingKind::SystemBreakTieMismatched);
    EXPECT_EQ(Text(finding->description), "Tie with accidental over (mismatched) system breaks.");
    EXPECT_FALSE(RowOf(finding)->IsChecked());
  }
  EXPECT_TRUE(ScanTies(kTieScanMatchedOnly).empty());

  ScanTies(kTieScanAll);
  EXPECT_EQ(Kinds(), std::vector<FindingKind>(3, FindingKind::SystemBreakTie)) << "no comparison in mode 2";
  ScanTies(kTieScanScoreOnly);
  EXPECT_EQ(findings_.size(), 2u);
  EXPECT_TRUE(FindingsOn(partOnlyTie).empty());
  ScanTies(kTieScanPartsOnly);
  EXPECT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(partOnlyTie), FindingKind::SystemBreakTie);
}

TEST_F(SystemBreakTiesTest, Mode1ScansTheCurrentPartOnly) {
  BuildScore();
  builder_.Voice(flute_, 1, 2).Note("Eb5!", kWhole);
  uint32_t partOnlyTie = builder_.Voice(flute_, 1, 3).Note("~Eb5", kWhole);
  int16_t part = AddFlutePart({1, 3, 6});
  ScanTies(kTieScanCurrentPart);
  EXPECT_EQ(findings_.size(), 1u);
  EXPECT_NE(OnlyFindingOn(fluteTie_), nullptr);

  ASSERT_TRUE(Host().SetCurrentPart(part));
  ScanTies(kTieScanCurrentPart);
  EXPECT_EQ(findings_.size(), 1u);
  EXPECT_NE(OnlyFindingOn(partOnlyTie), nullptr);
  EXPECT_EQ(Host().CurrentPart(), part) << "the part the user looks at stays current";
}

TEST_F(SystemBreakTiesTest, SystemsAndStavesOutsideTheRegionAreNotExamined) {
  BuildScore();
  Settings().systemTieMode = kTieScanAll;
  Host().Selection().Set(flute_, 1, 0, oboe_, 4, kWhole);
  EXPECT_TRUE(Scan().empty());
  Host().Selection().Set(oboe_, 5, 0, oboe_, 8, kWhole);
  EXPECT_TRUE(Scan().empty());
  Host().Selection().Set(flute_, 5, kQuarter, flute_, 8, kWhole);
  EXPECT_TRUE(Scan().empty()) << "the selection starts after the tied note";
  Host().Selection().Set(flute_, 5, 0, flute_, 5, 0);
  Scan();
  EXPECT_NE(OnlyFindingOn(fluteTie_), nullptr);
}

TEST_F(SystemBreakTiesTest, UnlaidSystemsAreLaidOutInAnEditThatIsTakenBack) {
  BuildScore();
  builder_.SetUnlaidSystems(true);
  headless::DocumentSnapshot before = Host().Snapshot();
  ScanTies(kTieScanScoreOnly);
  EXPECT_NE(OnlyFindingOn(fluteTie_), nullptr);
  EXPECT_GE(Host().CallLog().Count("TX_UpdateLayout"), 1);
  EXPECT_TRUE(Host().Snapshot() == before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"scan part for ties"});
}

TEST_F(SystemBreakTiesTest, PartShowsOnlyItsOwnStaves) {
  BuildScore();
  int16_t part = AddFlutePart({1, 5});
  TCPart score(0);
  TCPart flutePart(part);
  EXPECT_TRUE(PartShowsStaff(&score, oboe_));
  EXPECT_TRUE(PartShowsStaff(&flutePart, flute_));
  EXPECT_FALSE(PartShowsStaff(&flutePart, oboe_));
  EXPECT_FALSE(PartShowsStaff(nullptr, flute_));
  EXPECT_EQ(Host().CurrentPart(), 0);
}

}  // namespace
}  // namespace scan_test
