// Note-entry frames and entry metrics as the host hands them out.
#include <cstring>
#include <vector>

#include "headless/host_call_handler.h"
#include "headless/record_layouts.h"
#include "headless/score_builder.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"
#include "tests/headless/host_fixture.h"

namespace headless {
namespace {

using namespace host_frame;

class HostFrames : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    violin = builder.AddStaff("Violin");
    cello = builder.AddStaff("Cello");
    builder.AddMeasures(2);
    builder.SetKey(1, 2);  // D major
    auto voice = builder.Voice(violin);
    first = voice.Note("F#4", kQuarter);
    chord = voice.Chord({"D4", "F4!", "A4"}, kQuarter);
    voice.Rest(kHalf);
  }

  ScoreBuilder builder;
  int16_t violin = 0;
  int16_t cello = 0;
  uint32_t first = 0;
  uint32_t chord = 0;
};

uint32_t NoteFlags(void* frame, int entry, int note) {
  return Read<uint32_t>(NoteAt(EntryAt(frame, entry), note), kNoteFlagsOffset);
}

TEST_F(HostFrames, AFrameHoldsTheCellOfTheStaffAtTheSlot) {
  ASSERT_TRUE(builder.SetSlotOrder({cello, violin}));
  void* frame = TX_LoadTGF(0, 2, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Read<uint16_t>(frame, kSlotListOffset), HostSelection::SlotListValue());
  EXPECT_EQ(Read<int16_t>(frame, kSlotOffset), 2);
  EXPECT_EQ(Read<int16_t>(frame, kMeasureOffset), 1);
  EXPECT_EQ(Read<int16_t>(frame, kLayerOffset), 0);
  EXPECT_EQ(Read<int16_t>(frame, kReadOnlyOffset), 0);
  ASSERT_EQ(FrameEntryCount(frame), 3);
  EXPECT_EQ(Read<uint32_t>(EntryAt(frame, 1), kEntryNumberOffset), chord);
  EXPECT_EQ(Read<int32_t>(EntryAt(frame, 1), kPositionOffset), kQuarter);
  EXPECT_EQ(NoteCount(EntryAt(frame, 1)), 3);
  EXPECT_EQ(TX_SlotToInst(Read<int16_t>(frame, kSlotOffset), Read<uint16_t>(frame, kSlotListOffset)), violin);
  EXPECT_TRUE(TX_FreeTGF(frame));

  // An empty cell is a frame without entries; what does not exist is no frame.
  void* empty = TX_LoadTGF(0, 1, 2, 3, 1);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(FrameEntryCount(empty), 0);
  EXPECT_TRUE(TX_FreeTGF(empty));
  EXPECT_EQ(TX_LoadTGF(0, 3, 1, 0, 1), nullptr);
  EXPECT_EQ(TX_LoadTGF(0, 1, 3, 0, 1), nullptr);
  EXPECT_EQ(TX_LoadTGF(0, 1, 1, 4, 1), nullptr);
}

TEST_F(HostFrames, AStaffNumberPassedAsASlotDoesNotFindTheStaff) {
  // Staff numbers start at 11, so a slot/staff mix-up loads nothing here.
  EXPECT_EQ(TX_LoadTGF(0, violin, 1, 0, 1), nullptr);
  EXPECT_EQ(TX_SlotToInst(violin, 0), 0);
  EXPECT_EQ(TX_InstToSlot(violin, 0), 1);
  EXPECT_EQ(TX_InstToSlot(1, 0), 0);
  // In a bigger score the cello's staff number taken as a slot finds another staff.
  for (int i = 0; i < 10; ++i) builder.AddStaff("Extra");
  ASSERT_EQ(cello, 12);
  EXPECT_EQ(TX_SlotToInst(cello, 0), 22);
  EXPECT_EQ(TX_InstToSlot(cello, 0), 2);
}

