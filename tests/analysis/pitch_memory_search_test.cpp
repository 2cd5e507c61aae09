// The searches through a group's index against the walk through the whole
// group, note by note: groups collected staff by staff (as the cross-staff
// pass does, so a measure's entries are out of time order) and measure by
// measure, with grace notes, chords and, in one round, pitch names longer
// than the host makes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/pitch_memory.h"
#include "analysis/tc_analyze_entry_collection.h"
#include "analysis/tc_note_pitch_found_info.h"
#include "framework/tc_string.h"
#include "headless/score_builder.h"
#include "score/tc_note_entry_cell.h"
#include "shell/tx_api.h"
#include "tests/analysis/generated_score.h"
#include "tests/headless/host_fixture.h"

namespace {

constexpr uint32_t kAllLayers = 15;
constexpr int kStaves = 5;
constexpr int kMeasures = 24;

struct Answer {
  bool found;
  const TCNotePitch* note;
  const TCNotePitches* entry;
  bool operator==(const Answer& other) const {
    return found == other.found && note == other.note && entry == other.entry;
  }
};

class PitchMemorySearchTest : public headless::HostFixture {
 protected:
  static void Collect(bool staffByStaff, TCAnalyzeEntryCollection* collection) {
    std::vector<TCNotePitches*> entries;
    for (int outer = 1; outer <= (staffByStaff ? kStaves : kMeasures); ++outer) {
      for (int inner = 1; inner <= (staffByStaff ? kMeasures : kStaves); ++inner) {
        int32_t slot = staffByStaff ? outer : inner;
        TCNoteEntryCell cell(staffByStaff ? inner : outer, TX_SlotToInst(slot, 0));
        if (cell.Load()) CollectCellEntries(kAllLayers, &cell, &entries);
      }
    }
    collection->AddEntries(entries);
  }

  // Every seventh note gets a name of four units or more without its signs;
  // the last two are spellings that differ only after their fourth unit.
  static void GiveLongNames(TCAnalyzeEntryCollection* collection) {
    const char* names[] = {"Gbb-12", "G#-12", "G-12", "Gx-120", "Abb-12", "Gbbb#-12", "Gbbbx-12"};
    int count = 0;
    for (int32_t i = 0; i < collection->GetCount(); ++i) {
      TCNotePitches* entry = collection->GetEntryAt(i);
      for (int32_t n = 0; n < entry->GetCount(); ++n) {
        if (++count % 7 != 0) continue;
        TCNotePitch* pitch = entry->GetPitchAt(n);
        pitch->DeleteStoredPitchName();
        pitch->SetStoredPitchName(new TCString(names[(count / 7) % 7]));
      }
    }
  }

  static void SpreadMeasures(TCAnalyzeEntryCollection* collection) {
    for (int32_t i = 0; i < collection->GetCount(); ++i) {
      TCNotePitches* entry = collection->GetEntryAt(i);
      entry->SetMeasure(entry->GetMeasure() * 100000);
    }
  }

  using SearchCall = std::function<bool(const TCAnalyzeEntryCollection*, TCNotePitchFoundInfo*)>;

  static Answer Ask(const SearchCall& search, const TCAnalyzeEntryCollection& collection) {
    TCNotePitchFoundInfo found;
    bool answer = search(&collection, &found);
    return Answer{answer, found.note, found.entry};
  }

