// The per-note decisions of the analyzer.
#include <algorithm>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/group_by_measure.h"
#include "analysis/pitch_memory.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analyze_entry_collection.h"
#include "analysis/tc_note_pitch_found_info.h"
#include "framework/tc_string.h"
#include "score/tc_key_signature.h"
#include "score/tc_measure.h"
#include "score/tc_music_region.h"
#include "shell/host_version.h"

namespace {

bool IsSpelledWithAccidental(const TCNotePitch* note, bool measureFlag) {
  if (!measureFlag) return false;
  char16_t sign = note->GetStoredPitchName() ? note->GetStoredPitchName()->GetCharAt(1) : 0;
  return sign == u'#' || sign == u'b' || sign == u'x';
}

}  // namespace

// A group collected staff by staff (the cross-staff pass) is decided measure
// by measure: the notes a search finds for a note then lie in the measures
// just decided, where a walk staff by staff would find them in staves read
// long before. Every note is decided once and on the group alone, so the
// order changes no decision; the findings are held back and reported in the
// group's order. The reference searches keep the group's order.
void TCAccidentalsAnalyzer::AnalyzeEntries(const TCAnalyzeEntryCollection* collection, const TCMusicRegion* region) {
  if (!collection || !region) return;
  if (!context_.GetSettings().UsesIndex()) {
    for (int32_t i = 0; i < collection->GetCount(); ++i) AnalyzeEntry(collection, i, region);
    return;
  }
  context_.HoldFindings();
  for (int32_t i : EntriesByMeasure(*collection)) {
    context_.SetFindingPlace(i);
    AnalyzeEntry(collection, i, region);
  }
  context_.FlushHeldFindings();
}

std::vector<int32_t> TCAccidentalsAnalyzer::EntriesByMeasure(const TCAnalyzeEntryCollection& collection) {
  std::vector<int32_t> order(static_cast<size_t>(collection.GetCount()));
  std::vector<int32_t> measures(order.size(), 0);
  for (int32_t i = 0; i < collection.GetCount(); ++i) {
    order[static_cast<size_t>(i)] = i;
    const TCNotePitches* entry = collection.GetEntryAt(i);
    measures[static_cast<size_t>(i)] = entry ? entry->GetMeasure() : 0;
  }
  // Groups of one staff or instrument are in measure order already.
  if (std::is_sorted(measures.begin(), measures.end())) return order;
  auto measureOf = [&measures](int32_t i) { return measures[static_cast<size_t>(i)]; };
  int32_t firstMeasure = 0;
  std::vector<uint32_t> starts;
  if (!GroupByMeasure(&order, measureOf, &firstMeasure, &starts)) {
    std::stable_sort(order.begin(), order.end(),
                     [&measureOf](int32_t left, int32_t right) { return measureOf(left) < measureOf(right); });
  }
  return order;
}

void TCAccidentalsAnalyzer::AnalyzeEntry(const TCAnalyzeEntryCollection* collection, int32_t index,
                                         const TCMusicRegion* region) {
  const TCNotePitches* entry = collection->GetEntryAt(index);
  // Entries outside the region are not reported but still serve as memory.
  if (!entry || !IsInsideRegion(entry, region)) return;
  for (int32_t n = 0; n < entry->GetCount(); ++n) {
    const TCNotePitch* note = entry->GetPitchAt(n);
    if (!note || note->IsAccidentalShown() || note->IsTiedFromPrevious()) continue;
    // The first finding for a note is the one kept, so a note an earlier
    // pass reported needs no more checks. The reference searches check it
    // all the same, which the comparisons between the two rely on.
    if (context_.GetSettings().UsesIndex() && context_.IsNoteReported(entry->GetEntryNumber(), n)) continue;
    bool measureFlag = ReadMeasureFlag(entry);
    if (CheckSameBeat(note, entry, collection)) continue;
    if (CheckNote(note, entry, collection, measureFlag)) continue;
    if (octavesLinkedInMeasure_ && CheckOtherOctaveInMeasure(note, entry, collection)) continue;
    if (CheckKeySignatureChange(note, entry, collection)) continue;
    if (atonalRegion_) context_.AddFinding(FindingKind::AtonalNote, note, entry, nullptr, nullptr);
  }
}

