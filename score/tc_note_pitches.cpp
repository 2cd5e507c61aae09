#include "score/tc_note_pitches.h"

#include "score/tc_entry_metrics.h"
#include "score/tc_note_entry.h"
#include "shell/host_version.h"

void TCNotePitches::LoadFromEntry(TCNoteEntry* entry) {
  if (!entry) return;
  if (entry->IsNote()) {
    // What the host draws, asked once for the whole entry.
    bool fromMetrics = HostReaches(kHostVersion2012);
    TCEntryMetrics metrics;
    bool metricsLoaded = fromMetrics && metrics.Load(entry);
    for (int32_t i = 0; i < entry->GetNoteCount(); ++i) {
      TCNote* note = entry->GetNoteAt(i);
      if (!note) continue;
      auto* pitch = new TCNotePitch(note->GetRecord());
      if (fromMetrics) {
        const uint8_t* visibility = metricsLoaded ? metrics.FindNoteVisibility(note->GetNoteID()) : nullptr;
        pitch->SetAccidentalShown(visibility && *visibility != 0);
      }
      Add(pitch);
    }
  }
  FillEntryValues(entry);
}

void TCNotePitches::FillEntryValues(const TCNoteEntry* entry) {
  measure_ = entry->GetMeasure();
  staff_ = entry->GetStaff();
  layer_ = entry->GetLayerIndex() + 1;
  grace_ = entry->IsGrace();
  graceRun_ = grace_ ? entry->GetGracesBefore() : -1;
  indexInFrame_ = entry->GetIndexInFrame();
  position_ = entry->GetPosition();
  entryNumber_ = entry->GetEntryNumber();
  entryValue_ = entry->GetEntryValue();
  secondPosition_ = entry->GetSecondPosition();
}
