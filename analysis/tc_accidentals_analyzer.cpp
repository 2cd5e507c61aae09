#include "analysis/tc_accidentals_analyzer.h"

#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/pitch_memory.h"
#include "analysis/scale_fit.h"
#include "analysis/tc_analyze_entry_collection.h"
#include "analysis/tc_analyzed_cells.h"
#include "analysis/tc_system_tie_scan_part_handler.h"
#include "framework/tc_string.h"
#include "score/tc_group.h"
#include "score/tc_groups.h"
#include "score/tc_music_region.h"
#include "score/tc_note_entry_cell.h"
#include "score/tc_note_pitch.h"
#include "score/tc_note_pitches.h"
#include "score/tc_part.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace {

constexpr int32_t kGrandStaffStaves = 2;
constexpr int32_t kGrandStaffGroupValue = 1;
// Layers beyond the mask's 32 bits can never take part.
constexpr int32_t kMaskLayers = 32;

bool IsLayerInMask(uint32_t mask, int32_t layer) {
  return layer >= 1 && layer <= kMaskLayers && (mask & (1u << (layer - 1))) != 0;
}

}  // namespace

TCAccidentalsAnalyzer::TCAccidentalsAnalyzer(TCDataListRows* resultList, const AnalysisSettings& settings)
    : context_(resultList, &instruments_, settings) {}

TCAccidentalsAnalyzer::~TCAccidentalsAnalyzer() = default;

bool TCAccidentalsAnalyzer::Execute() {
  if (!region_) return false;
  ScanRegion();
  ScanSystemBreakTies(context_, region_);
  return true;
}

int32_t TCAccidentalsAnalyzer::FirstRegionMeasure() const { return region_->GetStartMeasure(); }
int32_t TCAccidentalsAnalyzer::LastRegionMeasure() const { return region_->GetEndMeasure(); }

bool TCAccidentalsAnalyzer::IsSlotInRegion(int32_t slot) const { return slot >= 1 && region_->ContainsSlot(slot); }

void TCAccidentalsAnalyzer::ScanRegion() {
  if (!region_) return;
  const AnalysisSettings& settings = context_.GetSettings();
  instruments_.ClearAll();
  if (settings.HasCheck(kGrandStaff)) {
    if (HostReaches(kHostVersion2011)) {
      instruments_.LoadAll();
    } else {
      LoadGrandStaffGroups();
    }
  }
  context_.ForgetStaves();
  measures_.ClearAll();
  if (settings.HasCheck(kKeySigRestate)) {
    TCMusicRegion fromFirstMeasure;
    fromFirstMeasure.CopyFrom(region_);
    fromFirstMeasure.SetStartMeasure(1);
    measures_.LoadRegion(&fromFirstMeasure);
  }

  cells_ = std::make_unique<TCAnalyzedCells>(layerMask_);
  measureFlags_.clear();
  atonalRegion_ = settings.HasRule(kAtonalEveryNote) && RegionKeepsToNoKey();
  layerPass_ = true;
  SetOctaveLinks(settings, settings.HasCheck(kIndependentOctavesSame));
  if (settings.HasCheck(kLayeredInstruments)) ScanLayers();

  layerPass_ = false;
  SetOctaveLinks(settings, settings.HasCheck(kIndependentOctavesSame));
  ScanInstruments();

  SetOctaveLinks(settings, settings.HasCheck(kIndependentOctavesCross));
  if (settings.HasCheck(kCrossStaveChecks)) ScanCrossStaff();
  cells_.reset();
  measureFlags_.clear();
}

bool TCAccidentalsAnalyzer::RegionKeepsToNoKey() {
  ScaleFit fit;
  std::vector<TCNotePitches*> entries;
  for (int32_t slot = region_->GetStartSlot(); slot <= region_->GetEndSlot(); ++slot) {
    int32_t staff = region_->GetStaffOfSlot(slot);
    for (int32_t measure = FirstRegionMeasure(); measure <= LastRegionMeasure(); ++measure) {
      entries.clear();
      cells_->AppendShownLayers(measure, staff, &entries);
      for (const TCNotePitches* entry : entries) {
        for (int32_t n = 0; n < entry->GetCount(); ++n) {
          const TCNotePitch* note = entry->GetPitchAt(n);
          if (!note || note->IsTiedFromPrevious()) continue;
          fit.AddNote(measure, staff, ScaleFit::PitchClassOfName(note->GetStoredPitchName()));
        }
      }
    }
  }
  return fit.KeepsToNoKey();
}

void TCAccidentalsAnalyzer::SetOctaveLinks(const AnalysisSettings& settings, bool independentOctaves) {
  octavesLinkedInMeasure_ = !independentOctaves && settings.HasRule(kOtherOctaveSameMeasure);
  independentOctaves_ = independentOctaves || octavesLinkedInMeasure_;
}

