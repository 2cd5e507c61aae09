#include <gtest/gtest.h>

#include <memory>

#include "framework/tc_string.h"
#include "score/tc_document.h"
#include "score/tc_group.h"
#include "score/tc_groups.h"
#include "score/tc_key_signature.h"
#include "score/tc_measure.h"
#include "score/tc_multi_staff_instruments.h"
#include "score/tc_part.h"
#include "score/tc_parts.h"
#include "score/tc_raw_text.h"
#include "score/tc_staff.h"
#include "score/tc_staff_systems.h"
#include "score/tc_system_staves.h"
#include "score/tc_text_block.h"
#include "shell/tx_api.h"
#include "tests/score/score_test_support.h"

namespace {

class ScoreRecordsTest : public ScoreDataTest {};

std::string FullNameOf(int16_t staffNumber) {
  TCStaff staff;
  if (!staff.Load(staffNumber)) return "<staff not loaded>";
  std::unique_ptr<TCString> name(staff.GetFullName());
  return name->GetUTF8();
}

TEST_F(ScoreRecordsTest, FullNameFromTheTextBlockOnOlderHosts) {
  ReinstallHost(0x10FFFFFF);
  headless::ScoreBuilder builder;
  int16_t clarinet = builder.AddStaff("^font(Times)B^flat() Clarinet");
  int16_t horn = builder.AddStaff("Horn in F^sharp()");
  EXPECT_EQ(FullNameOf(clarinet), "Bb Clarinet");
  EXPECT_EQ(FullNameOf(horn), "Horn in F#");
  EXPECT_EQ(CountCalls("TX_AutoNumberedName_UTF16"), 0);
}

TEST_F(ScoreRecordsTest, FullNameFromTheHostOnNewerHosts) {
  ReinstallHost(0x11000000);
  headless::ScoreBuilder builder;
  int16_t clarinet = builder.AddStaff("^font(Times)B^flat() Clarinet");
  std::string name = FullNameOf(clarinet);
  EXPECT_EQ(CountCalls("TX_AutoNumberedName_UTF16"), 1);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find("^font"), std::string::npos) << name;

  // The host fills as many units as it is told the buffer holds.
  std::string longName(3000, 'x');
  int16_t longStaff = builder.AddStaff(longName.c_str());
  EXPECT_EQ(FullNameOf(longStaff), std::string(999, 'x'));
}

TEST_F(ScoreRecordsTest, RawTextIsUTF16FromHost0x11000000) {
  for (uint32_t version : {0x10FFFFFFu, 0x11000000u}) {
    SCOPED_TRACE(testing::Message() << std::hex << version);
    ReinstallHost(version);
    headless::ScoreBuilder builder;
    int16_t staffNumber = builder.AddStaff("Alto Saxophone");
    TCStaff staff;
    ASSERT_TRUE(staff.Load(staffNumber));
    TCTextBlock block;
    ASSERT_TRUE(block.Load(staff.GetFullNameTextBlock()));
    std::unique_ptr<TCString> text(block.GetRawText());
    EXPECT_STREQ(text->GetUTF8(), "Alto Saxophone");
    TCRawText raw;
    EXPECT_EQ(raw.IsUTF16(), version >= 0x11000000);
    EXPECT_EQ(raw.GetDataVersion(), version);
  }
}

TEST_F(ScoreRecordsTest, RawTextWithoutRecordGivesAnEmptyText) {
  TCRawText raw;
  raw.SetNumber(0x7777);
  EXPECT_FALSE(raw.Load());
  std::unique_ptr<TCString> text(raw.GetText());
  EXPECT_TRUE(text->IsEmpty());
  EXPECT_EQ(raw.GetTag(), TCRawText::kDefaultTag);
  raw.SetContext(TCRawText::TagForKind(0x6162));
  EXPECT_EQ(raw.GetTag(), 0x74786162u);
}

