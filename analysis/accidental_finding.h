// One line of the report: a note that needs its accidental shown, the reason,
// and the note it was compared with. Made by the analysis, referred to by the
// report row that shows it and released by the window that owns the rows.
#pragma once

#include <cstdint>

#include "analysis/finding_kind.h"
#include "framework/tc_base.h"
#include "framework/tc_string.h"

class AccidentalFinding : public __TCBase {
 public:
  const char* ClassName() const override { return "AccidentalFinding"; }

  bool IsSameNote(const AccidentalFinding& other) const {
    return entryNumber == other.entryNumber && noteIndex == other.noteIndex;
  }

  FindingKind kind = FindingKind::NoteMissing;
  bool parentheses = false;
  // Applying the finding sets the note's flag 0x2 along with the accidental.
  bool showAccidental = true;
  uint32_t entryNumber = 0;
  int16_t staff = 0;
  int32_t measure = 0;
  int32_t position = 0;
  int32_t entryTimeValue = 0;
  int32_t layer = 0;        // 1-based
  int32_t noteIndex = -1;   // within the entry; -1 if not found
  int32_t entryIndex = -1;  // within the layer's entries of the measure

  // The related fields mean something only when hasRelated is set.
  bool hasRelated = false;
  TCString relatedPitchName;
  int16_t relatedStaff = 0;
  int32_t relatedMeasure = 0;
  int32_t relatedLayer = 0;
  int32_t relatedNoteIndex = -1;
  int32_t relatedEntryIndex = -1;
  int32_t relatedPosition = 0;
  int32_t relatedEntryTimeValue = 0;

  TCString pitchName;  // as it was at the scan
  TCString description;
  TCString location;
  TCString relatedLocation;
  TCString staffName;
  bool applied = false;
};
