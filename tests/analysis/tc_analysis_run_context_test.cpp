#include "analysis/tc_analysis_run_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analyzed_entries.h"
#include "scan_fixture.h"
#include "score/tc_multi_staff_instruments.h"

namespace scan_test {
namespace {

using headless::kHalf;
using headless::kQuarter;
using headless::kWhole;
using Entries = std::vector<std::unique_ptr<TCNotePitches>>;

class RunContextTest : public ScanFixture {
 protected:
  void LoadInstruments() { instruments_.LoadAll(); }
  std::string LastDescription() const {
    return Text(GetRowFinding(rows_.GetRowAt(rows_.GetRowCount() - 1))->description);
  }
  AccidentalFinding* LastFinding() const { return GetRowFinding(rows_.GetRowAt(rows_.GetRowCount() - 1)); }
  std::string StaffName(const TCAnalysisRunContext& context, int32_t staff) const {
    std::unique_ptr<TCString> name(context.BuildStaffName(staff));
    return Text(*name);
  }

  TCMultiStaffInstruments instruments_;
};

struct KindExpectation {
  FindingKind kind;
  const char* description;
  bool parenthesesByDefault;
  bool checked;
};

TEST_F(RunContextTest, EveryKindGetsItsTextParenthesesAndCheckState) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("F#4!", kQuarter);
  for (int i = 0; i < 11; ++i) voice.Note("F4", kQuarter / 4);
  Entries entries = AnalyzedEntriesOf(flute, 1);
  ASSERT_EQ(entries.size(), 12u);

  const KindExpectation expectations[] = {
      {FindingKind::DifferOnBeat, "Differ on beat with F#4.", true, true},
      {FindingKind::PitchDiffSameOctave, "Pitch diff with F#4.", false, true},
      {FindingKind::PitchDiffOtherOctave, "Pitch diff with F#4.", false, true},
      {FindingKind::PreviousGraceAccidental, "Accidental on previous grace note.", true, true},
      {FindingKind::LayerLineMissing, "Layer line is missing accidental.", false, true},
      {FindingKind::NoteMissing, "Note is missing accidental.", false, true},
      {FindingKind::ChordLineMissing, "Voiced chord note is missing accidental.", false, true},
      {FindingKind::KeySignatureDifference, "Note is different to preceeding key signature.", true, true},
      {FindingKind::SystemBreakTie, "Tie with accidental over system break.", false, true},
      {FindingKind::SystemBreakTieMismatched, "Tie with accidental over (mismatched) system breaks.", false, false},
      {FindingKind::AtonalNote, "Atonal music: every note shows its accidental.", false, true},
  };
  const TCNotePitches* related = entries[0].get();
  for (uint32_t parenthesisOptions : {kDefaultParenthesisOptions, 0x7Fu, 0u}) {
    ReleaseFindings();
    AnalysisSettings settings;
    settings.parenthesisOptions = parenthesisOptions;
    TCAnalysisRunContext context(&rows_, nullptr, settings);
    for (size_t i = 0; i < 11; ++i) {
      const KindExpectation& expected = expectations[i];
      const TCNotePitches* entry = entries[i + 1].get();
      bool withRelated = i <= 3;
      ASSERT_TRUE(context.AddFinding(expected.kind, entry->GetPitchAt(0), entry,
                                     withRelated ? related->GetPitchAt(0) : nullptr, withRelated ? related : nullptr));
      const TCDataListRow* row = rows_.GetRowAt(static_cast<int32_t>(i));
      const AccidentalFinding* finding = GetRowFinding(row);
      ASSERT_NE(finding, nullptr);
      SCOPED_TRACE(expected.description);
      EXPECT_EQ(finding->kind, expected.kind);
      EXPECT_EQ(Text(finding->description), expected.description);
      EXPECT_EQ(row->IsChecked(), expected.checked);
      bool parentheses =
          parenthesisOptions == kDefaultParenthesisOptions ? expected.parenthesesByDefault : parenthesisOptions != 0;
      if (expected.kind == FindingKind::NoteMissing || expected.kind == FindingKind::AtonalNote) parentheses = false;
      EXPECT_EQ(finding->parentheses, parentheses);
      EXPECT_TRUE(finding->showAccidental);
      EXPECT_FALSE(finding->applied);
      EXPECT_EQ(finding->hasRelated, withRelated);
      ASSERT_EQ(row->GetCount(), 5);
      for (int32_t column = 0; column < 5; ++column) {
        EXPECT_EQ(Text(*row->GetColumnText(column)), column == 3 ? expected.description : "") << column;
      }
    }
  }
}

// Held findings are reported in the order of their places, each place's in
// the order they came, and a note gets one finding however often it is given.
TEST_F(RunContextTest, HeldFindingsAreReportedInTheOrderOfTheirPlaces) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  voice.Note("F#4", kQuarter);
  voice.Chord({"G#4", "B4"}, kQuarter);
  voice.Note("A#4", kQuarter);
  voice.Note("C#5", kQuarter);
  Entries entries = AnalyzedEntriesOf(flute, 1);
  ASSERT_EQ(entries.size(), 4u);
  auto note = [&](size_t entry, int32_t index) { return entries[entry]->GetPitchAt(index); };
  TCAnalysisRunContext context(&rows_, nullptr, AnalysisSettings{});
  ASSERT_TRUE(context.AddFinding(FindingKind::NoteMissing, note(3, 0), entries[3].get(), nullptr, nullptr));

