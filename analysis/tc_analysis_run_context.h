// What one analysis run reports into and groups staves by: the result list
// that receives the findings, and the run's multi-staff instruments. Every
// finding of a run is made here, so that one note is never reported twice.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/finding_columns.h"
#include "analysis/finding_kind.h"
#include "analysis/reported_notes.h"
#include "framework/tc_base.h"

class AccidentalFinding;
class TCDataListRow;
class TCDataListRows;
class TCMultiStaffInstrument;
class TCMultiStaffInstruments;
class TCNotePitch;
class TCNotePitches;
class TCString;

// The report row that shows a finding keeps it as its user value; the row
// never releases it.
void AttachFinding(TCDataListRow* row, AccidentalFinding* finding);
// The finding a row shows, or null.
AccidentalFinding* GetRowFinding(const TCDataListRow* row);
// Releases the finding of every row, then removes the rows.
void ReleaseRowFindings(TCDataListRows* rows);

class TCAnalysisRunContext : public __TCBase {
 public:
  // Report rows have these columns; the description goes to kInfoColumn.
  static constexpr int32_t kReportColumnCount = kFindingColumnCount;
  static constexpr int32_t kInfoColumn = ::kInfoColumn;

  // Neither list is owned; the instrument list may be null or empty. The
  // settings are the run's own copy, with known values only.
  TCAnalysisRunContext(TCDataListRows* resultList, const TCMultiStaffInstruments* instruments,
                       const AnalysisSettings& settings)
      : resultList_(resultList), instruments_(instruments), settings_(settings.WithKnownValues()) {}

  // Findings still held are deleted with their rows.
  ~TCAnalysisRunContext() override;

  const char* ClassName() const override { return "TCAnalysisRunContext"; }

  TCDataListRows* GetResultList() const { return resultList_; }
  const TCMultiStaffInstruments* GetInstruments() const { return instruments_; }
  const AnalysisSettings& GetSettings() const { return settings_; }

  // Reports a note of an analysed entry, with or without a related note. The
  // first finding for a note wins: a later one for the same entry number and
  // note index is dropped. True when a row was added.
  bool AddFinding(FindingKind kind, const TCNotePitch* note, const TCNotePitches* entry, const TCNotePitch* relatedNote,
                  const TCNotePitches* relatedEntry);

  // New strings owned by the caller.
  TCString* BuildStaffName(int32_t staff) const;
  // The same name, made once per staff in a run: staves and groups do not
  // change while a scan runs.
  const TCString* StaffNameOf(int32_t staff) const;
  // The instrument the staff belongs to, or null; found once per staff in a
  // run, as its name is: a wide score has hundreds of instruments, and every
  // note related across staves asks for two.
  const TCMultiStaffInstrument* InstrumentOf(int32_t staff) const;
  // The name of a group as staff names show it (font tags out, flat and
  // sharp signs as "b" and "#"); null for a number no group has. The groups
  // are loaded once in a run.
  const TCString* GroupNameOf(int32_t groupNumber) const;
  // Forgets the names, instruments and groups found for staves, for a run
  // whose instruments were loaded anew.
  void ForgetStaves();
  TCString* BuildLocationText(const AccidentalFinding* finding) const;
  TCString* BuildRelatedLocationText(const AccidentalFinding* finding) const;

  bool IsAlreadyReported(const AccidentalFinding* finding) const;
  bool IsNoteReported(uint32_t entryNumber, int32_t noteIndex) const;

  // While findings are held back, AddFinding keeps each one with the place
  // last given and answers as it would; FlushHeldFindings then adds them in
  // the order of their places, each place's in the order they came. A group
  // whose notes are decided out of order is reported in its own order so.
  void HoldFindings();
  void SetFindingPlace(int32_t place) { heldPlace_ = place; }
  void FlushHeldFindings();

 private:
  void BuildDescription(FindingKind kind, const TCNotePitches* entry, const TCNotePitch* relatedNote,
                        const TCNotePitches* relatedEntry, TCString* description) const;
  void AppendRelationSuffix(const TCNotePitches* entry, const TCNotePitches* relatedEntry, TCString* description) const;
  TCString* BuildInstrumentStaffName(int32_t staff) const;
  bool ChooseParentheses(FindingKind kind, const TCNotePitches* entry, const TCNotePitches* relatedEntry) const;
  // A row showing the finding, for the result list to take.
  TCDataListRow* MakeReportRow(AccidentalFinding* finding, bool checked) const;
  void DeleteHeldRows();
  void WriteLocationText(const AccidentalFinding* finding, TCString* text) const;
  void WriteRelatedLocationText(const AccidentalFinding* finding, TCString* text) const;
  // Brings the set of reported notes up to the rows of the result list.
  void RefreshReportedNotes() const;
  AccidentalFinding* MakeFinding(FindingKind kind, int32_t noteIndex, const TCNotePitch* note,
                                 const TCNotePitches* entry, const TCNotePitch* relatedNote,
                                 const TCNotePitches* relatedEntry) const;

  struct HeldFinding {
    int32_t place;
    TCDataListRow* row;  // with its finding
  };

  TCDataListRows* resultList_;
  const TCMultiStaffInstruments* instruments_;
  AnalysisSettings settings_;
  // The notes of the first rows of the result list, for the duplicate test.
  mutable ReportedNotes reportedNotes_;
  mutable int32_t reportedRowCount_ = 0;
  mutable const TCDataListRow* lastReportedRow_ = nullptr;
  mutable std::unordered_map<int32_t, std::unique_ptr<TCString>> staffNames_;
  mutable std::unordered_map<int32_t, const TCMultiStaffInstrument*> staffInstruments_;
  mutable bool instrumentsMapped_ = false;
  mutable std::unordered_map<int32_t, std::unique_ptr<TCString>> groupNames_;
  mutable bool groupNamesLoaded_ = false;
  bool holding_ = false;
  int32_t heldPlace_ = 0;
  std::vector<HeldFinding> held_;
  ReportedNotes heldNotes_;
};
