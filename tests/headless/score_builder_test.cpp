// The builder: spelling in keys, entries, staves, instruments and groups.
#include <string>
#include <vector>

#include "headless/record_layouts.h"
#include "headless/score_builder.h"
#include "tests/headless/host_fixture.h"

namespace headless {
namespace {

class Builder : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    staff = builder.AddStaff("Violin");
  }

  // Displacement and raise/lower of a single note entered at the start of a measure.
  std::pair<int, int> Placed(int16_t measure, const char* pitch) {
    uint32_t number = builder.AddEntry(staff, measure, 1, 0, kQuarter, {Spec(pitch)});
    EntryInfo entry;
    if (number == 0 || !Host().Queries().FindEntry(number, &entry) || entry.notes.size() != 1) return {999, 999};
    return {entry.notes[0].displacement, entry.notes[0].raiseLower};
  }

  static NoteSpec Spec(const char* pitch) {
    NoteSpec spec;
    EXPECT_TRUE(ParseNoteText(pitch, &spec)) << pitch;
    return spec;
  }

  ScoreBuilder builder;
  int16_t staff = 0;
};

TEST_F(Builder, SpellingGivesDisplacementAndRaiseLowerInTheKey) {
  struct Case {
    int fifths;
    bool minor;
    const char* pitch;
    int displacement;
    int raiseLower;
  };
  const Case cases[] = {
      {2, false, "F#4", 2, 0}, {2, false, "F4", 2, -1},   {2, false, "C#5", 6, 0},  {2, false, "C4", -1, -1},
      {2, false, "D4", 0, 0},  {-1, false, "Bb3", -4, 0}, {-1, false, "B3", -4, 1}, {0, false, "C4", 0, 0},
      {0, false, "B3", -1, 0}, {0, false, "C5", 7, 0},    {0, false, "Cx4", 0, 2},  {0, false, "Gbb3", -3, -2},
      {0, true, "A4", 0, 0},   {0, true, "G#4", -1, 1},   {0, true, "C5", 2, 0},    {-3, false, "Ab4", 3, 0},
      {-3, false, "A4", 3, 1}, {-3, false, "En4", 0, 1},  {7, false, "B#3", -1, 0}, {-7, false, "C4", 0, 1},
      {3, true, "E#4", -1, 1}, {3, true, "F#4", 0, 0},    {-1, true, "Bb4", 5, 0},  {-1, true, "C#4", -1, 1},
  };
  builder.AddMeasures(static_cast<int>(sizeof cases / sizeof cases[0]));
  int16_t measure = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pitch) + " with " + std::to_string(c.fifths) + (c.minor ? " minor" : " major"));
    ASSERT_TRUE(builder.SetKey(measure, c.fifths, c.minor));
    EXPECT_EQ(Placed(measure, c.pitch), std::make_pair(c.displacement, c.raiseLower));
    ++measure;
  }
}

// The reading rules of a note record: the tonic tables, the letter (t + d) mod 7,
// the octave rule with the preferences value, and the key's effect on a letter.
struct ReadNote {
  char letter;
  int alteration;
  int octave;
};

ReadNote ReadBack(uint16_t key, int displacement, int raiseLower, int octaveValue) {
  static const int kMajor[] = {2, 6, 3, 0, 4, 1, 5, 2};
  static const int kMinor[] = {0, 4, 1, 5, 2, 6, 3, 0};
  int count = static_cast<int8_t>(key & 0xFF);
  int sharps = count > 0 ? count : 0;
  int flats = count < 0 ? -count : 0;
  const int* table = ((key >> 8) & 0x3F) == 1 ? kMinor : kMajor;
  int tonic = flats > 0 ? table[7 - flats % 7] : table[sharps % 7];
  int letter = ((tonic + displacement) % 7 + 7) % 7;
  int octave = (tonic + (octaveValue / 12) * 7 + displacement + 26) / 7 + (tonic <= 1 ? 1 : 0);
  int sharpPosition = (2 * letter + 5) % 7 == 0 ? 7 : (2 * letter + 5) % 7;
  int flatPosition = (17 - 2 * letter) % 7 == 0 ? 7 : (17 - 2 * letter) % 7;
  int alteration = raiseLower + (sharps >= sharpPosition ? 1 : 0) - (flats >= flatPosition ? 1 : 0);
  return ReadNote{static_cast<char>('A' + letter), alteration, octave};
}

