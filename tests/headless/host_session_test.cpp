// Parts, selection, layout, commands, folders, the call log and partial hosts.
#include <cstring>
#include <string>
#include <vector>

#include "headless/host_dialogs.h"
#include "headless/host_text.h"
#include "headless/record_layouts.h"
#include "headless/score_builder.h"
#include "shell/host_frame.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"
#include "tests/headless/host_fixture.h"

namespace headless {
namespace {

using host_frame::Read;

class HostSession : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    flute = builder.AddStaff("Flute");
    oboe = builder.AddStaff("Oboe");
    horn = builder.AddStaff("Horn in F");
    builder.AddMeasures(6);
  }

  ScoreBuilder builder;
  int16_t flute = 0;
  int16_t oboe = 0;
  int16_t horn = 0;
};

TEST_F(HostSession, PartsAreEnumeratedAndSwitched) {
  int16_t first = builder.AddPart("Horn", {horn});
  int16_t second = builder.AddPart("Winds", {oboe, flute});
  EXPECT_EQ(TX_GetCurrentPartID(), 0);
  EXPECT_EQ(TX_GetNextPartID(0), first);
  EXPECT_EQ(TX_GetNextPartID(first), second);
  EXPECT_EQ(static_cast<uint16_t>(TX_GetNextPartID(second)), 0xFFFF);
  EXPECT_EQ(Host().Queries().RecordCount(kPartTag), 3);
  EXPECT_FALSE(TX_SetCurrentPartID(7));
  ASSERT_TRUE(TX_SetCurrentPartID(second));
  EXPECT_EQ(TX_GetCurrentPartID(), second);
  EXPECT_EQ(TX_SlotToInst(1, 0), oboe);
  EXPECT_EQ(TX_InstToSlot(horn, 0), 0);
  // Frames in a part follow the part's slots.
  builder.Voice(flute).Note("E5", kWhole);
  void* frame = TX_LoadTGF(0, 2, 1, 0, 1);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(host_frame::FrameEntryCount(frame), 1);
  TX_FreeTGF(frame);
}

TEST_F(HostSession, TheSelectionIsKeptPerPartInSlots) {
  ASSERT_TRUE(builder.SetSlotOrder({horn, flute, oboe}));
  ASSERT_TRUE(Host().Selection().Set(flute, 2, 512, oboe, 3, 1024));
  uint8_t region[20];
  int32_t first = -1;
  ASSERT_TRUE(TX_GetCurERegions(&first, region, nullptr));
  SelectionRecord read = SelectionRecord::ReadFrom(region);
  EXPECT_EQ(read.startSlot, 2);
  EXPECT_EQ(read.endSlot, 3);
  EXPECT_EQ(read.startMeasure, 2);
  EXPECT_EQ(read.startPosition, 512);
  EXPECT_EQ(read.endMeasure, 3);
  EXPECT_EQ(read.endPosition, 1024);
  EXPECT_EQ(TX_SlotToInst(read.startSlot, read.startSlotList), flute);

  int16_t part = builder.AddPart("Horn", {horn});
  ASSERT_TRUE(TX_SetCurrentPartID(part));
  EXPECT_TRUE(Host().Selection().Record().IsEmpty());
  ASSERT_TRUE(Host().Selection().SelectAll());
  EXPECT_EQ(Host().Selection().Record().endMeasure, 6);
  ASSERT_TRUE(TX_SetCurrentPartID(0));
  EXPECT_EQ(Host().Selection().Record(), read);

  SelectionRecord other = read;
  other.startMeasure = 5;
  other.WriteTo(region);
  ASSERT_TRUE(TX_SetCurERegion(region));
  EXPECT_EQ(Host().Selection().Record().startMeasure, 5);
  EXPECT_FALSE(Host().Selection().Set(99, 1, 0, flute, 1, 0));
}

TEST_F(HostSession, NoteSpacingIsRecordedWithItsPartAndSelection) {
  int16_t part = builder.AddPart("Oboe", {oboe});
  ASSERT_TRUE(TX_SetCurrentPartID(part));
  ASSERT_TRUE(Host().Selection().Set(oboe, 4, 0, oboe, 4, 0x7FFFFFFF));
  ASSERT_TRUE(TX_ExecuteMenuItem(kNoteSpacingCommand));
  ASSERT_TRUE(TX_ExecuteMenuItem(999));
  ASSERT_EQ(Host().Environment().SpacingCommands().size(), 1u);
  EXPECT_EQ(Host().Environment().SpacingCommands()[0].part, part);
  EXPECT_EQ(Host().Environment().SpacingCommands()[0].selection.startMeasure, 4);
  EXPECT_EQ(Host().Environment().MenuCommands(), (std::vector<int32_t>{kNoteSpacingCommand, 999}));
}

TEST_F(HostSession, SystemsAreUnlaidUntilTheLayoutIsUpdated) {
  builder.SetMeasuresPerSystem(4);
  builder.SetUnlaidSystems(true);
  std::vector<uint8_t> system;
  ASSERT_TRUE(Host().Queries().ReadRecord(kStaffSystemTag, 2, 0, 0, &system));
  EXPECT_EQ(StaffSystemRecord::FirstMeasure::Get(system), 0);
  ASSERT_TRUE(TX_UpdateLayout(1, 0));
  ASSERT_TRUE(Host().Queries().ReadRecord(kStaffSystemTag, 2, 0, 0, &system));
  EXPECT_EQ(StaffSystemRecord::FirstMeasure::Get(system), 5);
  EXPECT_EQ(StaffSystemRecord::FirstMeasureAfter::Get(system), 7);
  EXPECT_EQ(Host().Queries().RecordCount(kStaffSystemTag), 2);
  std::vector<uint8_t> systemStaff;
  ASSERT_TRUE(Host().Queries().ReadRecord(kSystemStaffTag, 2, 2, 0, &systemStaff));
  EXPECT_EQ(SystemStaffRecord::Staff::Get(systemStaff), horn);
}

