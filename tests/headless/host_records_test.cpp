// Document records as the plug-in reads and writes them through the host API.
#include <cstring>
#include <vector>

#include "headless/host_text.h"
#include "headless/record_layouts.h"
#include "headless/score_builder.h"
#include "shell/host_frame.h"
#include "shell/tx_api.h"
#include "tests/headless/host_fixture.h"

namespace headless {
namespace {

class HostRecords : public HostFixture {};

TXAddress Address(int16_t first, int16_t second = 0, int16_t third = 0) {
  TXAddress address{};
  host_frame::Write(address.bytes, 0, first);
  host_frame::Write(address.bytes, 2, second);
  host_frame::Write(address.bytes, 4, third);
  return address;
}

int16_t First(const TXAddress& address) { return host_frame::Read<int16_t>(address.bytes, 0); }
int16_t Second(const TXAddress& address) { return host_frame::Read<int16_t>(address.bytes, 2); }
int16_t Third(const TXAddress& address) { return host_frame::Read<int16_t>(address.bytes, 4); }

// The size the host reports for a record loaded into a roomy buffer, -1 when it refuses.
int32_t LoadedSize(uint32_t tag, TXAddress address, uint32_t version) {
  std::vector<uint8_t> buffer(400, 0);
  int32_t size = static_cast<int32_t>(buffer.size());
  return TX_LoadEData(tag, address.bytes, buffer.data(), &size, version) ? size : -1;
}

TEST_F(HostRecords, SizesAndLayoutVersionsFollowTheHostVersion) {
  struct Case {
    uint32_t host;
    uint32_t measureVersion;
    int32_t measureSize;
    uint32_t staffVersion;
    int32_t staffSize;
    uint32_t groupVersion;
  };
  const Case cases[] = {
      {0x0FFFFFFF, 0x0A000000, 26, 0x0F000000, 114, 0x09000000},
      {0x10FFFFFF, 0x0A000000, 26, 0x0F000000, 114, 0x12050000},
      {0x11FFFFFF, 0x0A000000, 26, 0x11000000, 132, 0x12050000},
      {0x12000000, 0x12000000, 30, 0x12000000, 136, 0x12050000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.host);
    ReinstallHost(c.host);
    ScoreBuilder builder;
    int16_t upper = builder.AddStaff("Piano");
    int16_t lower = builder.AddStaff("Piano");
    builder.AddMeasures(2);
    builder.AddInstrument({upper, lower}, "Piano");

    EXPECT_EQ(LoadedSize(kMeasureTag, Address(1), c.measureVersion), c.measureSize);
    EXPECT_EQ(LoadedSize(kStaffTag, Address(upper), c.staffVersion), c.staffSize);
    EXPECT_EQ(LoadedSize(kGroupTag, Address(0, 1, 0), c.groupVersion), 36);
    EXPECT_TRUE(Host().Misuse().CallErrors().empty());
    // Asking with another layout version is refused and reported.
    EXPECT_EQ(LoadedSize(kMeasureTag, Address(1), c.measureVersion ^ 0x01000000), -1);
    EXPECT_EQ(Host().Misuse().CallErrors().size(), 1u);
    Host().Misuse().Clear();
  }
}

TEST_F(HostRecords, StaffNamesAreRawTextInTheEncodingOfTheHostVersion) {
  for (uint32_t version : {0x10FFFFFFu, 0x11000000u}) {
    ReinstallHost(version);
    ScoreBuilder builder;
    int16_t staff = builder.AddStaff("B^flat() Klarinette \xC3\xA9");
    std::vector<uint8_t> staffRecord;
    ASSERT_TRUE(Host().Queries().ReadRecord(kStaffTag, staff, 0, 0, &staffRecord));
    int16_t block = StaffRecord::NameTextBlock::Get(staffRecord);
    std::vector<uint8_t> blockRecord;
    ASSERT_TRUE(Host().Queries().ReadRecord(kTextBlockTag, block, 0, 0, &blockRecord));
    EXPECT_EQ(TextBlockRecord::TextKind::Get(blockRecord), kBlockTextKind);

    TXAddress address = Address(TextBlockRecord::RawTextNumber::Get(blockRecord));
    int32_t needed = 0;
    ASSERT_TRUE(TX_LoadEData(kBlockTextTag, address.bytes, nullptr, &needed, version));
    std::vector<uint8_t> text(static_cast<size_t>(needed));
    ASSERT_TRUE(TX_LoadEData(kBlockTextTag, address.bytes, text.data(), &needed, version));
    if (version >= 0x11000000) {
      ASSERT_EQ(needed, 2 * 22);  // 21 UTF-16 units and the terminator
      char16_t last;
      std::memcpy(&last, text.data() + 2 * 20, 2);
      EXPECT_EQ(last, u'\u00E9');
    } else {
      ASSERT_EQ(needed, 22);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data())), "B^flat() Klarinette \xE9");
    }
  }
}

