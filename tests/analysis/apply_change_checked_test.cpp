// Applying checked findings: which notes get their accidental, with which
// flags, and how the edit is kept or cancelled.
#include "analysis/tc_change_checked_handler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "analysis/finding_kind.h"
#include "apply_test_support.h"

using headless::kQuarter;

namespace {

constexpr uint32_t kShownAndMarked = host_frame::kNoteAccidentalShown | host_frame::kNoteApplied;
constexpr int32_t kEndOfMeasure = std::numeric_limits<int32_t>::max();

bool RunHandler(TCChangeCheckedHandler* handler, const TCMusicRegion* region) {
  handler->SetRegion(region);
  TCUndoBlock block;
  return block.ExecuteHandler(handler, TCChangeCheckedHandler::kEditName);
}

}  // namespace

TEST_F(ApplyTest, NoteChangedAfterTheScanIsLeftAloneAndTheOthersApplied) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  uint32_t fSharp = voice.Note("F#4", kQuarter);
  uint32_t cSharp = voice.Note("C#5", kQuarter);
  uint32_t gSharp = voice.Note("G#4", kQuarter);
  uint32_t dSharp = voice.Note("D#5", kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  for (uint32_t entry : {fSharp, cSharp, gSharp, dSharp}) ASSERT_NE(list.FindingOfNote(entry), nullptr);

  ChangeNote(cSharp, 1, 0);   // now D#5
  ChangeNote(gSharp, 0, -1);  // now G4
  headless::NoteInfo transposed = StoredNote(cSharp);
  headless::NoteInfo lowered = StoredNote(gSharp);

  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &region));

  EXPECT_EQ(AppliedBits(fSharp), kShownAndMarked);
  EXPECT_EQ(AppliedBits(dSharp), kShownAndMarked);
  EXPECT_EQ(StoredNote(cSharp).flags, transposed.flags);
  EXPECT_EQ(StoredNote(gSharp).flags, lowered.flags);
  EXPECT_TRUE(list.FindingOfNote(fSharp)->applied);
  EXPECT_TRUE(list.FindingOfNote(dSharp)->applied);
  EXPECT_FALSE(list.FindingOfNote(cSharp)->applied);
  EXPECT_FALSE(list.FindingOfNote(gSharp)->applied);
}

TEST_F(ApplyTest, AppliedFlagsFollowTheFindingAndKeepTheRestOfTheNote) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  auto voice = builder.Voice(flute);
  uint32_t plain = voice.Note("F#4", kQuarter);
  uint32_t bracketed = voice.Chord({"C4", "Eb4", "G4"}, kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  AccidentalFinding* chordFinding = list.FindingOfNote(bracketed, 1);
  ASSERT_NE(chordFinding, nullptr);
  ASSERT_NE(list.FindingOfNote(plain), nullptr);
  ASSERT_FALSE(list.FindingOfNote(plain)->parentheses);
  chordFinding->parentheses = true;  // as the "( ) Toggle" command leaves it
  headless::NoteInfo before = StoredNote(bracketed, 1);

  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &region));

  EXPECT_EQ(AppliedBits(plain), kShownAndMarked);
  EXPECT_EQ(AppliedBits(bracketed, 1), kAppliedFlagBits);
  headless::NoteInfo after = StoredNote(bracketed, 1);
  EXPECT_EQ(after.displacement, before.displacement);
  EXPECT_EQ(after.raiseLower, before.raiseLower);
  EXPECT_EQ(after.id, before.id);
  EXPECT_EQ(after.flags & ~kAppliedFlagBits, before.flags & ~kAppliedFlagBits);
  // The other notes of the chord needed nothing and got nothing.
  EXPECT_EQ(AppliedBits(bracketed, 0), 0u);
  EXPECT_EQ(AppliedBits(bracketed, 2), 0u);
}

