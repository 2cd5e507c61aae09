// The memory of one analysis group: its analysed entries in the order they
// were collected. A decision about a note searches this list backwards for
// the latest earlier note of the same letter.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/tc_analyze_entry_index.h"
#include "framework/tc_collection.h"
#include "score/tc_note_pitches.h"

class TCAnalyzeEntryCollection : public __TCCollection {
 public:
  // Owned entries are deleted with the collection; borrowed ones belong to
  // whoever built them (a scan's cells, shared by its passes).
  enum class Entries { Owned, Borrowed };

  // The searches through the collection use its index, or walk it whole.
  explicit TCAnalyzeEntryCollection(Entries entries = Entries::Owned, PitchSearch search = PitchSearch::Indexed)
      : entries_(entries), search_(search) {}
  // Deletes every owned entry with the pitch names of its notes.
  ~TCAnalyzeEntryCollection() override;

  const char* ClassName() const override { return "TCAnalyzeEntryCollection"; }

  TCNotePitches* GetEntryAt(int32_t index) const { return ItemAs<TCNotePitches>(*this, index); }
  // Adds the entries in their order, making room for all of them at once: a
  // group is collected whole before it joins the collection, which then grows
  // once instead of once every ten entries.
  void AddEntries(const std::vector<TCNotePitches*>& entries);

  // Whether some measure strictly between the two measures holds no entry of
  // the collection.
  bool HasEmptyMeasureBetween(int32_t firstMeasure, int32_t secondMeasure) const;

  bool UsesIndex() const { return search_ == PitchSearch::Indexed; }
  // Where the entries stand, made anew when entries were added since.
  const TCAnalyzeEntryIndex& GetIndex() const;

 private:
  void RefreshMeasures() const;

  Entries entries_;
  PitchSearch search_;
  // The distinct measures of the entries, ascending, for the count they were made at.
  mutable std::vector<int32_t> measures_;
  mutable int32_t measuresCount_ = -1;
  mutable TCAnalyzeEntryIndex index_;
  mutable int32_t indexCount_ = -1;
};