TEST_F(Builder, EverySpellingReadsBackByTheRulesOfTheNoteRecord) {
  const int octaveValues[] = {0, 12, -24};
  builder.AddMeasures(30 * 3);
  int16_t measure = 1;
  for (int octaveValue : octaveValues) {
    ASSERT_TRUE(builder.SetGeneralPrefsOctaveValue(static_cast<int16_t>(octaveValue)));
    for (int fifths = -7; fifths <= 7; ++fifths) {
      for (bool minor : {false, true}) {
        builder.SetKey(measure, fifths, minor);
        int index = 0;
        for (char letter = 'A'; letter <= 'G'; ++letter) {
          for (int octave = 2; octave <= 6; ++octave) {
            for (int alteration = -2; alteration <= 2; ++alteration) {
              NoteSpec spec;
              spec.letter = letter;
              spec.octave = octave;
              spec.alteration = alteration;
              ASSERT_NE(builder.AddEntry(staff, measure, 1, 0, kQuarter, {spec}), 0u);
              EntryInfo entry;
              ASSERT_TRUE(Host().Queries().EntryAt(staff, measure, 1, index++, &entry));
              ReadNote read = ReadBack(builder.KeyValueAt(staff, measure), entry.notes[0].displacement,
                                       entry.notes[0].raiseLower, octaveValue);
              ASSERT_EQ(read.letter, letter) << fifths << " " << minor << " " << octave;
              ASSERT_EQ(read.octave, octave) << letter << " " << fifths << " " << minor << " " << octaveValue;
              ASSERT_EQ(read.alteration, alteration) << letter << " " << fifths << " " << minor;
            }
          }
        }
        ++measure;
      }
    }
  }
}

TEST_F(Builder, KeyChangesSetAtOnceHoldAsIfSetOneByOne) {
  builder.AddMeasures(6);
  // Out of order, a measure set twice (the later wins), a measure that does
  // not exist and a key beyond seven flats, which are left out.
  EXPECT_FALSE(builder.SetKeys({{4, -2, false}, {2, 3, true}, {9, 1, false}, {4, 1, false}, {5, -8, false}}));
  const uint16_t expected[] = {0, 0x0103, 0x0103, 0x0001, 0x0001, 0x0001};
  for (int16_t measure = 1; measure <= 6; ++measure) {
    EXPECT_EQ(builder.KeyValueAt(staff, measure), expected[measure - 1]) << "measure " << measure;
  }
  EXPECT_TRUE(builder.SetKeys({{6, -7, false}}));
  EXPECT_EQ(builder.KeyValueAt(staff, 5), 0x0001);
  EXPECT_EQ(builder.KeyValueAt(staff, 6), 0x00F9);
  EXPECT_TRUE(builder.SetKeys({}));
  EXPECT_EQ(builder.KeyValueAt(staff, 6), 0x00F9);
}

TEST_F(Builder, AStaffAddedTakesTheNextNumberAndTheLastSlotOfEverySystem) {
  int16_t viola = builder.AddStaff("Viola");
  ASSERT_TRUE(builder.SetSlotOrder({viola, staff}));
  builder.AddMeasures(4);
  ASSERT_TRUE(builder.SetMeasuresPerSystem(2));
  int16_t cello = builder.AddStaff("Cello");
  EXPECT_EQ(cello, viola + 1);
  EXPECT_EQ(Host().SlotOrder(0), (std::vector<int16_t>{viola, staff, cello})) << "the order set stays";
  for (int16_t system = 1; system <= 2; ++system) {
    std::vector<uint8_t> record;
    ASSERT_TRUE(Host().Queries().ReadRecord(kSystemStaffTag, system, 2, 0, &record)) << "system " << system;
    EXPECT_EQ(SystemStaffRecord::Staff::Get(record), cello);
  }
  EXPECT_NE(builder.AddEntry(cello, 1, 1, 0, kQuarter, {Spec("C4")}), 0u);
  EXPECT_EQ(builder.AddEntry(cello + 1, 1, 1, 0, kQuarter, {Spec("C4")}), 0u) << "no such staff";
  EXPECT_EQ(builder.AddEntry(static_cast<int16_t>(staff - 1), 1, 1, 0, kQuarter, {Spec("C4")}), 0u);
}