TEST_F(ApplyTest, TheFindingsOfACellAreWrittenWithOneLoadAndOneSaveOfIt) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(2);
  auto fluteVoice = builder.Voice(flute);
  std::vector<uint32_t> notes;
  // A long measure of sharps and naturals in turn, each needing its accidental.
  for (int i = 0; i < 64; ++i) notes.push_back(fluteVoice.Note(i % 2 ? "F4" : "F#4", kQuarter / 16));
  fluteVoice.NextMeasure();
  notes.push_back(fluteVoice.Note("G#4", kQuarter));
  notes.push_back(builder.Voice(oboe).Note("D#5", kQuarter));
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  for (uint32_t note : notes) ASSERT_NE(list.FindingOfNote(note), nullptr);
  ChangeNote(notes[5], 0, -1);  // no longer the pitch of the scan
  Host().CallLog().Clear();

  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &region));
  for (uint32_t note : notes) {
    bool changed = note == notes[5];
    EXPECT_EQ(list.FindingOfNote(note)->applied, !changed) << note;
    EXPECT_EQ(AppliedBits(note), changed ? 0u : kShownAndMarked) << note;
  }
  // Three cells, each loaded and saved once, one frame for each layer.
  EXPECT_EQ(Host().CallLog().Count("TX_LoadTGF"), 3 * Host().Layers().MaxLayers());
  EXPECT_EQ(Host().CallLog().Count("TX_SaveTGF"), 3 * Host().Layers().MaxLayers());
}

TEST_F(ApplyTest, UncheckedRowsAreNeverAppliedUntilChecked) {
  AnalysisSettings settings;
  settings.systemTieMode = 7;  // report all, uncheck score/part conflicts
  headless::ScoreBuilder builder;
  int16_t clarinet = builder.AddStaff("Clarinet");
  builder.AddMeasures(4);
  int16_t part = builder.AddPart("Clarinet", {clarinet});
  // The part breaks its system before measure 3; the score does not.
  ASSERT_TRUE(builder.SetSystemStarts(part, {1, 3}));
  auto voice = builder.Voice(clarinet);
  uint32_t fSharp = voice.Note("F#4", kQuarter);
  voice.NextMeasure();
  voice.Rest(2 * kQuarter);
  voice.Note("Bb4!", 2 * kQuarter);
  uint32_t tied = voice.Note("~Bb4", 2 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region, settings));
  int32_t tieRow = list.RowOfNote(tied, 0);
  int32_t sharpRow = list.RowOfNote(fSharp, 0);
  ASSERT_GE(tieRow, 0);
  ASSERT_GE(sharpRow, 0);
  ASSERT_EQ(list.FindingAt(tieRow)->kind, FindingKind::SystemBreakTieMismatched);
  EXPECT_FALSE(list.GetRowAt(tieRow)->IsChecked());
  list.GetRowAt(sharpRow)->SetChecked(false);
  headless::DocumentSnapshot before = Host().Snapshot();
  size_t historyBefore = Host().Edits().UndoHistory().size();

  TCChangeCheckedHandler handler(&list, true);
  EXPECT_FALSE(RunHandler(&handler, &region));
  EXPECT_EQ(Host().Snapshot(), before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_EQ(Host().Edits().UndoHistory().size(), historyBefore);
  EXPECT_TRUE(Host().Environment().MenuCommands().empty());
  EXPECT_EQ(CountAppliedFindings(list), 0);

  list.GetRowAt(tieRow)->SetChecked(true);
  EXPECT_TRUE(RunHandler(&handler, &region));
  EXPECT_EQ(AppliedBits(tied), kShownAndMarked);
  EXPECT_EQ(AppliedBits(fSharp), 0u);
  EXPECT_TRUE(list.FindingAt(tieRow)->applied);
  EXPECT_FALSE(list.FindingAt(sharpRow)->applied);
}

