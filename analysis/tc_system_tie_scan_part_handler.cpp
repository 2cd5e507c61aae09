#include "analysis/tc_system_tie_scan_part_handler.h"

#include "analysis/analysis_settings.h"
#include "analysis/pitch_memory.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_system_tie_occasion.h"
#include "score/tc_entry_metrics.h"
#include "score/tc_music_region.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitches.h"
#include "score/tc_part.h"
#include "score/tc_parts.h"
#include "score/tc_staff_systems.h"
#include "score/tc_system_staves.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

static_assert(kTieScanUncheckConflicts == kLastSystemTieMode, "the settings know every tie mode");

namespace {

// The staff order of a part lives in its staves of system 0.
constexpr int16_t kStaffOrderSystem = 0;

bool ContinuesTie(const TCNoteEntry* entry) {
  for (int32_t i = 0; i < entry->GetNoteCount(); ++i) {
    const TCNote* note = entry->GetNoteAt(i);
    if (note && note->IsTiedFromPrevious()) return true;
  }
  return false;
}

// What the host draws: the note's own flag on older hosts, the entry's
// layout metrics on newer ones (a note missing from them shows nothing).
class AccidentalVisibility {
 public:
  explicit AccidentalVisibility(const TCNoteEntry* entry)
      : fromMetrics_(HostReaches(kHostVersion2012)), loaded_(fromMetrics_ && metrics_.Load(entry)) {}

  bool IsShown(const TCNote* note) const {
    if (!fromMetrics_) return note->IsAccidentalShown();
    const uint8_t* visibility = loaded_ ? metrics_.FindNoteVisibility(note->GetNoteID()) : nullptr;
    return visibility && *visibility != 0;
  }

 private:
  TCEntryMetrics metrics_;
  bool fromMetrics_;
  bool loaded_;
};

bool IsOutsideRegion(const TCSystemTieOccasion* occasion, const TCMusicRegion* region) {
  int32_t slot = TX_InstToSlot(occasion->staff, region->GetStartSlotList());
  if (slot < 1 || !region->ContainsSlot(slot)) return true;
  int32_t first = region->GetStartMeasure();
  int32_t last = region->GetEndMeasure();
  if (occasion->measure < first || occasion->measure > last) return true;
  if (occasion->measure == first && region->GetStartPosition() > 0) return true;
  return occasion->measure == last && region->GetEndPosition() < 0;
}

// True when every part that shows an occasion's staff found the same tie.
bool ScoreAndPartsAgree(TCParts* parts, const TCSystemTieOccasions* occasions) {
  for (int32_t i = 0; i < occasions->GetCount(); ++i) {
    const TCSystemTieOccasion* occasion = occasions->GetOccasionAt(i);
    if (!occasion || !occasion->report) continue;
    for (int32_t p = 0; p < parts->GetCount(); ++p) {
      TCPart* part = parts->GetPartAt(p);
      if (!part || !PartShowsStaff(part, occasion->staff)) continue;
      if (!occasions->Find(part->GetPartNumber(), occasion->entryNumber)) return false;
    }
  }
  return true;
}

void ReportOccasion(TCAnalysisRunContext& context, const TCSystemTieOccasion* occasion, int32_t mode) {
  if (!occasion->matched && mode == kTieScanMatchedOnly) return;
  TCNoteEntryCell cell(occasion->measure, occasion->staff);
  cell.SetLayerMode(TCNoteEntryCell::kLayersShown);
  if (!cell.Load()) return;
  TCNotePitches* analyzed = BuildAnalyzedEntry(cell.FindEntryNumber(occasion->entryNumber), cell.GetKeySignature());
  if (!analyzed) return;
  if (const TCNotePitch* note = analyzed->GetPitchAt(occasion->noteIndex)) {
    FindingKind kind = occasion->matched ? FindingKind::SystemBreakTie : FindingKind::SystemBreakTieMismatched;
    context.AddFinding(kind, note, analyzed, nullptr, nullptr);
  }
  delete analyzed;
}

}  // namespace

bool PartShowsStaff(TCPart* part, int32_t staff) {
  if (!part) return false;
  part->SwitchTo();
  TCSystemStaves staves;
  staves.LoadAllForSystem(kStaffOrderSystem);
  bool shown = staves.FindStaff(staff) != nullptr;
  part->SwitchBack();
  return shown;
}

