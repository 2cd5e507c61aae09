#include "analysis/tc_accidentals_analyzer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/tc_analyze_entry_collection.h"
#include "scan_fixture.h"

namespace scan_test {
namespace {

using headless::kEighth;
using headless::kHalf;
using headless::kQuarter;
using headless::kWhole;

class AccidentalsAnalyzerTest : public ScanFixture {};

TEST_F(AccidentalsAnalyzerTest, NoteMissingAccidentalWithoutEarlierNote) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("C4", kQuarter);
  uint32_t sharp = voice.Note("F#4", kQuarter);
  voice.Note("F#4", kQuarter);
  voice.Note("Bb4!", kQuarter);

  Scan();
  EXPECT_TRUE(scanResult_);
  ASSERT_EQ(findings_.size(), 1u) << "the second F# is covered by the first";
  const AccidentalFinding* finding = OnlyFindingOn(sharp);
  ASSERT_NE(finding, nullptr);
  EXPECT_EQ(finding->kind, FindingKind::NoteMissing);
  EXPECT_EQ(Text(finding->description), "Note is missing accidental.");
  EXPECT_EQ(Text(finding->pitchName), "F#4");
  EXPECT_EQ(Text(finding->location), "Staff: Flute,  Measure: 1,  Layer: 1,  Entry #: 2,  Note #: 1");
  EXPECT_EQ(Text(finding->relatedLocation), "");
  EXPECT_FALSE(finding->hasRelated);
  EXPECT_FALSE(finding->parentheses);
  EXPECT_TRUE(RowOf(finding)->IsChecked());
}

TEST_F(AccidentalsAnalyzerTest, AlterationDoesNotCarryOverTheBarline) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(2);
  builder.Voice(flute, 1, 1).Note("F#4!", kWhole);
  uint32_t next = builder.Voice(flute, 1, 2).Note("F#4", kWhole);
  for (int32_t range : {2, kUnlimitedCourtesyRange}) {
    Settings().courtesyMeasureRange = range;
    Scan();
    EXPECT_EQ(findings_.size(), 1u);
    EXPECT_EQ(KindOn(next), FindingKind::NoteMissing) << "range " << range;
  }
}

TEST_F(AccidentalsAnalyzerTest, PitchDiffOneMeasureBack) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(5);
  builder.Voice(flute, 1, 4).Note("F#4!", kWhole);
  uint32_t natural = builder.Voice(flute, 1, 5).Note("F4", kWhole);

  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  const AccidentalFinding* finding = OnlyFindingOn(natural);
  ASSERT_NE(finding, nullptr);
  EXPECT_EQ(finding->kind, FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Text(finding->description), "Pitch diff with F#4.");
  EXPECT_EQ(Text(finding->relatedPitchName), "F#4");
  EXPECT_EQ(Text(finding->location), "Staff: Flute,  Measure: 5,  Layer: 1,  Entry #: 1,  Note #: 1");
  EXPECT_EQ(Text(finding->relatedLocation), "Staff: Flute,  Measure: 4,  Layer: 1,  Entry #: 1");
  EXPECT_FALSE(finding->parentheses);

  Settings().parenthesisOptions = kParenNextMeasure;
  Scan();
  ASSERT_NE(OnlyFindingOn(natural), nullptr);
  EXPECT_TRUE(OnlyFindingOn(natural)->parentheses);

  Settings().courtesyMeasureRange = 0;
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, NoCourtesyAfterAMeasureOfRest) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(3);
  builder.Voice(flute, 1, 1).Note("F#4!", kWhole);
  builder.Voice(flute, 1, 2).Rest(kWhole);
  uint32_t flute3 = builder.Voice(flute, 1, 3).Note("F4", kWhole);
  builder.Voice(oboe, 1, 1).Note("C#5!", kWhole);
  builder.Voice(oboe, 1, 2).Note("D5", kWhole);
  uint32_t oboe3 = builder.Voice(oboe, 1, 3).Note("C5", kWhole);
  CheckOff(kCrossStaveChecks);
  Settings().parenthesisOptions = kParenSecondMeasure;

  Scan();
  EXPECT_TRUE(FindingsOn(flute3).empty()) << "a measure of rest lies between the F# and the F";
  ASSERT_NE(OnlyFindingOn(oboe3), nullptr) << "the oboe plays on in measure 2";
  EXPECT_EQ(Text(OnlyFindingOn(oboe3)->description), "Pitch diff with C#5.");
  EXPECT_TRUE(OnlyFindingOn(oboe3)->parentheses);

  CheckOff(kNoCourtesyAfterMeasureRest);
  Scan();
  ASSERT_NE(OnlyFindingOn(flute3), nullptr);
  EXPECT_EQ(OnlyFindingOn(flute3)->kind, FindingKind::PitchDiffSameOctave);
  EXPECT_TRUE(OnlyFindingOn(flute3)->parentheses);
}