TEST_F(HostRecords, LoadWritesNoMoreThanTheCallerHasRoomFor) {
  ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  ASSERT_TRUE(builder.SetStaffFlags(staff, 0x2200));
  uint8_t buffer[20];
  std::memset(buffer, 0xEE, sizeof buffer);
  int32_t size = 12;
  TXAddress address = Address(staff);
  ASSERT_TRUE(TX_LoadEData(kStaffTag, address.bytes, buffer, &size, 0x12000000));
  EXPECT_EQ(size, 12);
  EXPECT_EQ(host_frame::Read<uint16_t>(buffer, 10), 0x2200);
  EXPECT_EQ(buffer[12], 0xEE);
  // Asking for the size needs a null buffer and size 0.
  int32_t asked = 5;
  EXPECT_FALSE(TX_LoadEData(kStaffTag, address.bytes, nullptr, &asked, 0x12000000));
  asked = 0;
  EXPECT_TRUE(TX_LoadEData(kStaffTag, address.bytes, nullptr, &asked, 0x12000000));
  EXPECT_EQ(asked, 136);
  TXAddress missing = Address(static_cast<int16_t>(staff + 5));
  EXPECT_FALSE(TX_LoadEData(kStaffTag, missing.bytes, buffer, &size, 0x12000000));
}