  context.HoldFindings();
  context.SetFindingPlace(2);
  EXPECT_TRUE(context.AddFinding(FindingKind::NoteMissing, note(2, 0), entries[2].get(), nullptr, nullptr));
  context.SetFindingPlace(1);
  EXPECT_TRUE(context.AddFinding(FindingKind::NoteMissing, note(1, 1), entries[1].get(), nullptr, nullptr));
  EXPECT_TRUE(context.AddFinding(FindingKind::NoteMissing, note(1, 0), entries[1].get(), nullptr, nullptr));
  EXPECT_FALSE(context.AddFinding(FindingKind::KeySignatureDifference, note(1, 1), entries[1].get(), nullptr, nullptr))
      << "a note held already";
  context.SetFindingPlace(3);
  EXPECT_FALSE(context.AddFinding(FindingKind::NoteMissing, note(3, 0), entries[3].get(), nullptr, nullptr))
      << "a note reported before";
  context.SetFindingPlace(0);
  EXPECT_TRUE(context.AddFinding(FindingKind::NoteMissing, note(0, 0), entries[0].get(), nullptr, nullptr));
  EXPECT_EQ(rows_.GetRowCount(), 1) << "nothing is reported while held";

  context.FlushHeldFindings();
  std::vector<std::string> reported;
  for (int32_t i = 0; i < rows_.GetRowCount(); ++i) {
    const AccidentalFinding* finding = GetRowFinding(rows_.GetRowAt(i));
    reported.push_back(Text(finding->pitchName) + " " + std::to_string(static_cast<int>(finding->kind)));
  }
  const std::string missing = std::to_string(static_cast<int>(FindingKind::NoteMissing));
  EXPECT_EQ(reported, (std::vector<std::string>{"C#5 " + missing, "F#4 " + missing, "B4 " + missing, "G#4 " + missing,
                                                "A#4 " + missing}));
  EXPECT_FALSE(context.AddFinding(FindingKind::NoteMissing, note(1, 0), entries[1].get(), nullptr, nullptr))
      << "after the flush the held notes count as reported";

  {
    TCAnalysisRunContext unflushed(&rows_, nullptr, AnalysisSettings{});
    unflushed.HoldFindings();
    EXPECT_FALSE(unflushed.AddFinding(FindingKind::NoteMissing, note(0, 0), entries[0].get(), nullptr, nullptr));
    ReleaseFindings();
    EXPECT_TRUE(unflushed.AddFinding(FindingKind::NoteMissing, note(0, 0), entries[0].get(), nullptr, nullptr));
  }
  EXPECT_EQ(rows_.GetRowCount(), 0) << "a context that never flushes deletes what it held";
}