TEST_F(AccidentalsAnalyzerTest, OtherOctaveFollowsTheIndependentOctaveSettings) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("F#4!", kHalf);
  uint32_t higher = voice.Note("F5", kHalf);

  CheckOff(kIndependentOctavesSame);
  CheckOff(kCrossStaveChecks);
  Scan();
  EXPECT_EQ(KindOn(higher), FindingKind::PitchDiffOtherOctave);
  EXPECT_EQ(Description(higher), "Pitch diff with F#4.");

  CheckOn(kIndependentOctavesSame);
  EXPECT_TRUE(Scan().empty()) << "layer and instrument passes keep octaves apart";

  CheckOn(kCrossStaveChecks);
  EXPECT_EQ(Scan().size(), 1u) << "the cross-staff pass holds the staff too and compares any octave";
  EXPECT_EQ(KindOn(higher), FindingKind::PitchDiffOtherOctave);

  CheckOn(kIndependentOctavesCross);
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, SameSpellingInAnotherOctaveIsNoPitchDifference) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("F#4!", kHalf);
  uint32_t higher = voice.Note("F#5", kHalf);

  CheckOff(kIndependentOctavesSame);
  EXPECT_TRUE(Scan().empty()) << "the sharp written on F#4 is the sharp of F#5 when octaves are not independent";
  CheckOn(kIndependentOctavesSame);
  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(higher), FindingKind::NoteMissing) << "octaves apart, F#5 has no sharp of its own";

  Host().NewDocument();
  headless::ScoreBuilder inD;
  int16_t oboe = inD.AddStaff("Oboe");
  int16_t violin = inD.AddStaff("Violin");
  inD.AddMeasures(1);
  inD.SetKey(1, 2);
  inD.Voice(oboe).Note("F#4", kWhole);
  auto strings = inD.Voice(violin);
  strings.Rest(kHalf);
  strings.Note("F#5", kHalf);
  EXPECT_TRUE(Scan().empty()) << "the key's F#4 and F#5 differ only in their octave";
}

TEST_F(AccidentalsAnalyzerTest, SameBeatTwoLayers) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  uint32_t natural = builder.Voice(flute, 1, 1).Note("F4", kWhole);
  builder.Voice(flute, 2, 1).Note("F#4!", kWhole);

  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  const AccidentalFinding* finding = OnlyFindingOn(natural);
  ASSERT_NE(finding, nullptr);
  EXPECT_EQ(finding->kind, FindingKind::DifferOnBeat);
  EXPECT_EQ(Text(finding->description), "Differ on beat with F#4 (Layer 2).");
  EXPECT_EQ(Text(finding->relatedLocation), "Staff: Flute,  Measure: 1,  Layer: 2,  Entry #: 1");
  EXPECT_TRUE(finding->parentheses);

  Settings().parenthesisOptions = 0;
  Scan();
  ASSERT_NE(OnlyFindingOn(natural), nullptr);
  EXPECT_FALSE(OnlyFindingOn(natural)->parentheses);

  Host().NewDocument();
  headless::ScoreBuilder octaves;
  int16_t oboe = octaves.AddStaff("Oboe");
  octaves.AddMeasures(1);
  octaves.SetKey(1, 2);
  octaves.Voice(oboe, 1).Note("F#4", kWhole);
  octaves.Voice(oboe, 2).Note("F#5", kWhole);
  EXPECT_TRUE(Scan().empty()) << "F#4 and F#5 on one beat are no difference";
}