TEST_F(Builder, ACellKeyGovernsOnlyItsCell) {
  int16_t other = builder.AddStaff("Viola");
  builder.AddMeasures(3);
  ASSERT_TRUE(builder.SetCellKey(staff, 2, -2));
  std::vector<uint8_t> record;
  ASSERT_TRUE(Host().Queries().ReadRecord(kStaffTag, staff, 0, 0, &record));
  EXPECT_LT(StaffRecord::IndependentKeys::Get(record), 0);
  ASSERT_TRUE(Host().Queries().ReadRecord(kCellDetailTag, staff, 2, 0, &record));
  EXPECT_EQ(CellDetailRecord::Flags::Get(record) & kCellHasOwnKey, kCellHasOwnKey);
  EXPECT_EQ(CellDetailRecord::KeyValue::Get(record), 0x00FE);
  EXPECT_EQ(builder.KeyValueAt(staff, 2), 0x00FE);
  EXPECT_EQ(builder.KeyValueAt(other, 2), 0);
  EXPECT_EQ(Placed(2, "F4"), std::make_pair(-3, 0));  // below B-flat 4
  EXPECT_EQ(Placed(2, "B4"), std::make_pair(0, 1));
  EXPECT_EQ(Placed(3, "B4"), std::make_pair(6, 0));
}

TEST_F(Builder, NoteTextsAndTheirModifiers) {
  NoteSpec spec;
  ASSERT_TRUE(ParseNoteText("~F#4(!)", &spec));
  EXPECT_EQ(spec.letter, 'F');
  EXPECT_EQ(spec.alteration, 1);
  EXPECT_EQ(spec.octave, 4);
  EXPECT_EQ(spec.flags, kTiedFromPreviousFlag | kAccidentalShownFlag | kParenthesesFlag);
  ASSERT_TRUE(ParseNoteText("Bbb2!", &spec));
  EXPECT_EQ(spec.alteration, -2);
  EXPECT_EQ(spec.flags, kAccidentalShownFlag);
  ASSERT_TRUE(ParseNoteText("G###5", &spec));
  EXPECT_EQ(spec.alteration, 3);
  ASSERT_TRUE(ParseNoteText("An-1", &spec));
  EXPECT_EQ(spec.octave, -1);
  EXPECT_EQ(spec.flags, 0u);
  for (const char* bad : {"", "H4", "f4", "E#", "C4!!", "C4(!", "Cb#4", "~", "C4x"}) {
    EXPECT_FALSE(ParseNoteText(bad, &spec)) << bad;
  }
}