TEST_F(RunContextTest, FindingCarriesWhereTheNoteAndTheRelatedNoteStand) {
  headless::ScoreBuilder builder;
  int16_t oboe = builder.AddStaff("Oboe");
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(12);
  builder.Voice(oboe, 2, 11).Note("C#5!", kWhole);
  auto voice = builder.Voice(flute, 1, 12);
  voice.Note("G4", kQuarter);
  voice.Note("A4", kQuarter);
  uint32_t third = voice.Chord({"E4", "C5"}, kHalf);
  Entries relatedEntries = AnalyzedEntriesOf(oboe, 11);
  Entries entries = AnalyzedEntriesOf(flute, 12);
  const TCNotePitches* chord = entries[2].get();

  TCAnalysisRunContext context(&rows_, nullptr, AnalysisSettings{});
  ASSERT_TRUE(context.AddFinding(FindingKind::PitchDiffOtherOctave, chord->GetPitchAt(1), chord,
                                 relatedEntries[0]->GetPitchAt(0), relatedEntries[0].get()));
  const AccidentalFinding* finding = LastFinding();
  EXPECT_EQ(finding->entryNumber, third);
  EXPECT_EQ(finding->staff, flute);
  EXPECT_EQ(finding->measure, 12);
  EXPECT_EQ(finding->position, kHalf);
  EXPECT_EQ(finding->layer, 1);
  EXPECT_EQ(finding->entryIndex, 2);
  EXPECT_EQ(finding->noteIndex, 1);
  EXPECT_EQ(finding->entryTimeValue, chord->GetSecondPosition());
  EXPECT_EQ(Text(finding->pitchName), "C5");
  EXPECT_EQ(Text(finding->staffName), "Flute");
  EXPECT_EQ(Text(finding->description), "Pitch diff with C#5 (on 'Oboe').");
  EXPECT_EQ(Text(finding->location), "Staff: Flute,  Measure: 12,  Layer: 1,  Entry #: 3,  Note #: 2");
  EXPECT_EQ(Text(finding->relatedLocation), "Staff: Oboe,  Measure: 11,  Layer: 2,  Entry #: 1");
  EXPECT_EQ(finding->relatedStaff, oboe);
  EXPECT_EQ(finding->relatedMeasure, 11);
  EXPECT_EQ(finding->relatedLayer, 2);
  EXPECT_EQ(finding->relatedNoteIndex, 0);
  EXPECT_EQ(finding->relatedEntryIndex, 0);
  EXPECT_EQ(finding->relatedPosition, 0);
  EXPECT_EQ(Text(finding->relatedPitchName), "C#5");

  // A note that is not one of the entry's notes has no index: note number 0.
  ASSERT_TRUE(context.AddFinding(FindingKind::NoteMissing, relatedEntries[0]->GetPitchAt(0), entries[0].get(), nullptr,
                                 nullptr));
  EXPECT_EQ(LastFinding()->noteIndex, -1);
  EXPECT_EQ(Text(LastFinding()->location), "Staff: Flute,  Measure: 12,  Layer: 1,  Entry #: 1,  Note #: 0");
  EXPECT_EQ(Text(LastFinding()->relatedLocation), "");
}

TEST_F(RunContextTest, FirstFindingForANoteWins) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(flute).Chord({"F#4", "A4"}, kWhole);
  Entries entries = AnalyzedEntriesOf(flute, 1);
  const TCNotePitches* chord = entries[0].get();
  TCAnalysisRunContext context(&rows_, nullptr, AnalysisSettings{});
  EXPECT_TRUE(context.AddFinding(FindingKind::NoteMissing, chord->GetPitchAt(0), chord, nullptr, nullptr));
  EXPECT_FALSE(context.AddFinding(FindingKind::KeySignatureDifference, chord->GetPitchAt(0), chord, nullptr, nullptr));
  EXPECT_TRUE(context.IsAlreadyReported(LastFinding()));
  EXPECT_EQ(rows_.GetRowCount(), 1);
  EXPECT_EQ(LastFinding()->kind, FindingKind::NoteMissing);
  EXPECT_TRUE(context.AddFinding(FindingKind::KeySignatureDifference, chord->GetPitchAt(1), chord, nullptr, nullptr))
      << "another note of the same entry is another line";
  EXPECT_EQ(rows_.GetRowCount(), 2);

  // A second run into the same list still sees the rows of the first.
  TCAnalysisRunContext laterRun(&rows_, nullptr, AnalysisSettings{});
  EXPECT_FALSE(
      laterRun.AddFinding(FindingKind::DifferOnBeat, chord->GetPitchAt(1), chord, chord->GetPitchAt(0), chord));
  // After the list was emptied the note can be reported again.
  ReleaseFindings();
  EXPECT_TRUE(laterRun.AddFinding(FindingKind::DifferOnBeat, chord->GetPitchAt(1), chord, chord->GetPitchAt(0), chord));
  EXPECT_EQ(LastFinding()->kind, FindingKind::DifferOnBeat);
}