TEST_F(AccidentalsAnalyzerTest, SameBeatInOneChordAndInAnyOctave) {
  headless::ScoreBuilder builder;
  int16_t harp = builder.AddStaff("Harp");
  builder.AddMeasures(1);
  auto voice = builder.Voice(harp);
  uint32_t chord = voice.Chord({"F4", "A4", "F#5!"}, kHalf);
  Settings().courtesyMeasureRange = 0;
  CheckOn(kIndependentOctavesCross);
  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(chord, 0), FindingKind::DifferOnBeat);
  EXPECT_EQ(Description(chord, 0), "Differ on beat with F#5.");
}

TEST_F(AccidentalsAnalyzerTest, SameBeatOnGrandStaffAndAcrossStaves) {
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(2);
  builder.AddInstrument({right, left}, "Piano");
  uint32_t rightF = builder.Voice(right, 1, 1).Note("F4", kWhole);
  builder.Voice(left, 1, 1).Note("F#3!", kWhole);
  builder.Voice(oboe, 1, 1).Note("C5", kWhole);
  uint32_t rightB = builder.Voice(right, 1, 2).Note("B4", kWhole);
  builder.Voice(left, 1, 2).Note("D3", kWhole);
  builder.Voice(oboe, 1, 2).Note("Bb4!", kWhole);

  Scan();
  EXPECT_EQ(findings_.size(), 2u);
  EXPECT_EQ(Description(rightF), "Differ on beat with F#3 (on grand staff).");
  EXPECT_EQ(Description(rightB), "Differ on beat with Bb4 (on 'Oboe').");

  CheckOff(kCrossStaveChecks);
  Scan();
  EXPECT_EQ(findings_.size(), 1u) << "only the cross-staff pass puts the oboe with the piano";
  CheckOff(kGrandStaff);
  EXPECT_TRUE(Scan().empty()) << "without the grand staff each piano staff is its own group";
}

TEST_F(AccidentalsAnalyzerTest, GrandStaffIsOneInstrument) {
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  builder.AddMeasures(1);
  builder.AddInstrument({right, left}, "Piano");
  builder.Voice(right).Note("F#4!", kWhole);
  auto bass = builder.Voice(left);
  bass.Rest(kHalf);
  uint32_t natural = bass.Note("F4", kHalf);

  Scan();
  EXPECT_EQ(KindOn(natural), FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Description(natural), "Pitch diff with F#4 (on grand staff).");

  CheckOff(kGrandStaff);
  Scan();
  EXPECT_EQ(Description(natural), "Pitch diff with F#4 (on 'Piano RH').") << "found by the cross-staff pass";
}

TEST_F(AccidentalsAnalyzerTest, GrandStaffFromNamedPianoGroupsOnOlderHosts) {
  ReinstallHost(0x10500000);
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  int16_t harpRight = builder.AddStaff("Harp RH");
  int16_t harpLeft = builder.AddStaff("Harp LH");
  int16_t celestaRight = builder.AddStaff("Celesta RH");
  int16_t celestaLeft = builder.AddStaff("Celesta LH");
  builder.AddMeasures(1);
  int16_t organRight = builder.AddStaff("Organ RH");
  int16_t organLeft = builder.AddStaff("Organ LH");
  builder.AddGroup(right, left, "Piano", 3, 1);
  builder.AddGroup(harpRight, harpLeft, "Harp", 1, 1);
  builder.AddGroup(celestaRight, celestaLeft, "", 3, 1);
  builder.AddGroup(organRight, organLeft, "Organ", 3, 0);
  uint32_t piano = 0, harp = 0, celesta = 0, organ = 0;
  struct Pair {
    int16_t upper, lower;
    uint32_t* natural;
  } pairs[] = {{right, left, &piano},
               {harpRight, harpLeft, &harp},
               {celestaRight, celestaLeft, &celesta},
               {organRight, organLeft, &organ}};
  for (const Pair& pair : pairs) {
    builder.Voice(pair.upper).Note("F#4!", kWhole);
    auto bass = builder.Voice(pair.lower);
    bass.Rest(kHalf);
    *pair.natural = bass.Note("F4", kHalf);
  }
  CheckOff(kCrossStaveChecks);
  Scan();
  EXPECT_EQ(findings_.size(), 1u) << "only the named piano-bracket group of two staves is one instrument";
  EXPECT_EQ(Description(piano), "Pitch diff with F#4 (on grand staff).");
  EXPECT_TRUE(Host().Misuse().CallErrors().empty());
}