TEST_F(HostSession, ThePluginFolderAnswersTheFolderKindOfTheHostVersion) {
  Host().Environment().SetPluginFolder("C:\\Plug-ins\\R\xC3\xBC");
  struct Case {
    uint32_t version;
    int32_t kind;
    bool wide;
  };
  for (const Case& c : {Case{0x0FFFFFFF, 7, false}, Case{0x10FFFFFF, 15, false}, Case{0x11000000, 15, true}}) {
    SCOPED_TRACE(c.version);
    Host().SetHostVersion(c.version);
    uint8_t buffer[520] = {};
    EXPECT_FALSE(TX_GetTavrelPath(c.kind == 7 ? 15 : 7, buffer));
    ASSERT_TRUE(TX_GetTavrelPath(c.kind, buffer));
    if (c.wide) {
      EXPECT_EQ(Utf16ToUtf8(reinterpret_cast<const char16_t*>(buffer)), "C:\\Plug-ins\\R\xC3\xBC");
    } else {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer)), "C:\\Plug-ins\\R\xFC");
    }
  }
  EXPECT_EQ(Host().Misuse().CallErrors().size(), 3u);
  Host().Misuse().Clear();
}

TEST_F(HostSession, WindowLayersNamesAndDialogs) {
  Host().Environment().SetWindowInfo(0, 151);
  uint8_t info[532];
  std::memset(info, 0xAA, sizeof info);
  ASSERT_TRUE(TX_GetCurrentWindowInfo(info));
  EXPECT_EQ(Read<int16_t>(info, 528), 0);
  EXPECT_EQ(Read<int16_t>(info, 530), 151);
  Host().Environment().SetWindowInfo(1, 1, false);
  EXPECT_FALSE(TX_GetCurrentWindowInfo(info));

  Host().Layers().SetMaxLayers(3);
  Host().Layers().SetShown(1, false);
  EXPECT_EQ(TX_GetMaxLayers(), 3);
  EXPECT_TRUE(TX_GetShowLayer(0));
  EXPECT_FALSE(TX_GetShowLayer(1));
  EXPECT_FALSE(TX_GetShowLayer(3));

  int16_t clarinet = builder.AddStaff("^font(Times)B^flat() Clarinet");
  std::vector<uint8_t> staffRecord;
  ASSERT_TRUE(Host().Queries().ReadRecord(kStaffTag, clarinet, 0, 0, &staffRecord));
  char16_t name[1000];
  ASSERT_TRUE(TX_AutoNumberedName_UTF16(StaffRecord::NameTextBlock::Get(staffRecord), clarinet, name, 1000, 0));
  EXPECT_EQ(Utf16ToUtf8(name), "Bb Clarinet");
  char16_t small[4];
  ASSERT_TRUE(TX_AutoNumberedName_UTF16(StaffRecord::NameTextBlock::Get(staffRecord), clarinet, small, 4, 0));
  EXPECT_EQ(Utf16ToUtf8(small), "Bb ");

  // Without a dialog procedure or a dialog nothing is made or read.
  EXPECT_EQ(TX_Dialog(20128, nullptr, nullptr, 0, nullptr), 0);
  char text[8] = "xxxxxxx";
  EXPECT_EQ(TX_GetDlgString(nullptr, 5, text, 8), 0);
  EXPECT_EQ(text[0], 0);
  // The Windows host has a main window of its own; the Linux one has no windows.
  EXPECT_EQ(TX_GetCurrentWindow() != nullptr, headless::host_dialogs::Available());
}

TEST_F(HostSession, TheCallLogNamesEveryCallWithItsArguments) {
  Host().CallLog().Clear();
  TX_StartTavrelEdit_UTF16(u"Accidentals \u00C4");
  TX_ScrollTo(3, oboe);
  TX_CancelTavrelEdit();
  ASSERT_EQ(Host().CallLog().Calls().size(), 3u);
  EXPECT_EQ(Host().CallLog().Calls()[0].name, "TX_StartTavrelEdit_UTF16");
  EXPECT_EQ(Host().CallLog().Calls()[0].text, "Accidentals \xC3\x84");
  EXPECT_EQ(Host().CallLog().Calls()[1].arguments, (std::vector<int64_t>{3, oboe}));
  EXPECT_EQ(Host().CallLog().Count("TX_CancelTavrelEdit"), 1);
  EXPECT_TRUE(Host().Misuse().CallErrors().empty());
}

TEST_F(HostSession, AHostCanLackFunctionsOrBeTheDemo) {
  SkipUnlessPartialHosts();
  ReinstallHost(0x10FFFFFF, {"TX_GetMaxLayers", "TX_GetCurrentPartID"});
  EXPECT_FALSE(TXIsBound(TXFunction::TX_GetMaxLayers));
  EXPECT_EQ(TX_GetCurrentPartID(), -1);
  EXPECT_TRUE(TXIsBound(TXFunction::TX_LoadTGF));
  EXPECT_EQ(GetHostVersion(), 0x10FFFFFFu);

  ReinstallHost(0x12050000, {}, "TAVDEMO.EXE");
  ScoreBuilder demo;
  demo.AddStaff("Solo");
  EXPECT_EQ(TX_GetMaxLayers(), 4);
  EXPECT_EQ(TX_InstToSlot(kFirstStaffNumber, 0), 1);
}

}  // namespace
}  // namespace headless