TEST_F(RunContextTest, RelationSuffixNamesWhereTheRelatedNoteIs) {
  headless::ScoreBuilder builder;
  int16_t right = builder.AddStaff("Piano RH");
  int16_t left = builder.AddStaff("Piano LH");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  builder.AddInstrument({right, left}, "Piano");
  builder.Voice(right).Note("F4", kWhole);
  builder.Voice(right, 2).Note("F#4!", kWhole);
  builder.Voice(left).Note("F#3!", kWhole);
  builder.Voice(oboe).Note("Fb4!", kWhole);
  LoadInstruments();
  Entries rightEntries = AnalyzedEntriesOf(right, 1);
  Entries leftEntries = AnalyzedEntriesOf(left, 1);
  Entries oboeEntries = AnalyzedEntriesOf(oboe, 1);
  const TCNotePitches* note = rightEntries[0].get();
  const TCNotePitches* otherLayer = rightEntries[1].get();

  struct Case {
    const TCNotePitches* entry;
    const TCNotePitches* related;
    const char* description;
  } cases[] = {
      {note, leftEntries[0].get(), "Differ on beat with F#3 (on grand staff)."},
      {note, oboeEntries[0].get(), "Differ on beat with Fb4 (on 'Oboe')."},
      {oboeEntries[0].get(), leftEntries[0].get(), "Differ on beat with F#3 (on 'Piano LH')."},
      {note, otherLayer, "Differ on beat with F#4 (Layer 2)."},
      {leftEntries[0].get(), leftEntries[0].get(), "Differ on beat with F#3."},
  };
  for (const Case& item : cases) {
    ReleaseFindings();
    TCAnalysisRunContext context(&rows_, &instruments_, AnalysisSettings{});
    ASSERT_TRUE(context.AddFinding(FindingKind::DifferOnBeat, item.entry->GetPitchAt(0), item.entry,
                                   item.related->GetPitchAt(0), item.related));
    EXPECT_EQ(LastDescription(), item.description);
  }
  // Without the run's instruments the two piano staves are just two staves.
  ReleaseFindings();
  TCAnalysisRunContext withoutInstruments(&rows_, nullptr, AnalysisSettings{});
  withoutInstruments.AddFinding(FindingKind::PitchDiffOtherOctave, note->GetPitchAt(0), note,
                                leftEntries[0]->GetPitchAt(0), leftEntries[0].get());
  EXPECT_EQ(LastDescription(), "Pitch diff with F#3 (on 'Piano LH').");
}

TEST_F(RunContextTest, NamelessStavesAreNamedAfterTheirInstrumentOrNumber) {
  headless::ScoreBuilder builder;
  int16_t first = builder.AddStaff("");
  int16_t second = builder.AddStaff("");
  int16_t loose = builder.AddStaff("");
  int16_t manual1 = builder.AddStaff("");
  int16_t manual2 = builder.AddStaff("");
  int16_t pedal = builder.AddStaff("");
  int16_t named = builder.AddStaff("Violin");
  int16_t unnamedGroup = builder.AddStaff("");
  int16_t unnamedGroupToo = builder.AddStaff("");
  int16_t horn1 = builder.AddStaff("");
  int16_t horn2 = builder.AddStaff("");
  builder.AddMeasures(1);
  builder.AddInstrument({first, second}, "Piano");
  builder.AddInstrument({manual1, manual2, pedal}, "^font(Times)Organ");
  builder.AddInstrument({unnamedGroup, unnamedGroupToo}, "");
  builder.AddInstrument({horn1, horn2}, "^font(Arial)E^flat() / F^sharp() Horns");
  LoadInstruments();
  TCAnalysisRunContext context(&rows_, &instruments_, AnalysisSettings{});
  EXPECT_EQ(StaffName(context, horn2), "Eb / F# Horns [Staff 2]");
  EXPECT_EQ(context.GroupNameOf(9999), nullptr);
  EXPECT_EQ(StaffName(context, first), "Piano [Staff 1]");
  EXPECT_EQ(StaffName(context, second), "Piano [Staff 2]");
  EXPECT_EQ(StaffName(context, pedal), "Organ [Staff 3]");
  EXPECT_EQ(StaffName(context, loose), "Staff #" + std::to_string(loose));
  EXPECT_EQ(StaffName(context, unnamedGroupToo), "Staff #" + std::to_string(unnamedGroupToo));
  EXPECT_EQ(StaffName(context, named), "Violin");
  TCAnalysisRunContext withoutInstruments(&rows_, nullptr, AnalysisSettings{});
  EXPECT_EQ(StaffName(withoutInstruments, second), "Staff #" + std::to_string(second));
}

