#include "score/tc_note.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/tc_string.h"
#include "score/tc_cell.h"
#include "score/tc_entry_metrics.h"
#include "score/tc_key_signature.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitch.h"
#include "score/tc_note_pitches.h"
#include "shell/host_frame.h"
#include "tests/score/score_test_support.h"

namespace {

class NoteTest : public ScoreDataTest {
 protected:
  void SetUp() override {
    ScoreDataTest::SetUp();
    TCEntryMetrics::SetRefreshFlag(1);
  }

  static std::string PitchName(const TCNote* note, const TCKeySignature* key = nullptr) {
    TCString text;
    note->GetPitchName(&text, key);
    return text.GetUTF8();
  }

  // The names of every note of a cell's first layer, in order.
  static std::vector<std::string> NamesInCell(int16_t measure, int16_t staff) {
    std::vector<std::string> names;
    TCNoteEntryCell cell(measure, staff);
    cell.SetLayerMode(1);
    if (!cell.Load()) return names;
    for (int32_t e = 0; e < cell.GetCount(); ++e) {
      TCNoteEntry* entry = cell.GetEntryAt(e);
      for (int32_t n = 0; n < entry->GetNoteCount(); ++n) names.push_back(PitchName(entry->GetNoteAt(n)));
    }
    return names;
  }
};

std::string Spelling(char letter, int alteration, int octave) {
  std::string name(1, letter);
  if (alteration < 0) name.append(static_cast<size_t>(-alteration), 'b');
  if (alteration == 2) name += "x";
  if (alteration == 1) name += "#";
  return name + std::to_string(octave);
}

TEST_F(NoteTest, EverySpellingInEveryKeyComesBackUnchanged) {
  std::vector<std::string> spellings;
  for (int octave = 1; octave <= 7; ++octave) {
    for (char letter : std::string("CDEFGAB")) {
      for (int alteration = -2; alteration <= 2; ++alteration)
        spellings.push_back(Spelling(letter, alteration, octave));
    }
  }
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Everything");
  int16_t measures = 30;
  builder.AddMeasures(measures, static_cast<int32_t>(spellings.size()) * headless::kQuarter);
  struct Key {
    int fifths;
    bool minor;
  };
  std::vector<Key> keys;
  for (int fifths = -7; fifths <= 7; ++fifths) {
    keys.push_back({fifths, false});
    keys.push_back({fifths, true});
  }
  for (size_t k = 0; k < keys.size(); ++k) {
    int16_t measure = static_cast<int16_t>(k + 1);
    ASSERT_TRUE(builder.SetKey(measure, keys[k].fifths, keys[k].minor));
    auto voice = builder.Voice(staff, 1, measure);
    for (const std::string& spelling : spellings) ASSERT_NE(voice.Note(spelling.c_str(), headless::kQuarter), 0u);
  }
  for (size_t k = 0; k < keys.size(); ++k) {
    std::vector<std::string> names = NamesInCell(static_cast<int16_t>(k + 1), staff);
    ASSERT_EQ(names.size(), spellings.size()) << "measure " << k + 1;
    for (size_t i = 0; i < spellings.size(); ++i) {
      ASSERT_EQ(names[i], spellings[i]) << "first mismatch: key of " << keys[k].fifths << " fifths "
                                        << (keys[k].minor ? "minor" : "major") << ", note " << i;
    }
  }
}

TEST_F(NoteTest, LetterAlterationAndOctaveOfSingleNotes) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(3);
  builder.Voice(staff, 1, 1).Chord({"B3", "C5", "F###4"}, headless::kWhole);
  builder.SetKey(2, 2);
  builder.Voice(staff, 1, 2).Chord({"F#4", "C#5", "G4"}, headless::kWhole);
  builder.SetKey(3, -2);
  builder.Voice(staff, 1, 3).Chord({"Ebb4", "Bb3"}, headless::kWhole);

  TCNoteEntryCell cMajor(1, staff);
  ASSERT_TRUE(cMajor.Load());
  TCNoteEntry* chord = cMajor.GetEntryAt(0);
  EXPECT_EQ(chord->GetNoteAt(0)->GetDisplacement(), -1);
  EXPECT_EQ(chord->GetNoteAt(0)->GetLetter(), 'B');
  EXPECT_EQ(chord->GetNoteAt(0)->GetOctave(), 3);
  EXPECT_EQ(chord->GetNoteAt(1)->GetDisplacement(), 7);
  EXPECT_EQ(chord->GetNoteAt(1)->GetLetter(), 'C');
  EXPECT_EQ(chord->GetNoteAt(1)->GetOctave(), 5);
  EXPECT_EQ(chord->GetNoteAt(2)->GetAlteration(), 3);
  EXPECT_EQ(PitchName(chord->GetNoteAt(2)), "F###4");

