#include "analysis/pitch_memory.h"

#include <algorithm>
#include <cstdlib>

#include "analysis/analysis_settings.h"
#include "analysis/tc_analyze_entry_collection.h"
#include "analysis/tc_note_pitch_found_info.h"
#include "framework/tc_string.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_staff.h"

namespace {

bool IsAccidentalSign(char16_t unit) { return unit == u'#' || unit == u'b' || unit == u'x'; }
bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

int32_t LengthOf(const TCString* name) { return name ? static_cast<int32_t>(name->GetLength()) : 0; }
char16_t UnitAt(const TCString* name, int32_t index) { return name ? name->GetCharAt(index) : 0; }

// Compares two names from a start index, leaving out the units that skip says.
template <typename Skip>
bool EqualLeavingOut(const TCString* first, const TCString* second, int32_t start, Skip skip) {
  int32_t i = start;
  int32_t j = start;
  int32_t firstLength = LengthOf(first);
  int32_t secondLength = LengthOf(second);
  for (;;) {
    while (i < firstLength && skip(UnitAt(first, i))) ++i;
    while (j < secondLength && skip(UnitAt(second, j))) ++j;
    if (i >= firstLength || j >= secondLength) return i >= firstLength && j >= secondLength;
    if (UnitAt(first, i) != UnitAt(second, j)) return false;
    ++i;
    ++j;
  }
}

int32_t LengthWithoutOctave(const TCString* name) {
  int32_t length = LengthOf(name);
  while (length > 0 && IsDigit(UnitAt(name, length - 1))) --length;
  return length;
}

bool IsHiddenAtEntry(const TCNoteEntry* entry) {
  TCCurrentStaffSpec spec;
  if (!spec.LoadAtPosition(entry->GetStaff(), entry->GetMeasure(), entry->GetPosition())) return false;
  return (spec.GetFlags() & TCStaff::kHiddenFlags) != 0;
}

bool IsLayerInMask(uint32_t layerMask, int32_t layer) {
  if (layer < 1 || layer > 32) return false;
  return (layerMask & (1u << (layer - 1))) != 0;
}

// At or before in time: an earlier measure, or the same measure at a position
// not after the other's.
bool IsAtOrBefore(const TCNotePitches* candidate, const TCNotePitches* entry) {
  if (candidate->GetMeasure() != entry->GetMeasure()) return candidate->GetMeasure() < entry->GetMeasure();
  return candidate->GetPosition() <= entry->GetPosition();
}

bool IsNotEarlier(const TCNotePitches* candidate, const TCNotePitches* best) {
  if (candidate->GetMeasure() != best->GetMeasure()) return candidate->GetMeasure() > best->GetMeasure();
  return candidate->GetPosition() >= best->GetPosition();
}

// A grace entry sits at the position of the note it precedes, so it never
// replaces a main note of the same measure.
bool ReplacesBest(const TCNotePitches* candidate, const TCNotePitches* best, bool graceRule) {
  if (!best) return true;
  if (candidate->GetMeasure() > best->GetMeasure()) return true;
  if (!IsNotEarlier(candidate, best)) return false;
  if (!graceRule || !candidate->IsGrace()) return true;
  return best->IsGrace() && candidate->GetGraceRun() >= best->GetGraceRun();
}

struct SearchRequest {
  const TCNotePitch* note;
  const TCNotePitches* entry;
  int32_t chordLine;
  bool graceRule;
  bool independentOctaves;
};

// One step of the backward walk: equal candidates replace the best, so among
// ties the one collected first wins.
void ConsiderCandidate(const SearchRequest& request, const TCNotePitches* candidate, const TCNotePitch** bestNote,
                       const TCNotePitches** best) {
  if (!candidate || candidate == request.entry) return;
  if (!IsAtOrBefore(candidate, request.entry)) return;
  if (!ReplacesBest(candidate, *best, request.graceRule)) return;
  const TCNotePitch* match = FindMatchingNote(request.note, candidate, request.chordLine, request.independentOctaves);
  if (!match) return;
  *best = candidate;
  *bestNote = match;
}

void SearchWholeCollection(const SearchRequest& request, const TCAnalyzeEntryCollection& collection,
                           const TCNotePitch** bestNote, const TCNotePitches** best) {
  for (int32_t i = collection.GetCount() - 1; i >= 0; --i) {
    ConsiderCandidate(request, collection.GetEntryAt(i), bestNote, best);
  }
}

using Candidate = TCAnalyzeEntryIndex::Candidate;
using MeasureRange = TCAnalyzeEntryIndex::MeasureRange;

// The rule of ReplacesBest within one measure, on the index's copies of the
// entries' values: the indexed searches touch an entry only once it matters.
bool ReplacesBestInMeasure(const Candidate& candidate, const Candidate* best, bool graceRule) {
  if (!best) return true;
  if (candidate.position < best->position) return false;
  if (!graceRule || !candidate.grace) return true;
  return best->grace && candidate.graceRun >= best->graceRun;
}

// Whether a candidate is another entry with a note the search matches. Every
// candidate of the note's key holds one, unless the search keeps to one
// chord line: then a chord must hold the key on that line, which the
// candidate's lines tell without reading the entry.
bool Matches(const SearchRequest& request, const TCAnalyzeEntryCollection& collection, const Candidate& candidate) {
  const TCNotePitches* entry = collection.GetEntryAt(candidate.index);
  if (!entry || entry == request.entry) return false;
  if (request.chordLine == kAnyChordLine || !candidate.chord) return true;
  if (candidate.linesKnown && request.chordLine >= 0 && request.chordLine < 32) {
    return (candidate.lines >> request.chordLine & 1u) != 0;
  }
  return FindMatchingNote(request.note, entry, request.chordLine, request.independentOctaves) != nullptr;
}

// The first place of [begin, last] whose candidate stands after position,
// where positions rise along those places and the last one stands after it.
uint32_t FirstPlaceAfter(const TCAnalyzeEntryIndex::MeasureRanges& index, uint32_t begin, uint32_t last,
                         int32_t position) {
  while (begin < last) {
    uint32_t middle = begin + (last - begin) / 2;
    if (index.CandidateAt(middle).position > position) {
      last = middle;
    } else {
      begin = middle + 1;
    }
  }
  return last;
}

// The candidates of one measure, last collected first. Those after the
// entry's position never count, nor can one before the best one's position
// replace it; as the best only moves later, the walk skips such candidates
// a run of rising positions at a time, and ends where every earlier
// candidate stands before the best. In a run, the candidates after the
// entry's position are its last ones, so they are skipped all at once: a
// measure of thousands of notes is not walked again for each of them.
const Candidate* WalkMeasure(const SearchRequest& request, const TCAnalyzeEntryCollection& collection,
                             const MeasureRange& range, const TCAnalyzeEntryIndex::MeasureRanges& index) {
  bool ownMeasure = range.measure == request.entry->GetMeasure();
  int32_t latest = request.entry->GetPosition();
  const Candidate* best = nullptr;
  for (uint32_t place = range.end; place-- > range.begin;) {
    const Candidate& candidate = index.CandidateAt(place);
    if (best && candidate.highestPositionUpTo < best->position) break;
    if (ownMeasure && candidate.position > latest) {
      place = FirstPlaceAfter(index, candidate.runStart, place, latest);
      continue;
    }
    if (best && candidate.position < best->position) {
      place = candidate.runStart;
      continue;
    }
    if (ReplacesBestInMeasure(candidate, best, request.graceRule) && Matches(request, collection, candidate)) {
      best = &candidate;
    }
  }
  return best;
}

// Without grace entries to weigh, the walk's answer does not depend on its
// order: the matching candidate at the latest position wins, and among
// candidates at that position the one collected first. So the candidates
// are taken by position, latest first, each position in collection order,
// and the first match ends the search.
const Candidate* SearchMeasureByPosition(const SearchRequest& request, const TCAnalyzeEntryCollection& collection,
                                         const MeasureRange& range, const TCAnalyzeEntryIndex::MeasureRanges& index) {
  auto candidateAt = [&](uint32_t k) -> const Candidate& { return index.CandidateAt(index.PlaceByPosition(k)); };
  uint32_t end = range.end;
  if (range.measure == request.entry->GetMeasure()) {
    uint32_t low = range.begin;
    while (low < end) {
      uint32_t middle = low + (end - low) / 2;
      if (candidateAt(middle).position <= request.entry->GetPosition()) {
        low = middle + 1;
      } else {
        end = middle;
      }
    }
  }
  while (end > range.begin) {
    uint32_t begin = end - 1;
    while (begin > range.begin && candidateAt(begin - 1).position == candidateAt(end - 1).position) --begin;
    for (uint32_t k = begin; k < end; ++k) {
      if (Matches(request, collection, candidateAt(k))) return &candidateAt(k);
    }
    end = begin;
  }
  return nullptr;
}

const Candidate* SearchMeasure(const SearchRequest& request, const TCAnalyzeEntryCollection& collection,
                               const MeasureRange& range, const TCAnalyzeEntryIndex::MeasureRanges& index) {
  bool orderFree = !range.holdsGrace || !request.graceRule;
  if (!range.inTimeOrder && orderFree) return SearchMeasureByPosition(request, collection, range, index);
  return WalkMeasure(request, collection, range, index);
}

// The best candidate always lies in the latest measure that holds a match:
// a candidate of a later measure replaces any best, one of an earlier
// measure never does. So the walk goes back measure by measure through the
// entries with a note it may match and stops at the first measure with a match;
// within it the candidates meet in the same order as in the whole walk.
void SearchIndexedMeasures(const SearchRequest& request, const TCAnalyzeEntryCollection& collection,
                           const TCNotePitch** bestNote, const TCNotePitches** best) {
  TCAnalyzeEntryIndex::MeasureRanges ranges =
      collection.GetIndex().EntriesMatching(request.note, request.independentOctaves);
  const MeasureRange* range = ranges.EndAtMeasure(request.entry->GetMeasure());
  const Candidate* found = nullptr;
  while (range != ranges.first && !found) {
    --range;
    found = SearchMeasure(request, collection, *range, ranges);
  }
  if (!found) return;
  *best = collection.GetEntryAt(found->index);
  *bestNote = FindMatchingNote(request.note, *best, request.chordLine, request.independentOctaves);
}

bool SearchBackwards(const SearchRequest& request, const TCAnalyzeEntryCollection* collection,
                     TCNotePitchFoundInfo* found) {
  const TCNotePitch* bestNote = nullptr;
  const TCNotePitches* best = nullptr;
  if (request.note && request.entry && collection) {
    if (collection->UsesIndex()) {
      SearchIndexedMeasures(request, *collection, &bestNote, &best);
    } else {
      SearchWholeCollection(request, *collection, &bestNote, &best);
    }
  }
  if (found) found->Set(bestNote, best);
  return bestNote != nullptr;
}

bool IsOnSameBeat(const TCNotePitches* first, const TCNotePitches* second) {
  if (first == second) return true;
  if (first->GetMeasure() != second->GetMeasure() || first->IsGrace() != second->IsGrace() ||
      first->GetPosition() != second->GetPosition()) {
    return false;
  }
  return !first->IsGrace() || first->GetGraceRun() == second->GetGraceRun();
}

// The first note of the other entry with the note's letter spelled otherwise.
const TCNotePitch* FindOtherSpelling(const TCNotePitch* note, const TCNotePitches* other) {
  const TCString* name = note->GetStoredPitchName();
  for (int32_t n = 0; n < other->GetCount(); ++n) {
    const TCNotePitch* otherNote = other->GetPitchAt(n);
    if (!otherNote || otherNote == note) continue;
    const TCString* otherName = otherNote->GetStoredPitchName();
    if (FirstCharacter(name) == FirstCharacter(otherName) && !IsSameSpelling(name, otherName)) return otherNote;
  }
  return nullptr;
}

}  // namespace