TEST_F(ApplyTest, OnlyFindingsInsideTheRegionAreApplied) {
  headless::ScoreBuilder builder;
  int16_t oboe = builder.AddStaff("Oboe");
  int16_t horn = builder.AddStaff("Horn");
  builder.AddMeasures(2);
  auto oboeVoice = builder.Voice(oboe);
  uint32_t oboeFirst = oboeVoice.Note("F#4", 4 * kQuarter);
  uint32_t oboeEarly = oboeVoice.Note("G#4", 2 * kQuarter);
  uint32_t oboeLate = oboeVoice.Note("C#5", 2 * kQuarter);
  auto hornVoice = builder.Voice(horn);
  uint32_t hornFirst = hornVoice.Note("Bb3", 4 * kQuarter);
  uint32_t hornSecond = hornVoice.Note("Eb4", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion scanned;
  ASSERT_TRUE(ScanSelection(&list, &scanned));
  for (uint32_t entry : {oboeFirst, oboeEarly, oboeLate, hornFirst, hornSecond}) {
    ASSERT_NE(list.FindingOfNote(entry), nullptr);
  }

  // The user answered No: the oboe in measure 2 from its second beat.
  ASSERT_TRUE(Host().Selection().Set(oboe, 2, kQuarter, oboe, 2, kEndOfMeasure));
  TCMusicRegion current;
  current.ReadCurrentSelection();
  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &current));

  EXPECT_EQ(AppliedBits(oboeLate), kShownAndMarked);
  for (uint32_t entry : {oboeFirst, oboeEarly, hornFirst, hornSecond}) {
    EXPECT_EQ(AppliedBits(entry), 0u) << "entry " << entry;
    EXPECT_FALSE(list.FindingOfNote(entry)->applied) << "entry " << entry;
  }
}

TEST_F(ApplyTest, NoteThatCannotBeWrittenIsNotReportedApplied) {
  headless::ScoreBuilder builder;
  int16_t violin = builder.AddStaff("Violin");
  int16_t viola = builder.AddStaff("Viola");
  builder.AddMeasures(1);
  uint32_t violinNote = builder.Voice(violin).Note("F#5", 4 * kQuarter);
  uint32_t violaNote = builder.Voice(viola).Note("C#4", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_NE(list.FindingOfNote(violinNote), nullptr);
  ASSERT_NE(list.FindingOfNote(violaNote), nullptr);
  Host().SetCellReadOnly(viola, 1, 1, true);

  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &region));
  EXPECT_TRUE(list.FindingOfNote(violinNote)->applied);
  EXPECT_FALSE(list.FindingOfNote(violaNote)->applied);
  EXPECT_EQ(AppliedBits(violaNote), 0u);

  // With only the unwritable note left, nothing is applied and the edit goes.
  list.RemoveApplied();
  headless::DocumentSnapshot before = Host().Snapshot();
  EXPECT_FALSE(RunHandler(&handler, &region));
  EXPECT_EQ(Host().Snapshot(), before);
  EXPECT_EQ(Host().Edits().Cancelled().back(), "Accidentals");
}

TEST_F(ApplyTest, NotesAreWrittenInTheScoreWhileALinkedPartIsShown) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  int16_t oboePart = builder.AddPart("Oboe", {oboe});
  uint32_t fluteNote = builder.Voice(flute).Note("F#5", 4 * kQuarter);
  uint32_t oboeNote = builder.Voice(oboe).Note("C#5", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion scanned;
  ASSERT_TRUE(ScanSelection(&list, &scanned));
  ASSERT_NE(list.FindingOfNote(fluteNote), nullptr);
  ASSERT_NE(list.FindingOfNote(oboeNote), nullptr);

  // In the part, slot 1 is the oboe; the flute has no slot there.
  ASSERT_TRUE(Host().SetCurrentPart(oboePart));
  ASSERT_TRUE(Host().Selection().SelectAll());
  TCMusicRegion inPart;
  inPart.ReadCurrentSelection();
  Host().CallLog().Clear();
  TCChangeCheckedHandler handler(&list, false);
  EXPECT_TRUE(RunHandler(&handler, &inPart));

  EXPECT_EQ(AppliedBits(oboeNote), kShownAndMarked);
  EXPECT_EQ(AppliedBits(fluteNote), 0u);
  EXPECT_EQ(Host().CurrentPart(), oboePart);
  // Every frame was loaded and saved with the score current.
  int16_t current = oboePart;
  for (const headless::HostCall& call : Host().CallLog().Calls()) {
    if (call.name == "TX_SetCurrentPartID" && !call.arguments.empty()) {
      current = static_cast<int16_t>(call.arguments[0]);
    }
    if (call.name == "TX_LoadTGF" || call.name == "TX_SaveTGF") {
      EXPECT_EQ(current, 0) << call.name;
    }
  }
  EXPECT_GT(Host().CallLog().Count("TX_SaveTGF"), 0);
}

