// Host edits: cancel puts the document back exactly, commits make undo steps.
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

class HostEdits : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    staff = builder.AddStaff("Horn");
    builder.AddMeasures(4);
    builder.SetUnlaidSystems(true);
    builder.Voice(staff).Note("Bb4", kWhole);
  }

  // Changes a measure record and the first note of measure 1 through the API, as the plug-in does.
  void ChangeRecordAndNote(uint16_t key, uint32_t noteFlag) {
    uint8_t address[8] = {};
    Write<int16_t>(address, 0, 2);
    std::vector<uint8_t> measure(30, 0);
    int32_t size = 30;
    ASSERT_TRUE(TX_LoadEData(kMeasureTag, address, measure.data(), &size, 0x12000000));
    Write<uint16_t>(measure.data(), 2, key);
    ASSERT_TRUE(TX_SaveEData(kMeasureTag, address, measure.data(), size, 0x12000000));
    void* frame = TX_LoadTGF(0, 1, 1, 0, 1);
    ASSERT_NE(frame, nullptr);
    uint8_t* note = NoteAt(EntryAt(frame, 0), 0);
    Write<uint32_t>(note, kNoteFlagsOffset, Read<uint32_t>(note, kNoteFlagsOffset) | noteFlag);
    ASSERT_TRUE(TX_SaveTGF(frame));
    TX_FreeTGF(frame);
  }

  ScoreBuilder builder;
  int16_t staff = 0;
};

TEST_F(HostEdits, CancelRestoresEveryRecordAndNote) {
  DocumentSnapshot before = Host().Snapshot();
  ASSERT_TRUE(TX_StartTavrelEdit_UTF16(u"Accidentals"));
  ChangeRecordAndNote(0x0003, kNoteAccidentalShown);
  ASSERT_TRUE(TX_UpdateLayout(1, 0));
  DocumentSnapshot changed = Host().Snapshot();
  EXPECT_NE(changed, before);
  std::string diff = DocumentSnapshot::Diff(before, changed);
  EXPECT_NE(diff.find("\"SOMS\" (2, 0)"), std::string::npos) << diff;
  EXPECT_NE(diff.find("cell (staff 11, measure 1, layer 1)"), std::string::npos) << diff;
  EXPECT_NE(diff.find("\"SOSS\" (1, 0)"), std::string::npos) << diff;

  ASSERT_TRUE(TX_CancelTavrelEdit());
  EXPECT_EQ(Host().Snapshot(), before) << DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_TRUE(Host().Edits().UndoHistory().empty());
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().Edits().OpenCount(), 0);
}

TEST_F(HostEdits, NestedEditsEachRestoreTheirOwnLevel) {
  DocumentSnapshot start = Host().Snapshot();
  ASSERT_TRUE(TX_StartTavrelEdit("Accidentals"));
  ChangeRecordAndNote(0x0001, kNoteAccidentalShown);
  DocumentSnapshot outerWork = Host().Snapshot();
  ASSERT_TRUE(TX_StartTavrelEdit("scan part for ties"));
  EXPECT_EQ(Host().Edits().OpenCount(), 2);
  ChangeRecordAndNote(0x00FE, kNoteParentheses);
  ASSERT_TRUE(TX_CancelTavrelEdit());
  EXPECT_EQ(Host().Snapshot(), outerWork);
  ASSERT_TRUE(TX_StartTavrelEdit("inner kept"));
  ChangeRecordAndNote(0x0002, kNoteParentheses);
  ASSERT_TRUE(TX_EndTavrelEdit());
  EXPECT_TRUE(Host().Edits().UndoHistory().empty());  // only the outermost commit makes an undo step
  ASSERT_TRUE(TX_EndTavrelEdit());
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(Host().Edits().Ended(), (std::vector<std::string>{"inner kept", "Accidentals"}));

  EntryInfo entry;
  ASSERT_TRUE(Host().Queries().EntryAt(staff, 1, 1, 0, &entry));
  EXPECT_TRUE(entry.notes[0].AccidentalShown());
  EXPECT_TRUE(entry.notes[0].Parenthesised());
  ASSERT_TRUE(Host().Edits().Undo());
  EXPECT_EQ(Host().Snapshot(), start) << DocumentSnapshot::Diff(start, Host().Snapshot());
  EXPECT_FALSE(Host().Edits().Undo());
}

TEST_F(HostEdits, EndingAnEditThatIsNotOpenIsReported) {
  EXPECT_EQ(Host().Handler().EndEdit(), 0);
  EXPECT_EQ(Host().Handler().CancelEdit(), 0);
  EXPECT_EQ(Host().Misuse().CallErrors().size(), 2u);
  // The plug-in's own nesting counter keeps such calls from reaching the host.
  EXPECT_EQ(TX_EndTavrelEdit(), 1);
  EXPECT_EQ(Host().CallLog().Count("TX_EndTavrelEdit"), 0);
}

TEST_F(HostEdits, UndoGoesBackOneCommittedEditAtATime) {
  ASSERT_TRUE(TX_StartTavrelEdit_UTF16(u"first"));
  ChangeRecordAndNote(0x0001, kNoteAccidentalShown);
  ASSERT_TRUE(TX_EndTavrelEdit());
  DocumentSnapshot afterFirst = Host().Snapshot();
  ASSERT_TRUE(TX_StartTavrelEdit_UTF16(u"second"));
  ChangeRecordAndNote(0x0005, kNoteParentheses);
  ASSERT_TRUE(TX_EndTavrelEdit());
  EXPECT_EQ(Host().Edits().UndoHistory(), (std::vector<std::string>{"first", "second"}));
  ASSERT_TRUE(Host().Edits().Undo());
  EXPECT_EQ(Host().Snapshot(), afterFirst);
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"first"});
}

}  // namespace
}  // namespace headless