char16_t FirstCharacter(const TCString* name) { return UnitAt(name, 0); }

bool IsSameLetterAndOctave(const TCString* first, const TCString* second) {
  return EqualLeavingOut(first, second, 0, IsAccidentalSign);
}

bool IsSameSpelling(const TCString* first, const TCString* second) {
  int32_t length = LengthWithoutOctave(first);
  if (length != LengthWithoutOctave(second)) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (UnitAt(first, i) != UnitAt(second, i)) return false;
  }
  return true;
}

bool IsSameOctave(const TCString* first, const TCString* second) {
  return EqualLeavingOut(first, second, 1, IsAccidentalSign);
}

TCNotePitches* BuildAnalyzedEntry(TCNoteEntry* entry, const TCKeySignature* key) {
  if (!entry || !entry->IsNote()) return nullptr;
  auto* analyzed = new TCNotePitches();
  analyzed->LoadFromEntry(entry);
  for (int32_t i = 0; i < analyzed->GetCount(); ++i) {
    TCNotePitch* pitch = analyzed->GetPitchAt(i);
    if (!pitch) continue;
    pitch->SetIndex(i);
    pitch->GetPitchName(pitch->UseOwnPitchName(), key);
  }
  return analyzed;
}

int32_t CollectCellEntries(uint32_t layerMask, TCNoteEntryCell* cell, TCAnalyzeEntryCollection* collection) {
  if (!cell || !collection) return 0;
  std::vector<TCNotePitches*> entries;
  int32_t appended = CollectCellEntries(layerMask, cell, &entries);
  collection->AddEntries(entries);
  return appended;
}

