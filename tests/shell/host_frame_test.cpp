// Saving a frame through the wrapper normalises its note IDs first; checked
// end to end against the headless host, in both builds.
#include <gtest/gtest.h>

#include "headless/score_builder.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"
#include "tests/headless/host_fixture.h"

namespace {

using namespace host_frame;

class SavedFrame : public headless::HostFixture {
 protected:
  // Loads layer 1 of the staff's measure 1, lets the test change its records
  // and saves it back through the wrapper.
  template <typename Change>
  void ChangeAndSave(int16_t staff, Change change) {
    int slot = Host().SlotOfStaff(0, staff);
    void* frame = TX_LoadTGF(0, slot, 1, 0, 1);
    ASSERT_NE(frame, nullptr);
    change(frame);
    EXPECT_NE(TX_SaveTGF(frame), 0);
    TX_FreeTGF(frame);
  }

  static void SetIds(void* entry, std::initializer_list<int16_t> ids) {
    int index = 0;
    for (int16_t id : ids) Write<int16_t>(NoteAt(entry, index++), kNoteIdOffset, id);
  }
};

TEST_F(SavedFrame, DuplicateAndMissingNoteIdsAreRenumbered) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Piano");
  builder.AddMeasures(1);
  auto voice = builder.Voice(staff);
  uint32_t zeros = voice.Chord({"C4", "E4", "G4"}, headless::kQuarter);
  uint32_t fours = voice.Chord({"D4", "F4", "A4"}, headless::kQuarter);

  ChangeAndSave(staff, [](void* frame) {
    SetIds(EntryAt(frame, 0), {0, 0, 0});
    SetIds(EntryAt(frame, 1), {4, 4, 7});
  });

  headless::EntryInfo entry;
  ASSERT_TRUE(Host().Queries().FindEntry(zeros, &entry));
  ASSERT_EQ(entry.notes.size(), 3u);
  EXPECT_EQ(entry.notes[0].id, 1);
  EXPECT_EQ(entry.notes[1].id, 2);
  EXPECT_EQ(entry.notes[2].id, 3);
  EXPECT_EQ(entry.notes[2].flags & kNoteIdCopyMask, 3u << 16) << "the ID's low bits are copied into the flags";
  ASSERT_TRUE(Host().Queries().FindEntry(fours, &entry));
  EXPECT_EQ(entry.notes[0].id, 8);
  EXPECT_EQ(entry.notes[1].id, 4);
  EXPECT_EQ(entry.notes[2].id, 7);
}

TEST_F(SavedFrame, AnEntryWithoutNotesGetsAPlaceholderNote) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  uint32_t number = builder.Voice(staff).Chord({"C5", "E5"}, headless::kHalf);

  ChangeAndSave(staff, [](void* frame) {
    uint8_t* entry = EntryAt(frame, 0);
    Write<int16_t>(entry, kNoteCountOffset, 0);
  });

  headless::EntryInfo entry;
  ASSERT_TRUE(Host().Queries().FindEntry(number, &entry));
  ASSERT_EQ(entry.notes.size(), 1u);
  EXPECT_EQ(entry.notes[0].flags, kNotePlaceholder);
  EXPECT_NE(entry.flags & kEntryNoteAdded, 0u);
}

TEST_F(SavedFrame, TheWrapperReachesTheHostInBothBuilds) {
  Host().Layers().SetMaxLayers(6);
  EXPECT_TRUE(TXIsBound(TXFunction::TX_GetMaxLayers));
  EXPECT_EQ(TX_GetMaxLayers(), 6);
  EXPECT_EQ(Host().CallLog().Count("TX_GetMaxLayers"), 1);
}

}  // namespace