TEST_F(ScoreRecordsTest, TextBlockDeletionTakesItsRawTextAlong) {
  headless::ScoreBuilder builder;
  int16_t staffNumber = builder.AddStaff("Tuba");
  TCStaff staff;
  ASSERT_TRUE(staff.Load(staffNumber));
  int blocks = Host().Queries().RecordCount(TCTextBlock::kTag);
  int texts = Host().Queries().RecordCount(TCRawText::TagForKind(TCTextBlock::kKindBlock));
  TCTextBlock block;
  ASSERT_TRUE(block.Load(staff.GetFullNameTextBlock()));
  EXPECT_TRUE(block.Delete());
  EXPECT_EQ(Host().Queries().RecordCount(TCTextBlock::kTag), blocks - 1);
  EXPECT_EQ(Host().Queries().RecordCount(TCRawText::TagForKind(TCTextBlock::kKindBlock)), texts - 1);
  EXPECT_FALSE(block.Reload());
}

TEST_F(ScoreRecordsTest, PartsOfADocumentWithoutLinkedParts) {
  headless::ScoreBuilder builder;
  builder.AddStaff("Flute");
  builder.AddMeasures(1);
  TCParts parts;
  ASSERT_EQ(parts.LoadAll(), 1);
  EXPECT_EQ(parts.GetPartAt(0)->GetPartNumber(), 0);
  EXPECT_TRUE(parts.GetPartAt(0)->IsScore());
}

TEST_F(ScoreRecordsTest, PartsInHostOrderAndTheCurrentPart) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(1);
  builder.AddPart("Flute", {flute});
  builder.AddPart("Oboe", {oboe});
  int16_t third = builder.AddPart("Both", {oboe, flute});
  TCParts parts;
  ASSERT_EQ(parts.LoadAll(), 4);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(parts.GetPartAt(i)->GetPartNumber(), Host().Parts()[i]);

  ASSERT_TRUE(Host().SetCurrentPart(third));
  TCPart current(-1);
  EXPECT_EQ(current.GetPartNumber(), third);
  EXPECT_EQ(current.GetDocumentNumber(), builder.DocumentId());
  TCPart same(third);
  TCPart other(0);
  EXPECT_TRUE(current.IsSameClass(&same));
  EXPECT_FALSE(current.IsSameClass(&other));
}

TEST_F(ScoreRecordsTest, PartSwitchRemembersOnlyTheFirstPreviousPart) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  int16_t part = builder.AddPart("Flute", {flute});
  int16_t second = builder.AddPart("Flute 2", {flute});

  TCPart unswitched(part);
  Host().CallLog().Clear();
  unswitched.SwitchBack();
  EXPECT_EQ(CountCalls("TX_SetCurrentPartID"), 0);

  TCPart target(part);
  target.SwitchTo();
  EXPECT_EQ(Host().CurrentPart(), part);
  ASSERT_TRUE(Host().SetCurrentPart(second));
  target.SwitchTo();  // pending: neither switches nor forgets the score
  EXPECT_EQ(Host().CurrentPart(), second);
  target.SwitchBack();
  EXPECT_EQ(Host().CurrentPart(), 0);
  EXPECT_FALSE(target.IsSwitched());
}

TEST_F(ScoreRecordsTest, PartSwitchOnlyInItsOwnDocument) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  int16_t part = builder.AddPart("Flute", {flute});
  TCPart target(part);
  TCDocument first;
  int16_t other = Host().NewDocument();
  EXPECT_FALSE(first.IsCurrent());
  Host().CallLog().Clear();
  target.SwitchTo();
  EXPECT_FALSE(target.IsSwitched());
  EXPECT_EQ(CountCalls("TX_SetCurrentPartID"), 0);

  ASSERT_TRUE(Host().SetCurrentDocument(builder.DocumentId()));
  target.SwitchTo();
  ASSERT_TRUE(Host().SetCurrentDocument(other));
  target.SwitchBack();  // not in its document: stays pending
  EXPECT_TRUE(target.IsSwitched());
  ASSERT_TRUE(Host().SetCurrentDocument(builder.DocumentId()));
  target.SwitchBack();
  EXPECT_EQ(Host().CurrentPart(), 0);

  TCDocument again(builder.DocumentId());
  TCDocument another(other);
  EXPECT_TRUE(first.IsSameClass(&again));
  EXPECT_FALSE(first.IsSameClass(&another));
}