  TCNoteEntryCell dMajor(2, staff);
  ASSERT_TRUE(dMajor.Load());
  chord = dMajor.GetEntryAt(0);
  EXPECT_EQ(chord->GetNoteAt(0)->GetRaiseLower(), 0);
  EXPECT_EQ(chord->GetNoteAt(0)->GetAlteration(), 1);
  EXPECT_EQ(chord->GetNoteAt(1)->GetAlteration(), 1);
  EXPECT_EQ(chord->GetNoteAt(2)->GetAlteration(), 0);

  TCNoteEntryCell bFlatMajor(3, staff);
  ASSERT_TRUE(bFlatMajor.Load());
  TCNote* eDoubleFlat = bFlatMajor.GetEntryAt(0)->GetNoteAt(0);
  EXPECT_EQ(eDoubleFlat->GetRaiseLower(), -1);
  EXPECT_EQ(eDoubleFlat->GetAlteration(), -2);
  EXPECT_EQ(PitchName(eDoubleFlat), "Ebb4");

  // A key given by the caller wins over the key in force: E is four steps
  // below the tonic B, which from C is an F of the octave below.
  TCKeySignature cKey(0);
  EXPECT_EQ(eDoubleFlat->GetDisplacement(), -4);
  EXPECT_EQ(PitchName(eDoubleFlat, &cKey), "Fb3");
  // A null text is left alone.
  eDoubleFlat->GetPitchName(nullptr);
}

TEST_F(NoteTest, OctaveFollowsTheDocumentsOctaveShift) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  ASSERT_TRUE(builder.SetGeneralPrefsOctaveValue(-12));
  builder.Voice(staff).Note("C4", headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCNote* note = cell.GetEntryAt(0)->GetNoteAt(0);
  EXPECT_EQ(note->GetDisplacement(), 7);
  EXPECT_EQ(PitchName(note), "C4");
}

TEST_F(NoteTest, CellKeyOfAStaffWithIndependentKeys) {
  headless::ScoreBuilder builder;
  int16_t horn = builder.AddStaff("Horn");
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(2);
  builder.SetKey(1, -3);
  ASSERT_TRUE(builder.SetCellKey(horn, 1, 2));
  builder.Voice(horn, 1, 1).Note("F#4", headless::kWhole);
  builder.Voice(horn, 1, 2).Note("Eb4", headless::kWhole);
  builder.Voice(flute, 1, 1).Note("Eb4", headless::kWhole);
  EXPECT_EQ(NamesInCell(1, horn), (std::vector<std::string>{"F#4"}));
  EXPECT_EQ(NamesInCell(2, horn), (std::vector<std::string>{"Eb4"}));
  EXPECT_EQ(NamesInCell(1, flute), (std::vector<std::string>{"Eb4"}));
  TCNoteEntryCell cell(1, horn);
  ASSERT_TRUE(cell.Load());
  EXPECT_EQ(cell.GetEntryAt(0)->GetNoteAt(0)->GetRaiseLower(), 0);
  EXPECT_EQ(cell.GetKeySignature()->GetSharpCount(), 2);

  // A cell keeps the key it found first for its whole life.
  TCCell keyCell(1, horn);
  TCKeySignature* key = keyCell.GetKeySignature();
  ASSERT_TRUE(builder.SetCellKey(horn, 1, -5));
  EXPECT_EQ(keyCell.GetKeySignature(), key);
  EXPECT_EQ(key->GetSharpCount(), 2);
  TCCell fresh(1, horn);
  EXPECT_EQ(fresh.GetKeySignature()->GetFlatCount(), 5);
}

TEST_F(NoteTest, RestHasNoLetterNorAlteration) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.SetKey(1, 3);
  builder.Voice(staff).Rest(headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCNoteEntry* rest = cell.GetEntryAt(0);
  ASSERT_TRUE(rest->IsRest());
  TCNote note(rest, 0, host_frame::NoteAt(rest->GetEntryRecord(), 0));
  EXPECT_EQ(note.GetLetter(), 0);
  EXPECT_EQ(note.GetAlteration(), 0);
  EXPECT_EQ(PitchName(&note), "");
}

