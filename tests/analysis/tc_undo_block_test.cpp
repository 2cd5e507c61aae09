#include "analysis/tc_undo_block.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/tc_string.h"
#include "headless/score_builder.h"
#include "score/tc_measure.h"
#include "shell/tx_api.h"
#include "tests/headless/host_fixture.h"

namespace {

// Changes the key of measure 1 through the plug-in's records and records what
// it saw while it ran.
class KeyChangingHandler : public __TCUndoBlockHandler {
 public:
  explicit KeyChangingHandler(bool result) : result_(result) {}

  bool Execute() override {
    ++runs;
    blockDuringRun = GetUndoBlock();
    activeDuringRun = blockDuringRun && blockDuringRun->IsActive();
    TCMeasure measure;
    if (measure.Load(1)) {
      measure.SetKeyValue(3);
      measure.Save();
    }
    return result_;
  }

  int runs = 0;
  TCUndoBlock* blockDuringRun = nullptr;
  bool activeDuringRun = false;

 private:
  bool result_;
};

class UndoBlockTest : public headless::HostFixture {
 protected:
  void MakeScore() {
    headless::ScoreBuilder builder;
    builder.AddStaff("Flute");
    builder.AddMeasures(2);
  }
  uint16_t KeyOfMeasureOne() {
    TCMeasure measure;
    return measure.Load(1) ? measure.GetKeyValue() : 0xFFFF;
  }
};

TEST_F(UndoBlockTest, MissingHandlerOrNameStartsNoEdit) {
  MakeScore();
  KeyChangingHandler handler(true);
  TCUndoBlock block;
  EXPECT_FALSE(block.ExecuteHandler(nullptr, "Accidentals"));
  EXPECT_FALSE(block.ExecuteHandler(&handler, static_cast<const char*>(nullptr)));
  EXPECT_FALSE(block.ExecuteHandler(&handler, static_cast<const TCString*>(nullptr)));
  EXPECT_EQ(handler.runs, 0);
  EXPECT_EQ(Host().CallLog().Count("TX_StartTavrelEdit") + Host().CallLog().Count("TX_StartTavrelEdit_UTF16"), 0);
}

TEST_F(UndoBlockTest, SucceedingWorkIsCommittedAsOneNamedEdit) {
  MakeScore();
  KeyChangingHandler handler(true);
  TCUndoBlock block;
  EXPECT_TRUE(block.ExecuteHandler(&handler, "Accidentals"));
  EXPECT_EQ(handler.runs, 1);
  EXPECT_EQ(handler.blockDuringRun, &block);
  EXPECT_TRUE(handler.activeDuringRun);
  EXPECT_EQ(handler.GetUndoBlock(), nullptr) << "no block reference outside a run";
  EXPECT_FALSE(block.IsActive());
  EXPECT_EQ(Host().CallLog().Count("TX_EndTavrelEdit"), 1);
  EXPECT_EQ(Host().CallLog().Count("TX_CancelTavrelEdit"), 0);
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(KeyOfMeasureOne(), 3);
  EXPECT_EQ(TXEditNesting(), 0);
}

TEST_F(UndoBlockTest, FailingWorkIsCancelledOnceAndLeavesNothing) {
  MakeScore();
  headless::DocumentSnapshot before = Host().Snapshot();
  KeyChangingHandler handler(false);
  TCUndoBlock block;
  EXPECT_FALSE(block.ExecuteHandler(&handler, "view"));
  EXPECT_EQ(handler.runs, 1);
  EXPECT_EQ(Host().CallLog().Count("TX_CancelTavrelEdit"), 1);
  EXPECT_EQ(Host().CallLog().Count("TX_EndTavrelEdit"), 0);
  EXPECT_TRUE(Host().Edits().UndoHistory().empty());
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"view"});
  EXPECT_TRUE(Host().Snapshot() == before) << headless::DocumentSnapshot::Diff(before, Host().Snapshot());
  EXPECT_EQ(TXEditNesting(), 0);
}

TEST_F(UndoBlockTest, LongNamesAreCutTo63Characters) {
  MakeScore();
  std::string seventy(70, 'n');
  for (size_t i = 0; i < seventy.size(); ++i) seventy[i] = static_cast<char>('a' + i % 26);
  KeyChangingHandler handler(true);
  TCUndoBlock block;
  block.ExecuteHandler(&handler, seventy.c_str());
  std::vector<headless::HostCall> starts = Host().CallLog().Named("TX_StartTavrelEdit_UTF16");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].text, seventy.substr(0, 63));

  // A character outside the basic plane that would be split by the cut is left out whole.
  std::string clef = std::string(62, 'x') + "\xF0\x9D\x84\x9E" + "yz";
  TCString clefName;
  clefName.SetUTF8(clef.c_str());
  block.ExecuteHandler(&handler, &clefName);
  starts = Host().CallLog().Named("TX_StartTavrelEdit_UTF16");
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1].text, std::string(62, 'x'));
}

TEST_F(UndoBlockTest, OlderHostsGetEightBitNames) {
  ReinstallHost(0x10FFFFFF);
  MakeScore();
  KeyChangingHandler handler(true);
  TCUndoBlock block;
  block.ExecuteHandler(&handler, "Accidentals");
  ASSERT_EQ(Host().CallLog().Count("TX_StartTavrelEdit"), 1);
  EXPECT_EQ(Host().CallLog().Named("TX_StartTavrelEdit")[0].text, "Accidentals");
  EXPECT_EQ(Host().CallLog().Count("TX_StartTavrelEdit_UTF16"), 0);

  ReinstallHost(0x11000000);
  MakeScore();
  block.ExecuteHandler(&handler, "Accidentals");
  EXPECT_EQ(Host().CallLog().Count("TX_StartTavrelEdit"), 0);
  EXPECT_EQ(Host().CallLog().Count("TX_StartTavrelEdit_UTF16"), 1);
}

TEST_F(UndoBlockTest, RefusedEditStillRunsTheWorkAndClosesNoOtherEdit) {
  // Without a document the host refuses to start an edit.
  KeyChangingHandler handler(true);
  TCUndoBlock block;
  EXPECT_TRUE(block.ExecuteHandler(&handler, "Accidentals"));
  EXPECT_EQ(handler.runs, 1);
  EXPECT_EQ(handler.blockDuringRun, nullptr);
  EXPECT_EQ(Host().CallLog().Count("TX_EndTavrelEdit"), 0);
  EXPECT_EQ(Host().CallLog().Count("TX_CancelTavrelEdit"), 0);
  EXPECT_TRUE(Host().Misuse().CallErrors().empty());
  EXPECT_EQ(TXEditNesting(), 0);
}

TEST_F(UndoBlockTest, InnerBlockEndsOnlyItsOwnEdit) {
  MakeScore();
  class OuterHandler : public __TCUndoBlockHandler {
   public:
    bool Execute() override {
      KeyChangingHandler inner(false);
      TCUndoBlock innerBlock;
      innerBlock.ExecuteHandler(&inner, "scan part for ties");
      return true;
    }
  } outer;
  TCUndoBlock block;
  EXPECT_TRUE(block.ExecuteHandler(&outer, "Accidentals"));
  EXPECT_EQ(Host().Edits().Cancelled(), std::vector<std::string>{"scan part for ties"});
  EXPECT_EQ(Host().Edits().UndoHistory(), std::vector<std::string>{"Accidentals"});
  EXPECT_EQ(KeyOfMeasureOne(), 0) << "the cancelled inner edit took its change back";
  EXPECT_EQ(Host().Edits().OpenCount(), 0);
}

}  // namespace