TEST_F(RunContextTest, AStaffsInstrumentIsFoundOncePerRunUntilTheStavesAreForgotten) {
  headless::ScoreBuilder builder;
  int16_t upper = builder.AddStaff("");
  int16_t lower = builder.AddStaff("");
  int16_t loose = builder.AddStaff("Harp");
  builder.AddMeasures(1);
  builder.AddInstrument({upper, lower}, "Piano");
  LoadInstruments();
  TCAnalysisRunContext context(&rows_, &instruments_, AnalysisSettings{});
  ASSERT_EQ(instruments_.GetCount(), 1);
  EXPECT_EQ(context.InstrumentOf(lower), instruments_.GetInstrumentAt(0));
  EXPECT_EQ(context.InstrumentOf(loose), nullptr);
  EXPECT_EQ(context.InstrumentOf(0), nullptr);
  EXPECT_EQ(StaffName(context, loose), "Harp");

  // Instruments loaded anew count only once the context forgets its staves.
  auto* harp = new TCMultiStaffInstrument();
  harp->SetFirstStaff(loose);
  harp->SetSecondStaff(lower);
  instruments_.Add(harp);
  EXPECT_EQ(context.InstrumentOf(loose), nullptr);
  context.ForgetStaves();
  EXPECT_EQ(context.InstrumentOf(loose), harp);
  EXPECT_EQ(context.InstrumentOf(lower), instruments_.GetInstrumentAt(0)) << "the first instrument keeps its staff";
  TCAnalysisRunContext withoutInstruments(&rows_, nullptr, AnalysisSettings{});
  EXPECT_EQ(withoutInstruments.InstrumentOf(upper), nullptr);
}

TEST_F(RunContextTest, OlderHostsNameStavesFromTheirTextWithoutTags) {
  ReinstallHost(0x10500000);
  headless::ScoreBuilder builder;
  int16_t clarinet = builder.AddStaff("^font(Times)B^flat() Clarinet");
  builder.AddMeasures(1);
  TCAnalysisRunContext context(&rows_, nullptr, AnalysisSettings{});
  EXPECT_EQ(StaffName(context, clarinet), "Bb Clarinet");
}

TEST_F(RunContextTest, PitchDifferenceParenthesesFollowTheMeasureDistance) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(8);
  for (int16_t measure = 1; measure <= 8; ++measure) builder.Voice(flute, 1, measure).Note("F4", kWhole);
  std::vector<Entries> measures;
  for (int16_t measure = 1; measure <= 8; ++measure) measures.push_back(AnalyzedEntriesOf(flute, measure));
  auto parenthesesAt = [&](uint32_t options, int distance) {
    ReleaseFindings();
    AnalysisSettings settings;
    settings.parenthesisOptions = options;
    TCAnalysisRunContext context(&rows_, nullptr, settings);
    const TCNotePitches* note = measures[7][0].get();
    const TCNotePitches* related = measures[static_cast<size_t>(7 - distance)][0].get();
    context.AddFinding(FindingKind::PitchDiffSameOctave, note->GetPitchAt(0), note, related->GetPitchAt(0), related);
    return LastFinding()->parentheses;
  };
  EXPECT_TRUE(parenthesesAt(kParenNextMeasure, 1));
  EXPECT_FALSE(parenthesesAt(kParenNextMeasure, 0));
  EXPECT_FALSE(parenthesesAt(kParenNextMeasure, 2));
  EXPECT_TRUE(parenthesesAt(kParenSameMeasure, 0));
  EXPECT_FALSE(parenthesesAt(kParenSameMeasure, 1));
  EXPECT_TRUE(parenthesesAt(kParenSecondMeasure, 2));
  EXPECT_TRUE(parenthesesAt(kParenSecondMeasure, 7));
  EXPECT_FALSE(parenthesesAt(kParenSecondMeasure | kParenSameBeat, 1));
}

}  // namespace
}  // namespace scan_test