TEST_F(AccidentalsAnalyzerTest, StaffLeftOutOfItsGrandStaffIsStillAnalysed) {
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  builder.AddMeasures(1);
  builder.AddInstrument({right, left}, "Piano");
  uint32_t upper = builder.Voice(right).Note("C#5", kWhole);
  uint32_t lower = builder.Voice(left).Note("F#3", kWhole);
  CheckOff(kCrossStaveChecks);

  Host().Selection().Set(left, 1, 0, left, 1, kWhole);
  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(lower), FindingKind::NoteMissing);

  Host().Selection().Set(right, 1, 0, left, 1, kWhole);
  Scan();
  EXPECT_EQ(findings_.size(), 2u);
  EXPECT_EQ(KindOn(upper), FindingKind::NoteMissing);
  EXPECT_EQ(KindOn(lower), FindingKind::NoteMissing);
}

TEST_F(AccidentalsAnalyzerTest, PreviousGraceAccidental) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("C5", kQuarter);
  voice.Grace("F#4!");
  uint32_t main = voice.Note("F#4", kQuarter);

  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  const AccidentalFinding* finding = OnlyFindingOn(main);
  ASSERT_NE(finding, nullptr);
  EXPECT_EQ(finding->kind, FindingKind::PreviousGraceAccidental);
  EXPECT_EQ(Text(finding->description), "Accidental on previous grace note.");
  EXPECT_EQ(Text(finding->relatedLocation), "Staff: Flute,  Measure: 1,  Layer: 1,  Entry #: 2");
  EXPECT_EQ(Text(finding->relatedPitchName), "F#4");
  EXPECT_TRUE(finding->parentheses);

  CheckOff(kRestateAfterGrace);
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, KeySignatureChange) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(9);
  builder.SetKey(1, 2);
  builder.SetKey(9, 0);
  for (int16_t measure = 1; measure <= 8; ++measure) builder.Voice(flute, 1, measure).Note("A4", kWhole);
  auto voice = builder.Voice(flute, 1, 9);
  uint32_t f = voice.Note("F4", kQuarter);
  uint32_t g = voice.Note("G4", kQuarter);
  uint32_t fAgain = voice.Note("F4", kQuarter);
  uint32_t c = voice.Note("C4", kQuarter);

  Scan();
  ASSERT_EQ(findings_.size(), 2u);
  EXPECT_EQ(KindOn(f), FindingKind::KeySignatureDifference);
  EXPECT_EQ(Description(f), "Note is different to preceeding key signature.");
  EXPECT_TRUE(OnlyFindingOn(f)->parentheses);
  EXPECT_TRUE(FindingsOn(g).empty()) << "neither key alters G";
  EXPECT_TRUE(FindingsOn(fAgain).empty()) << "the F was already written after the change";
  EXPECT_EQ(KindOn(c), FindingKind::KeySignatureDifference);

  Settings().courtesyMeasureRange = 0;
  EXPECT_TRUE(Scan().empty());
  Settings().courtesyMeasureRange = 2;
  CheckOff(kKeySigRestate);
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, KeyChangeCountsWithinTheCourtesyRange) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(9);
  builder.SetKey(1, -1);
  builder.SetKey(6, 0);
  for (int16_t measure = 1; measure <= 8; ++measure) builder.Voice(flute, 1, measure).Note("A4", kWhole);
  uint32_t b = builder.Voice(flute, 1, 9).Note("B4", kWhole);
  EXPECT_TRUE(Scan().empty()) << "the change lies four barlines back";
  Settings().courtesyMeasureRange = 4;
  Scan();
  EXPECT_EQ(KindOn(b), FindingKind::KeySignatureDifference);
  Settings().courtesyMeasureRange = kUnlimitedCourtesyRange;
  Scan();
  EXPECT_EQ(KindOn(b), FindingKind::KeySignatureDifference);
}