bool TCAccidentalsAnalyzer::IsInsideRegion(const TCNotePitches* entry, const TCMusicRegion* region) const {
  int32_t first = region->GetStartMeasure();
  int32_t last = region->GetEndMeasure();
  int32_t measure = entry->GetMeasure();
  if (measure < first || measure > last) return false;
  if (measure == first && entry->GetPosition() < region->GetStartPosition()) return false;
  if (measure == last && entry->GetPosition() > region->GetEndPosition()) return false;
  return true;
}

bool TCAccidentalsAnalyzer::ReadMeasureFlag(const TCNotePitches* entry) {
  if (!HostReaches(kHostVersion2012)) return false;
  auto known = measureFlags_.find(entry->GetMeasure());
  if (known != measureFlags_.end()) return known->second;
  TCMeasure measure;
  bool flag = measure.Load(static_cast<int16_t>(entry->GetMeasure())) && measure.GetMeasureFlagValue() != 0;
  measureFlags_.emplace(entry->GetMeasure(), flag);
  return flag;
}

bool TCAccidentalsAnalyzer::CheckSameBeat(const TCNotePitch* note, const TCNotePitches* entry,
                                          const TCAnalyzeEntryCollection* collection) {
  TCNotePitchFoundInfo onBeat;
  if (!FindSpellingDifferenceOnBeat(note, entry, collection, &onBeat)) return false;
  if (context_.GetSettings().HasRule(kSameBeatSameInstrument) && !IsSameInstrument(entry, onBeat.entry)) return false;
  context_.AddFinding(FindingKind::DifferOnBeat, note, entry, onBeat.note, onBeat.entry);
  return true;
}

bool TCAccidentalsAnalyzer::IsSameInstrument(const TCNotePitches* entry, const TCNotePitches* other) const {
  if (entry->GetStaff() == other->GetStaff()) return true;
  const TCMultiStaffInstrument* instrument = context_.InstrumentOf(entry->GetStaff());
  return instrument && instrument == context_.InstrumentOf(other->GetStaff());
}

bool TCAccidentalsAnalyzer::IsStruckTogether(const TCNotePitches* entry, const TCNotePitches* other) {
  return entry->GetMeasure() == other->GetMeasure() && entry->GetPosition() == other->GetPosition() &&
         !entry->IsGrace() && !other->IsGrace();
}

// The latest note of the letter in any octave, when it lies in the same
// measure in another octave and is spelled otherwise.
bool TCAccidentalsAnalyzer::CheckOtherOctaveInMeasure(const TCNotePitch* note, const TCNotePitches* entry,
                                                      const TCAnalyzeEntryCollection* collection) {
  TCNotePitchFoundInfo previous;
  if (!FindPreviousPitch(note, entry, collection, false, &previous)) return false;
  if (previous.entry->GetMeasure() != entry->GetMeasure()) return false;
  const TCString* name = note->GetStoredPitchName();
  const TCString* previousName = previous.note->GetStoredPitchName();
  if (IsSameSpelling(name, previousName) || IsSameOctave(name, previousName)) return false;
  context_.AddFinding(FindingKind::PitchDiffOtherOctave, note, entry, previous.note, previous.entry);
  return true;
}

bool TCAccidentalsAnalyzer::ReportMissing(const TCNotePitch* note, const TCNotePitches* entry, bool onChordLine) {
  FindingKind kind = onChordLine ? FindingKind::ChordLineMissing
                                 : (layerPass_ ? FindingKind::LayerLineMissing : FindingKind::NoteMissing);
  context_.AddFinding(kind, note, entry, nullptr, nullptr);
  return true;
}

bool TCAccidentalsAnalyzer::CheckNote(const TCNotePitch* note, const TCNotePitches* entry,
                                      const TCAnalyzeEntryCollection* collection, bool measureFlag) {
  bool needsAccidental = note->GetRaiseLower() != 0 || IsSpelledWithAccidental(note, measureFlag);
  TCNotePitchFoundInfo previous;
  if (!FindPreviousPitch(note, entry, collection, independentOctaves_, &previous)) {
    return needsAccidental && ReportMissing(note, entry, false);
  }
  if (CompareWithPrevious(note, entry, previous.note, previous.entry, kAnyChordLine, collection)) return true;

  if (!context_.GetSettings().HasCheck(kChordLineInstruments) || entry->GetCount() < 2) return false;
  int32_t chordLine = entry->IndexOf(note);
  TCNotePitchFoundInfo onLine;
  if (FindPreviousChordLinePitch(note, entry, collection, chordLine, independentOctaves_, &onLine)) {
    return CompareWithPrevious(note, entry, onLine.note, onLine.entry, chordLine, collection);
  }
  return needsAccidental && ReportMissing(note, entry, true);
}