TEST_F(ScoreRecordsTest, GroupCountsStavesInTheScoreOrder) {
  headless::ScoreBuilder builder;
  int16_t a = builder.AddStaff("A");
  int16_t b = builder.AddStaff("B");
  int16_t c = builder.AddStaff("C");
  int16_t d = builder.AddStaff("D");
  builder.AddMeasures(1);
  ASSERT_TRUE(builder.SetSlotOrder({d, b, a, c}));
  builder.AddGroup(b, c, "Middle");     // slots 2 to 4
  builder.AddGroup(a, b, "Backwards");  // a comes after b
  builder.AddGroup(d, d, "Single");
  TCGroups groups;
  ASSERT_EQ(groups.LoadAll(), 3);
  EXPECT_EQ(groups.GetGroupAt(0)->CountStaves(), 3);
  EXPECT_EQ(groups.GetGroupAt(1)->CountStaves(), 0);
  EXPECT_EQ(groups.GetGroupAt(2)->CountStaves(), 1);
  std::unique_ptr<TCString> name(groups.GetGroupAt(0)->GetName());
  EXPECT_STREQ(name->GetUTF8(), "Middle");
  EXPECT_EQ(groups.GetGroupAt(0)->GetBracketKind(), 3);

  TCGroups fromStart;
  TCGroup* first = groups.GetGroupAt(0);
  EXPECT_EQ(fromStart.LoadAllFor(first->GetFirstNumber(), first->GetGroupNumber()), 3);
  EXPECT_EQ(fromStart.LoadAllFor(first->GetFirstNumber(), groups.GetGroupAt(2)->GetGroupNumber()), 1);
}

TEST_F(ScoreRecordsTest, InstrumentLookUpByAnyOfItsStaves) {
  headless::ScoreBuilder builder;
  int16_t solo = builder.AddStaff("Violin");
  int16_t upper = builder.AddStaff("Piano right");
  int16_t lower = builder.AddStaff("Piano left");
  builder.AddMeasures(1);
  ASSERT_NE(builder.AddInstrument({upper, lower}, "Piano"), 0);
  TCMultiStaffInstruments instruments;
  ASSERT_EQ(instruments.LoadAll(), 1);
  TCMultiStaffInstrument* piano = instruments.GetInstrumentAt(0);
  EXPECT_EQ(piano->GetThirdStaff(), 0);
  EXPECT_EQ(instruments.FindStaff(upper), piano);
  EXPECT_EQ(instruments.FindStaff(lower), piano);
  EXPECT_EQ(instruments.FindStaff(solo), nullptr);
  EXPECT_EQ(instruments.FindStaff(0), nullptr);  // even though the third staff is 0
}

TEST_F(ScoreRecordsTest, StaffSystemsNeedALayoutFirst) {
  headless::ScoreBuilder builder;
  builder.AddStaff("Flute");
  builder.AddMeasures(10);
  builder.SetMeasuresPerSystem(4);
  builder.SetUnlaidSystems(true);
  TCStaffSystems systems;
  ASSERT_GT(systems.LoadAll(), 0);
  EXPECT_TRUE(systems.HasUnlaidSystems());
  TX_UpdateLayout(1, 0);
  ASSERT_EQ(systems.LoadAll(), 3);
  EXPECT_FALSE(systems.HasUnlaidSystems());
  EXPECT_EQ(systems.GetSystemAt(1)->GetFirstMeasure(), 5);
  EXPECT_EQ(systems.GetSystemAt(1)->GetLastMeasure(), 8);
}

