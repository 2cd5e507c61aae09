#include "score/tc_base_data.h"

#include <gtest/gtest.h>

#include "score/tc_group.h"
#include "score/tc_groups.h"
#include "score/tc_key_signature.h"
#include "score/tc_measure.h"
#include "score/tc_multi_staff_instrument.h"
#include "score/tc_multi_staff_instruments.h"
#include "score/tc_staff.h"
#include "score/tc_text_block.h"
#include "shell/host_version.h"
#include "tests/score/score_test_support.h"

namespace {

constexpr uint32_t kVersions[] = {0x0FFFFFFF, 0x10000000, 0x10FFFFFF, 0x11000000, 0x11FFFFFF, 0x12000000, 0x12050000};

struct ExpectedLayouts {
  uint32_t measureVersion;
  int32_t measureSize;
  uint32_t staffVersion;
  int32_t staffSize;
  uint32_t groupVersion;
};

ExpectedLayouts LayoutsFor(uint32_t hostVersion) {
  ExpectedLayouts layouts{};
  bool newest = hostVersion >= 0x12000000;
  layouts.measureVersion = newest ? 0x12000000 : 0x0A000000;
  layouts.measureSize = newest ? 30 : 26;
  layouts.staffVersion = newest ? 0x12000000 : (hostVersion >= 0x11000000 ? 0x11000000 : 0x0F000000);
  layouts.staffSize = newest ? 136 : (hostVersion >= 0x11000000 ? 132 : 114);
  layouts.groupVersion = hostVersion >= 0x10000000 ? 0x12050000 : 0x09000000;
  return layouts;
}

class RecordBaseTest : public ScoreDataTest {};

TEST_F(RecordBaseTest, LayoutVersionAndSizeFollowTheHostVersion) {
  for (uint32_t version : kVersions) {
    SCOPED_TRACE(testing::Message() << "host version 0x" << std::hex << version);
    ReinstallHost(version);
    headless::ScoreBuilder builder;
    int16_t first = builder.AddStaff("Violin");
    int16_t second = builder.AddStaff("Viola");
    builder.AddMeasures(2);
    builder.AddGroup(first, second, "Strings", 1);
    ExpectedLayouts expected = LayoutsFor(version);

    TCMeasure measure;
    ASSERT_TRUE(measure.Load(1));
    EXPECT_EQ(measure.GetDataVersion(), expected.measureVersion);
    EXPECT_EQ(measure.GetLoadedSize(), expected.measureSize);

    TCStaff staff;
    ASSERT_TRUE(staff.Load(first));
    EXPECT_EQ(staff.GetDataVersion(), expected.staffVersion);
    EXPECT_EQ(staff.GetLoadedSize(), expected.staffSize);

    TCCurrentStaffSpec spec;
    ASSERT_TRUE(spec.LoadAtPosition(first, 2, headless::kQuarter));
    EXPECT_EQ(spec.GetLoadedSize(), expected.staffSize);

    TCGroups groups;
    ASSERT_EQ(groups.LoadAll(), 1);
    EXPECT_EQ(groups.GetGroupAt(0)->GetDataVersion(), expected.groupVersion);
    EXPECT_EQ(groups.GetGroupAt(0)->GetFirstStaff(), first);
    EXPECT_EQ(groups.GetGroupAt(0)->GetLastStaff(), second);
    // The host reports every call made with a layout version it does not expect.
    EXPECT_TRUE(Host().Misuse().CallErrors().empty());
  }
}

TEST_F(RecordBaseTest, SaveOfARecordNeverLoadedIsRefusedWithoutAHostCall) {
  headless::ScoreBuilder builder;
  builder.AddMeasures(1);
  Host().CallLog().Clear();
  TCMeasure measure;
  EXPECT_FALSE(measure.Save());
  EXPECT_FALSE(measure.SaveAs(1));
  EXPECT_FALSE(measure.SaveNew());
  TCStaff staff;
  EXPECT_FALSE(staff.Reload());
  EXPECT_EQ(CountCalls("TX_SaveEData"), 0);
  EXPECT_EQ(CountCalls("TX_CreateEData"), 0);
  EXPECT_EQ(CountCalls("TX_LoadEData"), 0);
}

TEST_F(RecordBaseTest, FailedLoadsLeaveTheRecordUnsaveable) {
  headless::ScoreBuilder builder;
  builder.AddMeasures(3);
  TCMeasure measure;
  ASSERT_TRUE(measure.Load(3));
  EXPECT_FALSE(measure.LoadNext());
  EXPECT_EQ(measure.GetLoadedSize(), 0);
  EXPECT_FALSE(measure.Save());
  EXPECT_EQ(measure.GetKeySignature(), nullptr);

  ASSERT_TRUE(measure.Load(2));
  EXPECT_FALSE(measure.Load(9));
  EXPECT_FALSE(measure.IsLoaded());
}

TEST_F(RecordBaseTest, SaveNewAsksTheHostForTheAddress) {
  headless::ScoreBuilder builder;
  int16_t first = builder.AddStaff("Piano right");
  int16_t second = builder.AddStaff("Piano left");
  builder.AddMeasures(1);
  int16_t existing = builder.AddInstrument({first, second}, "Piano");
  ASSERT_NE(existing, 0);

  TCMultiStaffInstrument instrument;
  ASSERT_TRUE(instrument.Load(existing));
  int before = Host().Queries().RecordCount(TCMultiStaffInstrument::kTag);
  ASSERT_TRUE(instrument.SaveNew());
  EXPECT_EQ(Host().Queries().RecordCount(TCMultiStaffInstrument::kTag), before + 1);
  EXPECT_GT(instrument.GetNumber(), 0);
  EXPECT_NE(instrument.GetNumber(), existing);
  std::vector<uint8_t> copy = StoredRecord(TCMultiStaffInstrument::kTag, instrument.GetNumber());
  EXPECT_EQ(copy, StoredRecord(TCMultiStaffInstrument::kTag, existing));

  // Records meant to be made from scratch can be created without a load.
  TCTextBlock block;
  int blocksBefore = Host().Queries().RecordCount(TCTextBlock::kTag);
  ASSERT_TRUE(block.SaveNew());
  EXPECT_EQ(Host().Queries().RecordCount(TCTextBlock::kTag), blocksBefore + 1);
  std::vector<uint8_t> stored = StoredRecord(TCTextBlock::kTag, block.GetNumber());
  ASSERT_EQ(stored.size(), 26u);
  EXPECT_EQ(stored[24] | (stored[25] << 8), 0x626C);
  EXPECT_EQ((stored[14] | (stored[15] << 8)) & 0x1A08, 0x1A08);
  EXPECT_EQ(stored[8] | (stored[9] << 8), 100);
}

TEST_F(RecordBaseTest, RoundTripChangesOnlyTheTypedField) {
  headless::ScoreBuilder builder;
  int16_t staffNumber = builder.AddStaff("Oboe");
  builder.AddMeasures(2);
  builder.SetKey(2, 3);
  FillWithPattern(TCMeasure::kTag, 2);
  FillWithPattern(TCStaff::kTag, staffNumber);

  std::vector<uint8_t> measureBefore = StoredRecord(TCMeasure::kTag, 2);
  TCMeasure measure;
  ASSERT_TRUE(measure.Load(2));
  measure.GetKeySignature()->SetKeyValue(0x01FD);
  ASSERT_TRUE(measure.Save());
  std::vector<uint8_t> measureAfter = StoredRecord(TCMeasure::kTag, 2);
  EXPECT_EQ(DifferingBytes(measureBefore, measureAfter), (std::vector<size_t>{2, 3}));
  ASSERT_TRUE(measure.Reload());
  EXPECT_EQ(measure.GetKeySignature()->GetKeyValue(), 0x01FD);

  std::vector<uint8_t> staffBefore = StoredRecord(TCStaff::kTag, staffNumber);
  TCStaff staff;
  ASSERT_TRUE(staff.Load(staffNumber));
  staff.SetFlags(static_cast<uint16_t>(staff.GetFlags() ^ 0x2000));
  ASSERT_TRUE(staff.Save());
  EXPECT_EQ(DifferingBytes(staffBefore, StoredRecord(TCStaff::kTag, staffNumber)), (std::vector<size_t>{11}));
}

TEST_F(RecordBaseTest, RoundTripKeepsUnknownBytesOnOlderLayouts) {
  ReinstallHost(0x10FFFFFF);
  headless::ScoreBuilder builder;
  int16_t staffNumber = builder.AddStaff("Horn");
  builder.AddMeasures(1);
  FillWithPattern(TCStaff::kTag, staffNumber);
  std::vector<uint8_t> before = StoredRecord(TCStaff::kTag, staffNumber);
  ASSERT_EQ(before.size(), 114u);
  TCStaff staff;
  ASSERT_TRUE(staff.Load(staffNumber));
  staff.SetFullNameTextBlock(static_cast<int16_t>(staff.GetFullNameTextBlock() + 1));
  ASSERT_TRUE(staff.Save());
  EXPECT_EQ(DifferingBytes(before, StoredRecord(TCStaff::kTag, staffNumber)), (std::vector<size_t>{30}));
}

TEST_F(RecordBaseTest, CloneCopiesBytesAndDerivedValuesOfTheSameClassOnly) {
  headless::ScoreBuilder builder;
  builder.AddStaff("Flute");
  builder.AddMeasures(2);
  builder.SetKey(1, -2);
  TCMeasure original;
  ASSERT_TRUE(original.Load(1));
  original.GetKeySignature()->SetKeyValue(0x0004);

  TCMeasure copy;
  copy.CopyAddressFrom(&original);
  copy.CloneFrom(&original);
  EXPECT_EQ(copy.GetLoadedSize(), copy.GetDataSize());
  EXPECT_EQ(copy.GetNumber(), 1);
  EXPECT_EQ(copy.GetKeySignature()->GetKeyValue(), 0x0004);

  // A record of another class is not copied into this layout.
  TCStaff staff;
  ASSERT_TRUE(staff.Load(builder.AddStaff("Piccolo")));
  TCMeasure untouched;
  untouched.CloneFrom(&staff);
  EXPECT_FALSE(untouched.IsLoaded());

  // A copy of a record that never loaded must not become saveable.
  TCMeasure never;
  TCMeasure cloneOfNever;
  cloneOfNever.CloneFrom(&never);
  EXPECT_FALSE(cloneOfNever.IsLoaded());
  EXPECT_FALSE(cloneOfNever.Save());
}

TEST_F(RecordBaseTest, SameClassIgnoresAddressesButNotClasses) {
  TCMeasure first;
  TCMeasure second;
  second.SetAddressFirst(5);
  TCStaff staff;
  TCCurrentStaffSpec spec;
  EXPECT_TRUE(first.IsSameClass(&second));
  EXPECT_FALSE(first.IsSameClass(&staff));
  EXPECT_FALSE(staff.IsSameClass(&spec));
}

TEST_F(RecordBaseTest, StaffSpecificationRefusesSingleNumberOperations) {
  headless::ScoreBuilder builder;
  int16_t staffNumber = builder.AddStaff("Cello");
  builder.AddMeasures(1);
  builder.SetStaffFlagsInMeasure(staffNumber, 1, 0x0200);
  TCCurrentStaffSpec spec;
  Host().CallLog().Clear();
  EXPECT_FALSE(spec.Load(staffNumber));
  EXPECT_FALSE(spec.SaveNew());
  EXPECT_EQ(CountCalls("TX_LoadEData"), 0);
  ASSERT_TRUE(spec.LoadAtPosition(staffNumber, 1, 0));
  EXPECT_EQ(spec.GetFlags() & 0x0200, 0x0200);
  EXPECT_FALSE(spec.SaveAs(staffNumber));
  EXPECT_EQ(CountCalls("TX_SaveEData"), 0);
}

TEST_F(RecordBaseTest, StaffVersionStampsCarryTheHostVersionHighHalf) {
  ReinstallHost(0x11FFFFFF);
  headless::ScoreBuilder builder;
  int16_t staffNumber = builder.AddStaff("Harp");
  builder.SetStaffVersionWords(staffNumber, 0x1234, 0xABCD);
  TCStaff staff;
  ASSERT_TRUE(staff.Load(staffNumber));
  EXPECT_EQ(staff.GetFirstVersionStamp(), 0x11FF1234u);
  EXPECT_EQ(staff.GetSecondVersionStamp(), 0x11FFABCDu);
}

}  // namespace