TEST_F(ApplyTest, UndoingTheApplyGivesBackTheDocument) {
  headless::ScoreBuilder builder;
  int16_t piano = builder.AddStaff("Piano");
  builder.AddMeasures(2);
  builder.AddPart("Piano", {piano});
  auto voice = builder.Voice(piano);
  voice.Note("F#4", kQuarter);
  voice.Note("F4", kQuarter);
  voice.Chord({"C4", "E4", "G#4"}, 2 * kQuarter);
  voice.Note("Bb4", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_GE(list.GetRowCount(), 3);
  headless::DocumentSnapshot before = Host().Snapshot();

  EXPECT_TRUE(ApplyCheckedFindings(&list, &region, true));
  EXPECT_NE(Host().Snapshot(), before);
  ASSERT_FALSE(Host().Edits().UndoHistory().empty());
  EXPECT_EQ(Host().Edits().UndoHistory().back(), "Accidentals");
  EXPECT_EQ(CountAppliedFindings(list), list.GetRowCount());

  ASSERT_TRUE(Host().Edits().Undo());
  EXPECT_EQ(Host().Snapshot(), before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
}

TEST_F(ApplyTest, ScanningAgainAfterAnApplyReportsNoneOfTheAppliedNotes) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t cello = builder.AddStaff("Cello");
  builder.AddMeasures(3);
  builder.SetKey(3, 2);  // D major from measure 3
  auto fluteVoice = builder.Voice(flute);
  fluteVoice.Note("F#5", kQuarter);
  fluteVoice.Note("F5", kQuarter);
  fluteVoice.Note("C#5", 2 * kQuarter);
  fluteVoice.Note("C5", 4 * kQuarter);
  fluteVoice.Note("F#5", 4 * kQuarter);
  auto celloVoice = builder.Voice(cello);
  celloVoice.Note("F3", 4 * kQuarter);
  celloVoice.Note("Bb2", 4 * kQuarter);
  celloVoice.Note("C3", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());

  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_GE(list.GetRowCount(), 4);
  ASSERT_TRUE(ApplyCheckedFindings(&list, &region, true));
  std::set<std::pair<uint32_t, int32_t>> applied;
  for (int32_t i = 0; i < list.GetRowCount(); ++i) {
    const AccidentalFinding* finding = list.FindingAt(i);
    if (finding->applied) applied.insert({finding->entryNumber, finding->noteIndex});
  }
  EXPECT_EQ(static_cast<int32_t>(applied.size()), list.GetRowCount());
  list.RemoveApplied();
  EXPECT_EQ(list.GetRowCount(), 0);

  TCMusicRegion again;
  ASSERT_TRUE(ScanSelection(&list, &again));
  EXPECT_TRUE(again.IsEqual(&region));
  for (int32_t i = 0; i < list.GetRowCount(); ++i) {
    const AccidentalFinding* finding = list.FindingAt(i);
    EXPECT_EQ(applied.count({finding->entryNumber, finding->noteIndex}), 0u)
        << "reported again: entry " << finding->entryNumber << " note " << finding->noteIndex;
  }
  EXPECT_EQ(list.GetRowCount(), 0);
}

TEST_F(ApplyTest, HandlerWithoutListOrRegionChangesNothing) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(flute).Note("F#4", 4 * kQuarter);
  ASSERT_TRUE(Host().Selection().SelectAll());
  FindingList list;
  TCMusicRegion region;
  ASSERT_TRUE(ScanSelection(&list, &region));
  ASSERT_EQ(list.GetRowCount(), 1);
  headless::DocumentSnapshot before = Host().Snapshot();

  TCChangeCheckedHandler withoutRegion(&list, true);
  EXPECT_FALSE(RunHandler(&withoutRegion, nullptr));
  TCChangeCheckedHandler withoutList(nullptr, true);
  EXPECT_FALSE(RunHandler(&withoutList, &region));
  EXPECT_EQ(Host().Snapshot(), before);
  EXPECT_FALSE(list.FindingAt(0)->applied);
}