int32_t CollectCellEntries(uint32_t layerMask, TCNoteEntryCell* cell, std::vector<TCNotePitches*>* entries) {
  if (!cell || !entries) return 0;
  int32_t appended = 0;
  for (int32_t i = 0; i < cell->GetCount(); ++i) {
    TCNotePitches* analyzed = BuildCollectedEntry(layerMask, cell->GetEntryAt(i), cell);
    if (!analyzed) continue;
    entries->push_back(analyzed);
    ++appended;
  }
  return appended;
}

TCNotePitches* BuildCollectedEntry(uint32_t layerMask, TCNoteEntry* entry, TCNoteEntryCell* cell) {
  if (!entry || !cell || !IsLayerInMask(layerMask, entry->GetLayerIndex() + 1)) return nullptr;
  if (IsHiddenAtEntry(entry) || !entry->IsNote()) return nullptr;
  return BuildAnalyzedEntry(entry, cell->GetKeySignature());
}

const TCNotePitch* FindMatchingNote(const TCNotePitch* note, const TCNotePitches* entry, int32_t chordLine,
                                    bool independentOctaves) {
  if (!note || !entry) return nullptr;
  const TCString* name = note->GetStoredPitchName();
  bool oneLine = chordLine != kAnyChordLine && entry->GetCount() >= 2;
  for (int32_t i = 0; i < entry->GetCount(); ++i) {
    if (oneLine && i != chordLine) continue;
    const TCNotePitch* candidate = entry->GetPitchAt(i);
    if (!candidate) continue;
    const TCString* candidateName = candidate->GetStoredPitchName();
    bool equal = independentOctaves ? IsSameLetterAndOctave(name, candidateName)
                                    : FirstCharacter(name) == FirstCharacter(candidateName);
    if (equal) return candidate;
  }
  return nullptr;
}