TEST_F(HostRecords, NextStepsStrictlyAfterTheAddressInAddressOrder) {
  ScoreBuilder builder;
  builder.AddStaff("A");
  builder.AddMeasures(1);
  std::vector<uint8_t> staffRecord(24, 0);
  // System staves of systems 0 and 1 exist; add some out of order.
  ASSERT_TRUE(Host().Queries().WriteRecord(kSystemStaffTag, 5, 2, 0, staffRecord));
  ASSERT_TRUE(Host().Queries().WriteRecord(kSystemStaffTag, 5, 0, 0, staffRecord));
  ASSERT_TRUE(Host().Queries().WriteRecord(kSystemStaffTag, 3, 1, 0, staffRecord));
  TXAddress address = Address(0, 0);
  std::vector<std::pair<int16_t, int16_t>> seen;
  while (TX_NextEData(kSystemStaffTag, address.bytes, 0, 0, 0x12050000))
    seen.emplace_back(First(address), Second(address));
  std::vector<std::pair<int16_t, int16_t>> expected{{1, 0}, {3, 1}, {5, 0}, {5, 2}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(First(address), 5);  // the last address stays after the final refusal
  EXPECT_EQ(Second(address), 2);

  // Details step through (first, second, inci).
  std::vector<uint8_t> reduction(10, 0);
  ASSERT_TRUE(Host().Queries().WriteRecord(kStaffReductionTag, 2, 11, 1, reduction));
  ASSERT_TRUE(Host().Queries().WriteRecord(kStaffReductionTag, 2, 11, 0, reduction));
  ASSERT_TRUE(Host().Queries().WriteRecord(kStaffReductionTag, 1, 12, 0, reduction));
  TXAddress detail = Address(1, 12, 0);
  ASSERT_TRUE(TX_NextEData(kStaffReductionTag, detail.bytes, 0, 0, 0x12050000));
  EXPECT_EQ(std::vector<int16_t>({First(detail), Second(detail), Third(detail)}), std::vector<int16_t>({2, 11, 0}));
  ASSERT_TRUE(TX_NextEData(kStaffReductionTag, detail.bytes, 0, 0, 0x12050000));
  EXPECT_EQ(Third(detail), 1);
  EXPECT_FALSE(TX_NextEData(kStaffReductionTag, detail.bytes, 0, 0, 0x12050000));
}

TEST_F(HostRecords, CreateSaveAndDelete) {
  ScoreBuilder builder;
  builder.AddStaff("A");
  builder.AddMeasures(1);
  std::vector<uint8_t> record(24, 0);
  host_frame::Write<int16_t>(record.data(), 0, 77);

  // Inci -1: the host appends after the staves already in system 0.
  TXAddress address = Address(0, -1);
  ASSERT_TRUE(TX_CreateEData(kSystemStaffTag, address.bytes, record.data(), 24, 0x12050000));
  EXPECT_EQ(First(address), 0);
  EXPECT_EQ(Second(address), 1);
  EXPECT_EQ(Host().SlotOrder(0).back(), 77);
  // Number and inci -1: a new number above all in use, inci 0.
  TXAddress fresh = Address(-1, -1);
  ASSERT_TRUE(TX_CreateEData(kSystemStaffTag, fresh.bytes, record.data(), 24, 0x12050000));
  EXPECT_EQ(First(fresh), 2);  // system 1 exists already
  EXPECT_EQ(Second(fresh), 0);
  EXPECT_FALSE(TX_CreateEData(kSystemStaffTag, fresh.bytes, record.data(), 24, 0x12050000));

  // Saving replaces existing "other" records only; details are created.
  TXAddress missingMeasure = Address(9);
  std::vector<uint8_t> measure(30, 0);
  EXPECT_FALSE(TX_SaveEData(kMeasureTag, missingMeasure.bytes, measure.data(), 30, 0x12000000));
  TXAddress firstMeasure = Address(1);
  EXPECT_TRUE(TX_SaveEData(kMeasureTag, firstMeasure.bytes, measure.data(), 30, 0x12000000));
  EXPECT_FALSE(TX_SaveEData(kMeasureTag, firstMeasure.bytes, measure.data(), 26, 0x12000000));
  EXPECT_EQ(Host().Misuse().CallErrors().size(), 1u);
  Host().Misuse().Clear();
  std::vector<uint8_t> reduction(10, 0);
  host_frame::Write<int16_t>(reduction.data(), 0, 75);
  TXAddress reductionAddress = Address(1, 11, 0);
  EXPECT_TRUE(TX_SaveEData(kStaffReductionTag, reductionAddress.bytes, reduction.data(), 10, 0x12050000));
  EXPECT_EQ(Host().Queries().RecordCount(kStaffReductionTag), 1);
  EXPECT_TRUE(TX_DeleteEData(kStaffReductionTag, reductionAddress.bytes, 0x12050000));
  EXPECT_FALSE(TX_DeleteEData(kStaffReductionTag, reductionAddress.bytes, 0x12050000));
  EXPECT_EQ(Host().Queries().RecordCount(kStaffReductionTag), 0);
}

TEST_F(HostRecords, StaffSpecificationAtAPositionAnswersTheStaffWithItsMeasureFlags) {
  ScoreBuilder builder;
  int16_t staff = builder.AddStaff("A");
  builder.AddMeasures(3);
  builder.SetStaffFlags(staff, 0x0200);
  builder.SetStaffFlagsInMeasure(staff, 2, 0x2000);
  auto flagsAt = [&](int16_t measure) -> int {
    uint8_t address[8] = {};
    host_frame::Write<int16_t>(address, 0, staff);
    host_frame::Write<int16_t>(address, 2, measure);
    host_frame::Write<int32_t>(address, 4, 2048);
    std::vector<uint8_t> record(136, 0);
    int32_t size = 136;
    if (!TX_LoadEData(kStaffSpecTag, address, record.data(), &size, 0x12000000)) return -1;
    return StaffRecord::Flags::Get(record);
  };
  EXPECT_EQ(flagsAt(1), 0x0200);
  EXPECT_EQ(flagsAt(2), 0x2000);
  EXPECT_EQ(flagsAt(3), 0x0200);
  EXPECT_EQ(flagsAt(4), -1);
}

TEST_F(HostRecords, StaffSystemsBelongToTheirPart) {
  ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  int16_t oboe = builder.AddStaff("Oboe");
  builder.AddMeasures(8);
  int16_t part = builder.AddPart("Oboe", {oboe});
  builder.SetSystemStarts(part, {1, 6});
  auto systems = [&]() {
    std::vector<std::pair<int16_t, int16_t>> found;
    TXAddress address = Address(0);
    std::vector<uint8_t> record(28, 0);
    while (TX_NextEData(kStaffSystemTag, address.bytes, 0, 0, 0x12050000)) {
      int32_t size = 28;
      TX_LoadEData(kStaffSystemTag, address.bytes, record.data(), &size, 0x12050000);
      found.emplace_back(StaffSystemRecord::FirstMeasure::Get(record),
                         StaffSystemRecord::FirstMeasureAfter::Get(record));
    }
    return found;
  };
  EXPECT_EQ(systems(), (std::vector<std::pair<int16_t, int16_t>>{{1, 5}, {5, 9}}));
  ASSERT_TRUE(TX_SetCurrentPartID(part));
  EXPECT_EQ(systems(), (std::vector<std::pair<int16_t, int16_t>>{{1, 6}, {6, 9}}));
  EXPECT_EQ(Host().SlotOrder(part), std::vector<int16_t>{oboe});
  EXPECT_EQ(TX_SlotToInst(1, 0), oboe);
  EXPECT_EQ(TX_InstToSlot(flute, 0), 0);
}

}  // namespace
}  // namespace headless