TEST_F(AccidentalsAnalyzerTest, EntryBeforeTheRegionStartIsMemoryOnly) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(3);
  builder.Voice(flute, 1, 1).Note("C#5", kWhole);
  auto voice = builder.Voice(flute, 1, 2);
  uint32_t before = voice.Note("F#4", kHalf);
  uint32_t natural = voice.Note("F4", kHalf);
  builder.Voice(flute, 1, 3).Note("G#4", kWhole);
  builder.Voice(oboe, 1, 2).Note("D#5", kWhole);

  Host().Selection().Set(flute, 2, kQuarter, flute, 2, kWhole);
  Scan();
  ASSERT_EQ(findings_.size(), 1u) << "nothing outside the selected staff and time";
  EXPECT_TRUE(FindingsOn(before).empty());
  EXPECT_EQ(KindOn(natural), FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Description(natural), "Pitch diff with F#4.");
}

TEST_F(AccidentalsAnalyzerTest, ChordLineMissingAccidental) {
  headless::ScoreBuilder builder;
  int16_t organ = builder.AddStaff("Organ");
  builder.AddMeasures(1);
  auto voice = builder.Voice(organ);
  voice.Chord({"F#4!", "A4"}, kQuarter);
  uint32_t chord = voice.Chord({"D4", "F#4"}, kQuarter);

  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(chord, 1), FindingKind::ChordLineMissing);
  EXPECT_EQ(Description(chord, 1), "Voiced chord note is missing accidental.");
  EXPECT_EQ(Text(OnlyFindingOn(chord, 1)->location), "Staff: Organ,  Measure: 1,  Layer: 1,  Entry #: 2,  Note #: 2");
  EXPECT_FALSE(OnlyFindingOn(chord, 1)->parentheses);
  Settings().parenthesisOptions = kParenSameMeasure;
  Scan();
  EXPECT_TRUE(OnlyFindingOn(chord, 1)->parentheses);

  CheckOff(kChordLineInstruments);
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, ChordLineComparesWithTheSameVoice) {
  headless::ScoreBuilder builder;
  int16_t organ = builder.AddStaff("Organ");
  builder.AddMeasures(1);
  auto voice = builder.Voice(organ);
  voice.Chord({"A3", "F#4!"}, kQuarter);
  voice.Chord({"F4!", "C5"}, kQuarter);
  uint32_t chord = voice.Chord({"D4", "F4"}, kHalf);

  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(chord, 1), FindingKind::PitchDiffSameOctave);
  EXPECT_EQ(Description(chord, 1), "Pitch diff with F#4.");
  EXPECT_EQ(Text(OnlyFindingOn(chord, 1)->relatedLocation), "Staff: Organ,  Measure: 1,  Layer: 1,  Entry #: 1");

  CheckOff(kChordLineInstruments);
  EXPECT_TRUE(Scan().empty()) << "the latest F of any voice is the same F natural";
}

