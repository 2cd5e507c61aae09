// The scan: walks the notes of a region in three passes (each layer of a
// staff that uses several layers, each staff or grand staff, all staves
// together), decides for every note without a shown accidental whether a
// reader needs one, and reports each such note once. Then it looks for altered
// notes tied over system breaks.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_undo_block.h"
#include "score/tc_measures.h"
#include "score/tc_multi_staff_instruments.h"

class TCAnalyzeEntryCollection;
class TCAnalyzedCells;
class TCKeySignature;
class TCMusicRegion;
class TCNotePitch;
class TCNotePitches;
struct AnalysisSettings;

class TCAccidentalsAnalyzer : public __TCUndoBlockHandler {
 public:
  static constexpr uint32_t kAllLayers = 15;
  static constexpr const char* kEditName = "Accidentals";

  // The result list is not owned; the run keeps its own copy of the settings.
  TCAccidentalsAnalyzer(TCDataListRows* resultList, const AnalysisSettings& settings);
  ~TCAccidentalsAnalyzer() override;

  const char* ClassName() const override { return "TCAccidentalsAnalyzer"; }

  // false without a region; otherwise scans it, then the ties over system
  // breaks, and answers true.
  bool Execute() override;

  // Not owned; must outlive the run.
  void SetRegion(const TCMusicRegion* region) { region_ = region; }
  const TCMusicRegion* GetRegion() const { return region_; }
  // Bit n: layer n + 1 takes part.
  void SetLayerMask(uint32_t mask) { layerMask_ = mask; }
  uint32_t GetLayerMask() const { return layerMask_; }

  const TCAnalysisRunContext& GetRunContext() const { return context_; }
  const TCMultiStaffInstruments& GetInstruments() const { return instruments_; }

  void ScanRegion();
  // The per-note decisions for one group.
  void AnalyzeEntries(const TCAnalyzeEntryCollection* collection, const TCMusicRegion* region);
  void AnalyzeEntry(const TCAnalyzeEntryCollection* collection, int32_t index, const TCMusicRegion* region);
  // The group's places ordered by measure, each measure's in the group's order.
  static std::vector<int32_t> EntriesByMeasure(const TCAnalyzeEntryCollection& collection);

 private:
  // The octave searches of a pass: independent octaves as the option says,
  // or, with the rule kOtherOctaveSameMeasure, each octave on its own and
  // another octave's inflection within the measure besides.
  void SetOctaveLinks(const AnalysisSettings& settings, bool independentOctaves);
  // Whether the notes of the region's staves keep to no key (ScaleFit).
  bool RegionKeepsToNoKey();
  void LoadGrandStaffGroups();
  bool StaffUsesSeveralLayers(int32_t staff) const;
  void ScanLayers();
  void ScanInstruments();
  void ScanCrossStaff();
  // The instrument staff that leads the staff's group in this region, or 0
  // when the staff forms a group of its own.
  int32_t FindLeadingStaff(int32_t staff) const;
  // Both append to the group's entries, which become its collection once complete.
  void CollectInstrumentMeasure(int32_t measure, int32_t leadingStaff, std::vector<TCNotePitches*>* group) const;
  void CollectCell(int32_t measure, int32_t staff, int32_t layerMode, std::vector<TCNotePitches*>* group) const;
  // Analyses a complete group, whose entries the scan's cells own.
  void AnalyzeGroup(const std::vector<TCNotePitches*>& group);
  bool IsSlotInRegion(int32_t slot) const;
  int32_t FirstRegionMeasure() const;
  int32_t LastRegionMeasure() const;

  bool IsInsideRegion(const TCNotePitches* entry, const TCMusicRegion* region) const;
  // Read once per measure in a run.
  bool ReadMeasureFlag(const TCNotePitches* entry);
  bool CheckSameBeat(const TCNotePitch* note, const TCNotePitches* entry, const TCAnalyzeEntryCollection* collection);
  bool CheckNote(const TCNotePitch* note, const TCNotePitches* entry, const TCAnalyzeEntryCollection* collection,
                 bool measureFlag);
  bool CompareWithPrevious(const TCNotePitch* note, const TCNotePitches* entry, const TCNotePitch* previous,
                           const TCNotePitches* previousEntry, int32_t chordLine,
                           const TCAnalyzeEntryCollection* collection);
  bool CheckOtherOctaveInMeasure(const TCNotePitch* note, const TCNotePitches* entry,
                                 const TCAnalyzeEntryCollection* collection);
  // With the rule kSameBeatSameInstrument, another instrument's notes struck
  // together with a note are no reason for its accidental, neither as a
  // difference on the beat nor as the latest note of the letter.
  bool IsSameInstrument(const TCNotePitches* entry, const TCNotePitches* other) const;
  static bool IsStruckTogether(const TCNotePitches* entry, const TCNotePitches* other);
  bool CheckKeySignatureChange(const TCNotePitch* note, const TCNotePitches* entry,
                               const TCAnalyzeEntryCollection* collection);
  bool ReportMissing(const TCNotePitch* note, const TCNotePitches* entry, bool onChordLine);
  // The key of a measure from the measures list; C major when it is missing.
  uint16_t KeyValueOfMeasure(int32_t measure);

  TCAnalysisRunContext context_;
  const TCMusicRegion* region_ = nullptr;
  TCMeasures measures_;
  TCMultiStaffInstruments instruments_;
  // The region's cells while a scan runs.
  std::unique_ptr<TCAnalyzedCells> cells_;
  std::unordered_map<int32_t, bool> measureFlags_;
  bool independentOctaves_ = false;
  bool octavesLinkedInMeasure_ = false;
  // With the rule kAtonalEveryNote, in a region that keeps to no key, every
  // note without a sign and without another reason for one gets a finding.
  bool atonalRegion_ = false;
  bool layerPass_ = false;
  uint32_t layerMask_ = kAllLayers;
};