TEST_F(HostFrames, SavingWritesTheEntriesBack) {
  void* frame = TX_LoadTGF(0, 1, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  uint8_t* note = NoteAt(EntryAt(frame, 0), 0);
  Write<uint32_t>(note, kNoteFlagsOffset, NoteFlags(frame, 0, 0) | kNoteAccidentalShown | kNoteParentheses);
  EXPECT_TRUE(TX_SaveTGF(frame));
  EXPECT_TRUE(TX_FreeTGF(frame));
  EntryInfo entry;
  ASSERT_TRUE(Host().Queries().FindEntry(first, &entry));
  EXPECT_TRUE(entry.notes[0].AccidentalShown());
  EXPECT_TRUE(entry.notes[0].Parenthesised());
  EXPECT_EQ(entry.staff, violin);
  EXPECT_EQ(entry.measure, 1);
}

TEST_F(HostFrames, ReadOnlyFramesAreMarkedAndRefused) {
  Host().SetCellReadOnly(violin, 1, 1, true);
  DocumentSnapshot before = Host().Snapshot();
  void* frame = TX_LoadTGF(0, 1, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  EXPECT_NE(Read<int16_t>(frame, kReadOnlyOffset), 0);
  Write<int32_t>(EntryAt(frame, 0), kPositionOffset, 512);
  EXPECT_FALSE(TX_SaveTGF(frame));
  EXPECT_TRUE(TX_FreeTGF(frame));
  EXPECT_EQ(Host().Snapshot(), before);
  EXPECT_EQ(Host().Misuse().FrameErrors().size(), 1u);
  Host().Misuse().Clear();
}

TEST_F(HostFrames, MisuseOfFramesIsReported) {
  void* frame = TX_LoadTGF(0, 1, 1, 0, 1);
  void* leaked = TX_LoadTGF(0, 1, 2, 0, 1);
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(leaked, nullptr);
  EXPECT_EQ(Host().Frames().LiveFrames(), 2);
  EXPECT_TRUE(TX_FreeTGF(frame));
  EXPECT_FALSE(TX_FreeTGF(frame));
  int unknown = 0;
  EXPECT_FALSE(TX_FreeTGF(&unknown));
  EXPECT_EQ(Host().Frames().LiveFrames(), 1);
  ASSERT_EQ(Host().Misuse().FrameErrors().size(), 2u);
  EXPECT_NE(Host().Misuse().FrameErrors()[0].find("freed before"), std::string::npos);
  EXPECT_NE(Host().Misuse().FrameErrors()[1].find("unknown"), std::string::npos);

  // A header whose count grew beyond the entries the host gave is not saved
  // (asked of the host directly: the plug-in's wrapper would walk the entries first).
  SetFrameEntryCount(leaked, 5);
  EXPECT_FALSE(Host().Handler().SaveTGF(leaked));
  EXPECT_EQ(Host().Misuse().FrameErrors().size(), 3u);
  SetFrameEntryCount(leaked, 0);
  EXPECT_TRUE(TX_FreeTGF(leaked));
  Host().Misuse().Clear();
}

TEST_F(HostFrames, EntryMetricsTellWhichAccidentalsAreDrawn) {
  uint8_t metrics[316] = {};
  ASSERT_TRUE(TX_GetEntryMetrics2014(chord, 1, violin, metrics, 1));
  EXPECT_EQ(Read<int16_t>(metrics, 8), 3);
  EXPECT_EQ(Read<int16_t>(metrics, 66), 1);
  EXPECT_EQ(Read<int16_t>(metrics, 66 + 20 * 2), 3);
  EXPECT_EQ(metrics[304], 0);
  EXPECT_NE(metrics[305], 0);  // F4! shows its natural
  EXPECT_EQ(metrics[306], 0);
  EXPECT_EQ(Host().Frames().LiveMetrics(), 1);
  // Loading again before freeing is misuse.
  ASSERT_TRUE(TX_GetEntryMetrics2014(chord, 1, violin, metrics, 0));
  EXPECT_EQ(Host().Misuse().FrameErrors().size(), 1u);
  Host().Misuse().Clear();
  EXPECT_TRUE(TX_FreeEntryMetrics(metrics));
  EXPECT_FALSE(TX_FreeEntryMetrics(metrics));
  EXPECT_EQ(Host().Misuse().FrameErrors().size(), 1u);
  Host().Misuse().Clear();

  // The entry must be in the named cell.
  EXPECT_FALSE(TX_GetEntryMetrics2014(chord, 2, violin, metrics, 0));
  EXPECT_FALSE(TX_GetEntryMetrics2014(chord, 1, cello, metrics, 0));

  uint8_t older[304] = {};
  ASSERT_TRUE(TX_GetEntryMetrics2009a(first, 1, violin, older, 0));
  EXPECT_EQ(Read<int16_t>(older, 8), 1);
  EXPECT_TRUE(TX_FreeEntryMetrics(older));
}

// The host remembers where the entries of a measure stand between metrics
// calls; a save that moves them and a restore that moves them back must be seen.
TEST_F(HostFrames, EntryMetricsFollowEntriesMovedBySavesAndRestores) {
  auto noteCount = [this](uint32_t entry) {
    uint8_t metrics[316] = {};
    if (!TX_GetEntryMetrics2014(entry, 1, violin, metrics, 1)) return -1;
    int16_t count = Read<int16_t>(metrics, 8);
    TX_FreeEntryMetrics(metrics);
    return static_cast<int>(count);
  };
  DocumentSnapshot before = Host().Snapshot();
  EXPECT_EQ(noteCount(first), 1);
  EXPECT_EQ(noteCount(chord), 3);
  // The chord and the rest move up over the first entry, which is dropped.
  void* frame = TX_LoadTGF(0, 1, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(FrameEntryCount(frame), 3);
  std::memmove(EntryAt(frame, 0), EntryAt(frame, 1), 2 * kEntrySize);
  SetFrameEntryCount(frame, 2);
  EXPECT_TRUE(TX_SaveTGF(frame));
  EXPECT_TRUE(TX_FreeTGF(frame));
  EXPECT_EQ(noteCount(first), -1);
  EXPECT_EQ(noteCount(chord), 3);
  ASSERT_TRUE(Host().Restore(before));
  EXPECT_EQ(noteCount(first), 1);
  EXPECT_EQ(noteCount(chord), 3);
}

TEST_F(HostFrames, TheNewerMetricsDoNotExistBeforeHost0x12000000) {
  ReinstallHost(0x11FFFFFF);
  ScoreBuilder older;
  int16_t staff = older.AddStaff("Flute");
  older.AddMeasures(1);
  uint32_t entry = older.Voice(staff).Note("C4", kQuarter);
  uint8_t metrics[316] = {};
  EXPECT_FALSE(TX_GetEntryMetrics2014(entry, 1, staff, metrics, 1));
  EXPECT_EQ(Host().Misuse().CallErrors().size(), 1u);
}

TEST_F(HostFrames, SourceTagsStayWithTheirNotesThroughSaves) {
  NoteSpec tagged;
  tagged.letter = 'G';
  tagged.octave = 3;
  tagged.sourceTag = 0xABCDEF0012345678ull;
  NoteSpec other;
  other.letter = 'B';
  other.octave = 3;
  other.sourceTag = 42;
  uint32_t entry = builder.AddEntry(cello, 1, 1, 0, kHalf, {tagged, other});
  ASSERT_NE(entry, 0u);

  void* frame = TX_LoadTGF(0, 2, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  uint8_t* note = NoteAt(EntryAt(frame, 0), 1);
  Write<uint32_t>(note, kNoteFlagsOffset, Read<uint32_t>(note, kNoteFlagsOffset) | kNoteAccidentalShown);
  ASSERT_TRUE(TX_SaveTGF(frame));
  TX_FreeTGF(frame);

  std::vector<TaggedNote> notes = Host().Queries().NotesWithTags();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].sourceTag, 0xABCDEF0012345678ull);
  EXPECT_EQ(notes[0].entryNumber, entry);
  EXPECT_FALSE(notes[0].note.AccidentalShown());
  EXPECT_EQ(notes[1].sourceTag, 42u);
  EXPECT_EQ(notes[1].noteIndex, 1);
  EXPECT_TRUE(notes[1].note.AccidentalShown());
}

}  // namespace
}  // namespace headless