bool FindPreviousPitch(const TCNotePitch* note, const TCNotePitches* entry, const TCAnalyzeEntryCollection* collection,
                       bool independentOctaves, TCNotePitchFoundInfo* found) {
  return SearchBackwards({note, entry, kAnyChordLine, true, independentOctaves}, collection, found);
}

bool FindPreviousChordLinePitch(const TCNotePitch* note, const TCNotePitches* entry,
                                const TCAnalyzeEntryCollection* collection, int32_t chordLine, bool independentOctaves,
                                TCNotePitchFoundInfo* found) {
  return SearchBackwards({note, entry, chordLine, false, independentOctaves}, collection, found);
}

bool FindSpellingDifferenceOnBeat(const TCNotePitch* note, const TCNotePitches* entry,
                                  const TCAnalyzeEntryCollection* collection, TCNotePitchFoundInfo* found) {
  if (found) found->Clear();
  if (!note || !entry || !collection) return false;
  auto consider = [&](const TCNotePitches* other) {
    if (!other || !IsOnSameBeat(entry, other)) return false;
    const TCNotePitch* otherNote = FindOtherSpelling(note, other);
    if (otherNote && found) found->Set(otherNote, other);
    return otherNote != nullptr;
  };
  if (!collection->UsesIndex()) {
    for (int32_t i = 0; i < collection->GetCount(); ++i) {
      if (consider(collection->GetEntryAt(i))) return true;
    }
    return false;
  }
  int32_t first = collection->GetIndex().FirstOtherSpellingOnBeat(entry, note);
  return first >= 0 && consider(collection->GetEntryAt(first));
}

namespace {

constexpr int32_t kQuarterNote = 1024;

int32_t EndOfQuarterBeat(int32_t position) {
  return position < 0 ? position + 1 : (position / kQuarterNote + 1) * kQuarterNote;
}

}  // namespace

bool IsWithinCourtesyRange(const TCNotePitches* earlier, const TCNotePitches* current,
                           const TCAnalyzeEntryCollection* collection, const AnalysisSettings& settings) {
  if (!earlier || !current) return false;
  int64_t distance = std::llabs(static_cast<int64_t>(earlier->GetMeasure()) - current->GetMeasure());
  // "No courtesy after a measure of rest": a remembered note stops counting
  // when some measure between it and the current note holds nothing of the
  // group, that is, a whole measure rest for the group lies between them.
  if (settings.HasCheck(kNoCourtesyAfterMeasureRest) && distance > 1 && collection &&
      collection->HasEmptyMeasureBetween(earlier->GetMeasure(), current->GetMeasure())) {
    return false;
  }
  if (settings.courtesyMeasureRange != kUnlimitedCourtesyRange && distance > settings.courtesyMeasureRange) {
    return false;
  }
  // Measures of one length assumed, a note before the end of the beat where
  // the earlier note stood follows it by about a bar's time. The measure
  // records do not give the time signature, so the quarter note is the beat:
  // never longer than the beat of the usual meters, so the rule errs on the
  // side of fewer signs.
  if (settings.HasRule(kNextMeasureUpToBeat) && distance > 0) {
    return distance == 1 && current->GetPosition() < EndOfQuarterBeat(earlier->GetPosition());
  }
  return true;
}