bool TCSystemTieScanPartHandler::IsPartSelected(const TCPart* part) const {
  switch (mode_) {
    case kTieScanCurrentPart:
      return part->GetPartNumber() == TX_GetCurrentPartID() &&
             part->GetDocumentNumber() == TX_GetCurrentOrbeltDocument();
    case kTieScanAll:
    case kTieScanUnlinkedDocuments:
      return true;
    case kTieScanScoreOnly:
      return part->GetPartNumber() == 0;
    case kTieScanPartsOnly:
      return part->GetPartNumber() != 0;
    case kTieScanMatchedOnly:
    case kTieScanUncheckConflicts:
      if (comparison_) *comparison_ = true;
      return true;
    default:
      return false;
  }
}

bool TCSystemTieScanPartHandler::Execute() {
  if (!parts_ || !region_ || !occasions_) return false;
  for (int32_t i = 0; i < parts_->GetCount(); ++i) {
    TCPart* part = parts_->GetPartAt(i);
    if (part && IsPartSelected(part)) ScanPartForTies(part);
  }
  return false;
}

void TCSystemTieScanPartHandler::ScanPartForTies(TCPart* part) {
  if (!part || !region_ || !occasions_) return;
  part->SwitchTo();
  TCStaffSystems systems;
  systems.LoadAll();
  if (systems.HasUnlaidSystems()) {
    TX_UpdateLayout(1, 0);
    systems.LoadAll();
  }
  for (int32_t i = 0; i < systems.GetCount(); ++i) {
    const TCStaffSystem* system = systems.GetSystemAt(i);
    if (!system) continue;
    int32_t measure = system->GetFirstMeasure();
    if (measure < region_->GetStartMeasure() || measure > region_->GetEndMeasure()) continue;
    ScanSystemStart(part, measure);
  }
  part->SwitchBack();
}

void TCSystemTieScanPartHandler::ScanSystemStart(TCPart* part, int32_t measure) {
  TCSystemStaves staves;
  staves.LoadAllForSystem(kStaffOrderSystem);
  for (int32_t s = 0; s < staves.GetCount(); ++s) {
    const TCSystemStaff* staff = staves.GetStaffAt(s);
    if (!staff) continue;
    TCNoteEntryCell cell(measure, staff->GetStaffNumber());
    cell.SetLayerMode(TCNoteEntryCell::kLayersShown);
    if (!cell.Load()) continue;
    for (int32_t e = 0; e < cell.GetCount(); ++e) {
      const TCNoteEntry* entry = cell.GetEntryAt(e);
      if (!entry || !entry->IsNote() || entry->GetPosition() != 0 || entry->IsGrace()) continue;
      if (!ContinuesTie(entry)) continue;
      AccidentalVisibility visibility(entry);
      for (int32_t n = 0; n < entry->GetNoteCount(); ++n) {
        const TCNote* note = entry->GetNoteAt(n);
        if (!note || visibility.IsShown(note)) continue;
        if (!note->IsTiedFromPrevious() || note->GetRaiseLower() == 0) continue;
        occasions_->Add(new TCSystemTieOccasion(measure, staff->GetStaffNumber(), entry->GetEntryNumber(), n,
                                                part->GetPartNumber()));
      }
    }
  }
}

void ScanSystemBreakTies(TCAnalysisRunContext& context, const TCMusicRegion* region) {
  int32_t mode = context.GetSettings().systemTieMode;
  if (mode == kTieScanNone || !region) return;
  TCParts parts;
  parts.LoadAll();
  if (mode == kTieScanUnlinkedDocuments && parts.GetCount() > 1) return;

  TCSystemTieOccasions occasions;
  bool comparison = false;
  TCSystemTieScanPartHandler handler(&parts, region, &occasions, &comparison, mode);
  TCUndoBlock block;
  block.ExecuteHandler(&handler, TCSystemTieScanPartHandler::kEditName);

  for (int32_t i = 0; i < occasions.GetCount(); ++i) {
    TCSystemTieOccasion* occasion = occasions.GetOccasionAt(i);
    if (occasion && IsOutsideRegion(occasion, region)) occasion->report = false;
  }
  // One disagreement between score and parts marks every tie of the scan.
  if (comparison && !ScoreAndPartsAgree(&parts, &occasions)) {
    for (int32_t i = 0; i < occasions.GetCount(); ++i) {
      if (TCSystemTieOccasion* occasion = occasions.GetOccasionAt(i)) occasion->matched = false;
    }
  }

  TCPart score(0);
  score.SwitchTo();
  for (int32_t i = 0; i < occasions.GetCount(); ++i) {
    const TCSystemTieOccasion* occasion = occasions.GetOccasionAt(i);
    if (occasion && occasion->report) ReportOccasion(context, occasion, mode);
  }
  score.SwitchBack();
}