bool TCAccidentalsAnalyzer::CompareWithPrevious(const TCNotePitch* note, const TCNotePitches* entry,
                                                const TCNotePitch* previous, const TCNotePitches* previousEntry,
                                                int32_t chordLine, const TCAnalyzeEntryCollection* collection) {
  const AnalysisSettings& settings = context_.GetSettings();
  if (settings.HasRule(kSameBeatSameInstrument) && IsStruckTogether(entry, previousEntry) &&
      !IsSameInstrument(entry, previousEntry)) {
    return false;
  }
  // An alteration against the key whose last sign lies behind a barline is
  // shown nowhere in this measure.
  if (note->GetRaiseLower() != 0 && previousEntry->GetMeasure() != entry->GetMeasure()) {
    return ReportMissing(note, entry, chordLine >= 0);
  }
  if (!IsWithinCourtesyRange(previousEntry, entry, collection, settings)) return false;

  const TCString* name = note->GetStoredPitchName();
  const TCString* previousName = previous->GetStoredPitchName();
  if (name && name->IsEqual(previousName)) {
    bool afterGrace = settings.HasCheck(kRestateAfterGrace) && previousEntry->IsGrace() && !entry->IsGrace() &&
                      previous->IsAccidentalShown() && previousEntry->GetMeasure() == entry->GetMeasure() &&
                      previousEntry->GetStaff() == entry->GetStaff();
    if (!afterGrace) return false;
    context_.AddFinding(FindingKind::PreviousGraceAccidental, note, entry, previous, previousEntry);
    return true;
  }
  // The same letter with the same signs in another octave is no difference
  // of pitch: its accidental is the one already written.
  if (IsSameSpelling(name, previousName)) return false;
  if (IsSameOctave(name, previousName)) {
    context_.AddFinding(FindingKind::PitchDiffSameOctave, note, entry, previous, previousEntry);
    return true;
  }
  if (independentOctaves_) return false;
  context_.AddFinding(FindingKind::PitchDiffOtherOctave, note, entry, previous, previousEntry);
  return true;
}

uint16_t TCAccidentalsAnalyzer::KeyValueOfMeasure(int32_t measureNumber) {
  TCMeasure* measure = measures_.GetMeasureAt(measureNumber - 1);
  if (!measure || measure->GetNumber() != measureNumber) measure = measures_.FindMeasure(measureNumber);
  return measure ? measure->GetKeyValue() : 0;
}

bool TCAccidentalsAnalyzer::CheckKeySignatureChange(const TCNotePitch* note, const TCNotePitches* entry,
                                                    const TCAnalyzeEntryCollection* collection) {
  const AnalysisSettings& settings = context_.GetSettings();
  if (!settings.HasCheck(kKeySigRestate)) return false;
  int64_t limit = settings.courtesyMeasureRange == kUnlimitedCourtesyRange
                      ? 1
                      : static_cast<int64_t>(entry->GetMeasure()) - settings.courtesyMeasureRange;
  TCKeySignature noteKey(KeyValueOfMeasure(entry->GetMeasure()));
  int32_t letter = FirstCharacter(note->GetStoredPitchName()) - u'A';

  TCKeySignature earlierKey;
  int32_t measure = entry->GetMeasure() - 1;
  bool changed = false;
  for (; measure > 0 && measure >= limit; --measure) {
    earlierKey.SetKeyValue(KeyValueOfMeasure(measure));
    if (earlierKey.GetFlatCount() != noteKey.GetFlatCount() || earlierKey.GetSharpCount() != noteKey.GetSharpCount()) {
      changed = true;
      break;
    }
  }
  if (!changed) return false;
  // The letter was written again after the change.
  TCNotePitchFoundInfo previous;
  bool found = FindPreviousPitch(note, entry, collection, independentOctaves_, &previous);
  if (found && previous.entry->GetMeasure() > measure) return false;
  if (earlierKey.IsLetterFlattened(letter) == noteKey.IsLetterFlattened(letter) &&
      earlierKey.IsLetterSharpened(letter) == noteKey.IsLetterSharpened(letter)) {
    return false;
  }
  context_.AddFinding(FindingKind::KeySignatureDifference, note, entry, nullptr, nullptr);
  return true;
}