  // Compares every search for every note through the collection's index and
  // through a walk of the same entries; answers how many found something.
  static int CompareEverySearch(const TCAnalyzeEntryCollection& collection) {
    TCAnalyzeEntryCollection walk(TCAnalyzeEntryCollection::Entries::Borrowed, PitchSearch::WholeGroup);
    std::vector<TCNotePitches*> entries;
    for (int32_t i = 0; i < collection.GetCount(); ++i) entries.push_back(collection.GetEntryAt(i));
    walk.AddEntries(entries);
    int found = 0;
    for (int32_t i = 0; i < collection.GetCount(); ++i) {
      const TCNotePitches* entry = collection.GetEntryAt(i);
      for (int32_t n = 0; n < entry->GetCount(); ++n) {
        const TCNotePitch* note = entry->GetPitchAt(n);
        std::vector<SearchCall> searches;
        for (bool octaves : {false, true}) {
          searches.push_back([=](const TCAnalyzeEntryCollection* group, TCNotePitchFoundInfo* info) {
            return FindPreviousPitch(note, entry, group, octaves, info);
          });
          for (int32_t line = 0; entry->GetCount() >= 2 && line < entry->GetCount(); ++line) {
            searches.push_back([=](const TCAnalyzeEntryCollection* group, TCNotePitchFoundInfo* info) {
              return FindPreviousChordLinePitch(note, entry, group, line, octaves, info);
            });
          }
        }
        searches.push_back([=](const TCAnalyzeEntryCollection* group, TCNotePitchFoundInfo* info) {
          return FindSpellingDifferenceOnBeat(note, entry, group, info);
        });
        for (size_t s = 0; s < searches.size(); ++s) {
          Answer walked = Ask(searches[s], walk);
          Answer indexed = Ask(searches[s], collection);
          EXPECT_TRUE(indexed == walked) << "entry " << i << ", note " << n << ", search " << s;
          found += walked.found ? 1 : 0;
        }
      }
    }
    return found;
  }
};

TEST_F(PitchMemorySearchTest, IndexedSearchesAnswerAsWholeGroupWalksForEveryNote) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    Host().NewDocument();
    headless::ScoreBuilder builder;
    GeneratedScoreShape shape;
    shape.staves = kStaves;
    shape.measures = kMeasures;
    shape.layers = 2;
    shape.linkedParts = 0;
    shape.seed = seed;
    BuildGeneratedScore(builder, shape);
    for (bool staffByStaff : {true, false}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + (staffByStaff ? ", staff by staff" : ", measure by measure"));
      TCAnalyzeEntryCollection collection;
      Collect(staffByStaff, &collection);
      if (seed == 3) GiveLongNames(&collection);
      // Measures far apart, as no table by measure can hold.
      if (seed == 2) SpreadMeasures(&collection);
      ASSERT_GT(collection.GetCount(), 300);
      EXPECT_GT(CompareEverySearch(collection), 500);
    }
  }
}

// One beat where two spellings of a letter each come twice: the index must
// keep the first entry of each spelling, in collection order.
TEST_F(PitchMemorySearchTest, RepeatedSpellingsOnABeatNameTheirFirstEntry) {
  Host().NewDocument();
  headless::ScoreBuilder builder;
  const char* names[] = {"C#4", "C4", "C#4", "C4", "Cx4", "C#4"};
  std::vector<int16_t> staves;
  for (const char* name : names) staves.push_back(builder.AddStaff(name));
  builder.AddMeasures(1);
  for (size_t i = 0; i < staves.size(); ++i) builder.Voice(staves[i]).Note(names[i], headless::kWhole);
  TCAnalyzeEntryCollection collection;
  std::vector<TCNotePitches*> entries;
  for (int32_t slot = 1; slot <= 6; ++slot) {
    TCNoteEntryCell cell(1, TX_SlotToInst(slot, 0));
    if (cell.Load()) CollectCellEntries(kAllLayers, &cell, &entries);
  }
  collection.AddEntries(entries);
  ASSERT_EQ(collection.GetCount(), 6);
  CompareEverySearch(collection);
  const int32_t firstOther[] = {1, 0, 1, 0, 0, 1};
  for (int32_t i = 0; i < 6; ++i) {
    const TCNotePitches* entry = collection.GetEntryAt(i);
    TCNotePitchFoundInfo found;
    ASSERT_TRUE(FindSpellingDifferenceOnBeat(entry->GetPitchAt(0), entry, &collection, &found)) << i;
    EXPECT_EQ(found.entry, collection.GetEntryAt(firstOther[i])) << names[i] << " of staff " << i + 1;
  }
}

}  // namespace