TEST_F(NoteTest, AccidentalVisibilityBeforeHost0x12000000IsTheNotesOwnFlag) {
  ReinstallHost(0x11FFFFFF);
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Chord({"F#4!", "A4"}, headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCNoteEntry* entry = cell.GetEntryAt(0);
  EXPECT_TRUE(entry->GetNoteAt(0)->IsAccidentalVisible());
  EXPECT_FALSE(entry->GetNoteAt(1)->IsAccidentalVisible());
  TCNotePitches pitches;
  pitches.LoadFromEntry(entry);
  EXPECT_TRUE(pitches.GetPitchAt(0)->IsAccidentalShown());
  EXPECT_FALSE(pitches.GetPitchAt(1)->IsAccidentalShown());
  EXPECT_EQ(CountCalls("TX_GetEntryMetrics2009a") + CountCalls("TX_GetEntryMetrics2014"), 0);
  TCEntryMetrics metrics;
  EXPECT_TRUE(metrics.Load(entry));
  EXPECT_EQ(metrics.FindNoteVisibility(entry->GetNoteAt(0)->GetNoteID()), nullptr);
  EXPECT_EQ(CountCalls("TX_GetEntryMetrics2009a"), 1);
}

TEST_F(NoteTest, AccidentalVisibilityFromHost0x12000000ComesFromTheMetrics) {
  ReinstallHost(0x12000000);
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Chord({"F#4!", "A4", "C#5"}, headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCNoteEntry* entry = cell.GetEntryAt(0);
  // The note's own flag says shown; the copy takes what the host draws.
  entry->GetNoteAt(2)->SetAccidentalShown(true);
  TCNotePitches pitches;
  pitches.LoadFromEntry(entry);
  EXPECT_TRUE(pitches.GetPitchAt(0)->IsAccidentalShown());
  EXPECT_FALSE(pitches.GetPitchAt(1)->IsAccidentalShown());
  EXPECT_FALSE(pitches.GetPitchAt(2)->IsAccidentalShown());
  EXPECT_TRUE(entry->GetNoteAt(0)->IsAccidentalVisible());
  EXPECT_FALSE(entry->GetNoteAt(1)->IsAccidentalVisible());

  std::vector<headless::HostCall> calls = Host().CallLog().Named("TX_GetEntryMetrics2014");
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(static_cast<uint32_t>(calls[0].arguments[0]), entry->GetEntryNumber());
  EXPECT_EQ(calls[0].arguments[1], 1);
  EXPECT_EQ(calls[0].arguments[2], staff);
  EXPECT_EQ(calls[0].arguments[4], 1);  // refresh asked once
  EXPECT_EQ(calls[1].arguments[4], 0);
  EXPECT_EQ(CountCalls("TX_GetEntryMetrics2009a"), 0);

  TCEntryMetrics metrics;
  ASSERT_TRUE(metrics.Load(entry));
  ASSERT_TRUE(metrics.Load(entry));  // reloading gives the earlier metrics back first
  EXPECT_EQ(Host().Frames().LiveMetrics(), 1);
  EXPECT_EQ(metrics.FindNoteVisibility(0x7FFF), nullptr);
  ASSERT_NE(metrics.FindNoteVisibility(entry->GetNoteAt(0)->GetNoteID()), nullptr);
}

TEST_F(NoteTest, MetricsAreGivenBackOnRelease) {
  headless::ScoreBuilder builder;
  int16_t staff = builder.AddStaff("Flute");
  builder.AddMeasures(1);
  builder.Voice(staff).Note("C4", headless::kWhole);
  TCNoteEntryCell cell(1, staff);
  ASSERT_TRUE(cell.Load());
  TCEntryMetrics metrics;
  EXPECT_FALSE(metrics.Load(nullptr));
  EXPECT_TRUE(metrics.Load(cell.GetEntryAt(0)));
  metrics.Release();
  EXPECT_FALSE(metrics.IsLoaded());
  EXPECT_EQ(Host().Frames().LiveMetrics(), 0);
}

// A name handed over and the note pitch's own string take turns; ASan
// reports any that is freed twice or never.
TEST(NotePitchName, OwnAndHandedOverNamesTakeTurns) {
  const uint8_t record[10] = {};
  TCNotePitch pitch(record);
  EXPECT_EQ(pitch.GetStoredPitchName(), nullptr);
  TCString* own = pitch.UseOwnPitchName();
  own->SetCString("F#4");
  EXPECT_EQ(pitch.GetStoredPitchName(), own);
  EXPECT_EQ(pitch.UseOwnPitchName(), own) << "the same string every time";

  pitch.SetStoredPitchName(new TCString("Gb4"));
  EXPECT_STREQ(pitch.GetStoredPitchName()->GetCString(), "Gb4");
  pitch.SetStoredPitchName(pitch.GetStoredPitchName());
  EXPECT_STREQ(pitch.GetStoredPitchName()->GetCString(), "Gb4") << "setting the same name keeps it";
  EXPECT_EQ(pitch.UseOwnPitchName(), own);
  pitch.DeleteStoredPitchName();
  EXPECT_EQ(pitch.GetStoredPitchName(), nullptr);
  pitch.SetStoredPitchName(new TCString("A4"));
  // Destroyed holding a name handed over.
}

}  // namespace