void TCAccidentalsAnalyzer::LoadGrandStaffGroups() {
  TCPart score(0);
  score.SwitchTo();
  TCGroups groups;
  groups.LoadAll();
  for (int32_t i = 0; i < groups.GetCount(); ++i) {
    TCGroup* group = groups.GetGroupAt(i);
    if (!group || group->CountStaves() != kGrandStaffStaves) continue;
    if (HostReaches(kHostVersion2010) && group->GetGrandStaffValue() != kGrandStaffGroupValue) continue;
    if (instruments_.FindStaff(group->GetFirstStaff()) || instruments_.FindStaff(group->GetLastStaff())) continue;
    if (group->GetBracketKind() != TCGroup::kBracketPiano) continue;
    TCString* name = group->GetName();
    bool named = name && !name->IsEmpty();
    delete name;
    if (!named) continue;
    auto* instrument = new TCMultiStaffInstrument();
    instrument->SetFirstStaff(group->GetFirstStaff());
    instrument->SetSecondStaff(group->GetLastStaff());
    instrument->SetGroupNumber(group->GetGroupNumber());
    instruments_.Add(instrument);
  }
  score.SwitchBack();
}

void TCAccidentalsAnalyzer::CollectCell(int32_t measure, int32_t staff, int32_t layerMode,
                                        std::vector<TCNotePitches*>* group) const {
  if (layerMode == TCNoteEntryCell::kLayersShown) {
    cells_->AppendShownLayers(measure, staff, group);
  } else {
    cells_->AppendLayer(measure, staff, layerMode, group);
  }
}

bool TCAccidentalsAnalyzer::StaffUsesSeveralLayers(int32_t staff) const {
  for (int32_t measure = FirstRegionMeasure(); measure <= LastRegionMeasure(); ++measure) {
    if (cells_->UsesSeveralLayers(measure, staff)) return true;
  }
  return false;
}

void TCAccidentalsAnalyzer::ScanLayers() {
  int32_t layers = GetHostLayerCount();
  for (int32_t slot = region_->GetStartSlot(); slot <= region_->GetEndSlot(); ++slot) {
    int32_t staff = region_->GetStaffOfSlot(slot);
    if (!StaffUsesSeveralLayers(staff)) continue;
    for (int32_t layer = 1; layer <= layers; ++layer) {
      if (!IsLayerInMask(layerMask_, layer)) continue;
      std::vector<TCNotePitches*> group;
      for (int32_t measure = FirstRegionMeasure(); measure <= LastRegionMeasure(); ++measure) {
        CollectCell(measure, staff, layer, &group);
      }
      AnalyzeGroup(group);
    }
  }
}

// The staves of an instrument are analysed as one group, led by the first of
// them that lies in the region. When the region leaves out the instrument's
// first staff, the others are still analysed, led by the next one.
int32_t TCAccidentalsAnalyzer::FindLeadingStaff(int32_t staff) const {
  const TCMultiStaffInstrument* instrument = context_.InstrumentOf(staff);
  if (!instrument) return staff;
  const int32_t staves[] = {instrument->GetFirstStaff(), instrument->GetSecondStaff(), instrument->GetThirdStaff()};
  for (int32_t member : staves) {
    if (member == 0) continue;
    if (member == staff) return staff;
    if (IsSlotInRegion(TX_InstToSlot(member, region_->GetStartSlotList()))) return member;
  }
  return staff;
}

void TCAccidentalsAnalyzer::CollectInstrumentMeasure(int32_t measure, int32_t leadingStaff,
                                                     std::vector<TCNotePitches*>* group) const {
  CollectCell(measure, leadingStaff, TCNoteEntryCell::kLayersShown, group);
  const TCMultiStaffInstrument* instrument = context_.InstrumentOf(leadingStaff);
  if (!instrument) return;
  const int32_t staves[] = {instrument->GetFirstStaff(), instrument->GetSecondStaff(), instrument->GetThirdStaff()};
  int32_t leader = 0;
  while (leader < 3 && staves[leader] != leadingStaff) ++leader;
  for (int32_t i = leader + 1; i < 3; ++i) {
    int32_t member = staves[i];
    bool repeated = member == 0;
    for (int32_t j = 0; j < i; ++j) repeated = repeated || staves[j] == member;
    if (repeated || !IsSlotInRegion(TX_InstToSlot(member, region_->GetStartSlotList()))) continue;
    CollectCell(measure, member, TCNoteEntryCell::kLayersShown, group);
  }
}

void TCAccidentalsAnalyzer::ScanInstruments() {
  for (int32_t slot = region_->GetStartSlot(); slot <= region_->GetEndSlot(); ++slot) {
    int32_t staff = region_->GetStaffOfSlot(slot);
    if (FindLeadingStaff(staff) != staff) continue;
    std::vector<TCNotePitches*> group;
    for (int32_t measure = FirstRegionMeasure(); measure <= LastRegionMeasure(); ++measure) {
      CollectInstrumentMeasure(measure, staff, &group);
    }
    AnalyzeGroup(group);
  }
}

void TCAccidentalsAnalyzer::ScanCrossStaff() {
  std::vector<TCNotePitches*> group;
  for (int32_t slot = region_->GetStartSlot(); slot <= region_->GetEndSlot(); ++slot) {
    int32_t staff = region_->GetStaffOfSlot(slot);
    for (int32_t measure = FirstRegionMeasure(); measure <= LastRegionMeasure(); ++measure) {
      CollectCell(measure, staff, TCNoteEntryCell::kLayersShown, &group);
    }
  }
  AnalyzeGroup(group);
}

void TCAccidentalsAnalyzer::AnalyzeGroup(const std::vector<TCNotePitches*>& group) {
  TCAnalyzeEntryCollection collection(TCAnalyzeEntryCollection::Entries::Borrowed, context_.GetSettings().search);
  collection.AddEntries(group);
  AnalyzeEntries(&collection, region_);
}