TEST_F(ScoreRecordsTest, TheLastOfTheMostMeasuresIsReachedWithoutWrapping) {
  headless::ScoreBuilder builder;
  builder.AddStaff("Flute");
  ASSERT_EQ(builder.AddMeasures(32766), 1);
  ASSERT_EQ(builder.AddMeasures(1), 32767);
  EXPECT_EQ(builder.AddMeasures(1), 0) << "measure 32,768 has no 16-bit number";
  builder.SetKey(32767, 3);
  builder.SetMeasuresPerSystem(16384);
  TCMeasure last;
  ASSERT_TRUE(last.Load(32767));
  ASSERT_NE(last.GetKeySignature(), nullptr);
  EXPECT_EQ(last.GetKeySignature()->GetSharpCount(), 3);
  TCStaffSystems systems;
  ASSERT_EQ(systems.LoadAll(), 2);
  EXPECT_EQ(systems.GetSystemAt(1)->GetFirstMeasure(), 16385);
  EXPECT_EQ(systems.GetSystemAt(1)->GetLastMeasure(), 32767);
}

TEST_F(ScoreRecordsTest, SystemStavesOfTheScoreOrderAreReplacedInOrder) {
  headless::ScoreBuilder builder;
  int16_t a = builder.AddStaff("A");
  int16_t b = builder.AddStaff("B");
  int16_t c = builder.AddStaff("C");
  builder.AddMeasures(1);
  TCSystemStaves staves;
  ASSERT_EQ(staves.LoadAllForSystem(0), 3);
  EXPECT_EQ(staves.GetStaffAt(0)->GetPercentage(), 100);
  EXPECT_EQ(staves.FindStaff(b), staves.GetStaffAt(1));
  EXPECT_EQ(staves.FindStaff(99), nullptr);
  staves.Add(staves.DetachAt(0));
  ASSERT_TRUE(staves.SaveAllForSystem(0));
  EXPECT_EQ(Host().SlotOrder(0), (std::vector<int16_t>{b, c, a}));

  EXPECT_TRUE(staves.DeleteAllForSystem(0));
  EXPECT_TRUE(Host().SlotOrder(0).empty());
  EXPECT_EQ(staves.LoadAllForSystem(0), 0);
  EXPECT_TRUE(staves.DeleteAllForSystem(0));  // nothing left to delete
}

TEST_F(ScoreRecordsTest, StaffReductionIsKeptBesideTheSystemStaff) {
  headless::ScoreBuilder builder;
  int16_t a = builder.AddStaff("A");
  builder.AddStaff("B");
  builder.AddMeasures(8);
  builder.SetMeasuresPerSystem(4);
  TX_UpdateLayout(1, 0);
  TCSystemStaves staves;
  ASSERT_EQ(staves.LoadAllForSystem(2), 2);
  TCSystemStaff* staff = staves.FindStaff(a);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->GetPercentage(), 100);
  staff->SetPercentage(75);
  ASSERT_TRUE(staff->Save());
  std::vector<uint8_t> reduction = StoredRecord(TCSystemStaff::kReductionTag, 2, a, 0);
  EXPECT_EQ(reduction, (std::vector<uint8_t>{75, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  TCSystemStaves again;
  ASSERT_EQ(again.LoadAllForSystem(2), 2);
  EXPECT_EQ(again.FindStaff(a)->GetPercentage(), 75);
  again.FindStaff(a)->SetPercentage(100);
  ASSERT_TRUE(again.FindStaff(a)->Save());
  std::vector<uint8_t> gone;
  EXPECT_FALSE(Host().Queries().ReadRecord(TCSystemStaff::kReductionTag, 2, a, 0, &gone));

  // The score's own order has no reductions to read.
  Host().CallLog().Clear();
  TCSystemStaves score;
  score.LoadAllForSystem(0);
  for (const headless::HostCall& call : Host().CallLog().Named("TX_LoadEData")) {
    EXPECT_NE(static_cast<uint32_t>(call.arguments[0]), TCSystemStaff::kReductionTag);
  }
}

}  // namespace