TEST_F(AccidentalsAnalyzerTest, LayerPassReportsFirstAndWins) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  uint32_t natural = builder.Voice(flute, 1).Note("F4", kWhole);
  uint32_t sharp = builder.Voice(flute, 2).Note("F#4", kWhole);

  Scan();
  ASSERT_EQ(findings_.size(), 2u);
  EXPECT_EQ(findings_[0]->entryNumber, sharp) << "the layer pass runs first";
  EXPECT_EQ(KindOn(sharp), FindingKind::LayerLineMissing) << "not replaced by the instrument pass's same-beat finding";
  EXPECT_EQ(Description(sharp), "Layer line is missing accidental.");
  EXPECT_EQ(Text(OnlyFindingOn(sharp)->location), "Staff: Flute,  Measure: 1,  Layer: 2,  Entry #: 1,  Note #: 1");
  EXPECT_EQ(Description(natural), "Differ on beat with F#4 (Layer 2).");

  CheckOff(kLayeredInstruments);
  Scan();
  EXPECT_EQ(KindOn(sharp), FindingKind::DifferOnBeat);

  // Layer 2 left out of the scan: nothing of it is reported or remembered.
  CheckOn(kLayeredInstruments);
  EXPECT_TRUE(Scan(1).empty());
}

TEST_F(AccidentalsAnalyzerTest, StaffUsingOneLayerGetsNoteMissing) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  uint32_t firstLayer = builder.Voice(flute, 1).Note("G#4", kWhole);
  uint32_t secondLayer = builder.Voice(oboe, 2).Note("A#4", kWhole);
  Scan();
  EXPECT_EQ(KindOn(firstLayer), FindingKind::NoteMissing);
  EXPECT_EQ(KindOn(secondLayer), FindingKind::NoteMissing);
}

TEST_F(AccidentalsAnalyzerTest, MeasureFlagReportsSpelledAccidentals) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(2);
  builder.SetKey(1, 2);
  uint32_t first = builder.Voice(flute, 1, 1).Note("F#4", kWhole);
  uint32_t second = builder.Voice(flute, 1, 2).Note("C#5", kWhole);
  EXPECT_TRUE(Scan().empty());
  builder.SetMeasureFlagValue(2, 1);
  Scan();
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_EQ(KindOn(second), FindingKind::NoteMissing);
  EXPECT_TRUE(FindingsOn(first).empty());
}

TEST_F(AccidentalsAnalyzerTest, ShownAndTiedNotesAreNotExamined) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(3);
  builder.Voice(flute, 1, 1).Note("F#4!", kWhole);
  builder.Voice(flute, 1, 2).Note("~F#4", kWhole);
  builder.Voice(flute, 1, 3).Note("Gb4(!)", kWhole);
  EXPECT_TRUE(Scan().empty());
}

TEST_F(AccidentalsAnalyzerTest, AnalyzerWithoutRegionScansNothing) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(flute).Note("F#4", kWhole);
  TCAccidentalsAnalyzer analyzer(&rows_, Settings());
  EXPECT_EQ(analyzer.GetLayerMask(), 15u);
  TCUndoBlock block;
  EXPECT_FALSE(block.ExecuteHandler(&analyzer, TCAccidentalsAnalyzer::kEditName));
  EXPECT_EQ(rows_.GetRowCount(), 0);
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().CallLog().Count("TX_LoadTGF"), 0);
}

}  // namespace
// The order a group's notes are decided in: by measure, each measure's in
// the group's order; counted where measures lie close, sorted where not.
TEST(EntriesByMeasure, OrdersByMeasureKeepingTheGroupsOrderWithin) {
  auto orderOf = [](const std::vector<int32_t>& measures) {
    TCAnalyzeEntryCollection collection;
    std::vector<TCNotePitches*> entries;
    for (int32_t measure : measures) {
      entries.push_back(new TCNotePitches());
      entries.back()->SetMeasure(measure);
    }
    collection.AddEntries(entries);
    return TCAccidentalsAnalyzer::EntriesByMeasure(collection);
  };
  using Order = std::vector<int32_t>;
  EXPECT_EQ(orderOf({1, 2, 3, 1, 2, 3}), (Order{0, 3, 1, 4, 2, 5})) << "staff by staff";
  EXPECT_EQ(orderOf({4, 4, 5, 7, 7}), (Order{0, 1, 2, 3, 4})) << "in order already";
  EXPECT_EQ(orderOf({300000, 2, -300000, 2, 300000}), (Order{2, 1, 3, 0, 4})) << "far apart";
  EXPECT_TRUE(orderOf({}).empty());
}

}  // namespace scan_test