TEST_F(Builder, AVoiceRunsThroughMeasuresWithGraceNotesAndRests) {
  builder.AddMeasures(3);
  builder.SetMeasureLength(2, 3 * kQuarter);
  VoiceWriter voice = builder.Voice(staff, 2);
  uint32_t grace = voice.Grace("F#4!");
  uint32_t note = voice.Note("G4", kHalf);
  uint32_t chord = voice.Chord({"C4", "E4", "G4"}, kHalf);
  uint32_t rest = voice.Rest(kHalf);
  voice.NextMeasure();
  uint32_t third = voice.Note("A4", kQuarter);
  EXPECT_EQ(voice.Measure(), 3);
  EXPECT_EQ(builder.Voice(staff, 1, 4).Note("C4", kQuarter), 0u);
  EXPECT_EQ(voice.Note("Q4", kQuarter), 0u);

  EntryInfo entry;
  ASSERT_TRUE(Host().Queries().FindEntry(grace, &entry));
  EXPECT_TRUE(entry.IsGrace());
  EXPECT_TRUE(entry.IsNote());
  EXPECT_EQ(entry.position, 0);
  EXPECT_EQ(entry.layer, 2);
  EXPECT_TRUE(entry.notes[0].AccidentalShown());
  ASSERT_TRUE(Host().Queries().FindEntry(note, &entry));
  EXPECT_EQ(entry.index, 1);
  EXPECT_EQ(entry.position, 0);
  EXPECT_EQ(entry.secondPosition, kHalf);
  EXPECT_FALSE(entry.IsGrace());
  ASSERT_TRUE(Host().Queries().FindEntry(chord, &entry));
  EXPECT_EQ(entry.position, kHalf);
  ASSERT_EQ(entry.notes.size(), 3u);
  EXPECT_EQ(entry.notes[2].id, 3);
  EXPECT_EQ(entry.notes[2].flags & 0x001F0000u, 0x00030000u);
  ASSERT_TRUE(Host().Queries().FindEntry(rest, &entry));
  EXPECT_EQ(entry.measure, 2);
  EXPECT_FALSE(entry.IsNote());
  EXPECT_TRUE(entry.notes.empty());
  ASSERT_TRUE(Host().Queries().FindEntry(third, &entry));
  EXPECT_EQ(entry.measure, 3);
  EXPECT_EQ(Host().Queries().EntryCount(staff, 1, 2), 3);
}

TEST_F(Builder, StavesInstrumentsGroupsAndParts) {
  int16_t lower = builder.AddStaff("Piano");
  int16_t third = builder.AddStaff("Pedal");
  EXPECT_EQ(staff, kFirstStaffNumber);
  EXPECT_EQ(Host().SlotOrder(0), (std::vector<int16_t>{staff, lower, third}));
  EXPECT_FALSE(builder.SetSlotOrder({lower, staff}));
  EXPECT_EQ(builder.AddInstrument({staff}, "Solo"), 0);

  int16_t instrument = builder.AddInstrument({staff, lower, third}, "Organ");
  ASSERT_GT(instrument, 0);
  std::vector<uint8_t> record;
  ASSERT_TRUE(Host().Queries().ReadRecord(kInstrumentTag, instrument, 0, 0, &record));
  EXPECT_EQ(InstrumentRecord::ThirdStaff::Get(record), third);
  int16_t group = InstrumentRecord::Group::Get(record);
  ASSERT_TRUE(Host().Queries().ReadRecord(kGroupTag, 0, group, 0, &record));
  EXPECT_EQ(GroupRecord::FirstStaff::Get(record), staff);
  EXPECT_EQ(GroupRecord::LastStaff::Get(record), third);
  EXPECT_EQ(GroupRecord::BracketKind::Get(record), 3);
  EXPECT_EQ(GroupRecord::GrandStaffValue::Get(record), 1);
  int16_t bracket = builder.AddGroup(lower, third, "", 1);
  EXPECT_EQ(bracket, group + 1);

  builder.AddMeasures(2);
  EXPECT_TRUE(builder.SetMeasureFlagValue(2, 1));
  ASSERT_TRUE(Host().Queries().ReadRecord(kMeasureTag, 2, 0, 0, &record));
  EXPECT_EQ(MeasureRecord::FlagValue::Get(record), 1);
  int16_t part = builder.AddPart("Pedal", {third, staff});
  EXPECT_EQ(part, 1);
  EXPECT_EQ(Host().SlotOrder(part), (std::vector<int16_t>{third, staff}));
  EXPECT_EQ(builder.AddPart("Nobody", {99}), 0);
}

TEST_F(Builder, TheOlderMeasureLayoutHasNoFlagValue) {
  ReinstallHost(0x11FFFFFF);
  ScoreBuilder older;
  older.AddStaff("Flute");
  older.AddMeasures(1);
  EXPECT_FALSE(older.SetMeasureFlagValue(1, 1));
}

}  // namespace
}  // namespace headless
