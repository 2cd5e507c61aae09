#include "analysis/tc_analysis_run_context.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/pitch_memory.h"
#include "framework/tc_string.h"
#include "score/tc_group.h"
#include "score/tc_groups.h"
#include "score/tc_multi_staff_instruments.h"
#include "score/tc_note_pitches.h"
#include "score/tc_staff.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_data_list_rows.h"

namespace {

// Room for the labels and numbers of a location besides the staff name, and
// for a related note's name with its staff or layer after a description.
constexpr uint32_t kLocationLabelsRoom = 80;
constexpr uint32_t kRelationRoom = 48;

// The name of every group by its number as the report shows it: host text
// tags removed, flat and sharp symbols as letters. Of groups that share a
// number the first one loaded counts.
void LoadGroupNames(std::unordered_map<int32_t, std::unique_ptr<TCString>>* names) {
  TCGroups groups;
  groups.LoadAll();
  for (int32_t i = 0; i < groups.GetCount(); ++i) {
    TCGroup* group = groups.GetGroupAt(i);
    if (!group || names->count(group->GetGroupNumber())) continue;
    std::unique_ptr<TCString> name(group->GetName());
    name->StripFontTags();
    name->ReplaceAll("^flat()", "b");
    name->ReplaceAll("^sharp()", "#");
    names->emplace(group->GetGroupNumber(), std::move(name));
  }
}

void FillEntryFields(const TCNotePitches* entry, AccidentalFinding* finding) {
  finding->entryNumber = entry->GetEntryNumber();
  finding->staff = static_cast<int16_t>(entry->GetStaff());
  finding->measure = entry->GetMeasure();
  finding->position = entry->GetPosition();
  finding->entryTimeValue = entry->GetSecondPosition();
  finding->layer = entry->GetLayer();
  finding->entryIndex = entry->GetIndexInFrame();
}

void FillRelatedFields(const TCNotePitch* relatedNote, const TCNotePitches* relatedEntry, AccidentalFinding* finding) {
  finding->hasRelated = true;
  finding->relatedStaff = static_cast<int16_t>(relatedEntry->GetStaff());
  finding->relatedMeasure = relatedEntry->GetMeasure();
  finding->relatedLayer = relatedEntry->GetLayer();
  finding->relatedNoteIndex = relatedEntry->IndexOf(relatedNote);
  finding->relatedEntryIndex = relatedEntry->GetIndexInFrame();
  finding->relatedPosition = relatedEntry->GetPosition();
  finding->relatedEntryTimeValue = relatedEntry->GetSecondPosition();
  finding->relatedPitchName.SetString(relatedNote->GetStoredPitchName());
}

void AppendLocationLabel(TCString* text, const char* label, int32_t value) {
  text->AppendCString(label);
  text->AppendInteger(value);
}

}  // namespace

void AttachFinding(TCDataListRow* row, AccidentalFinding* finding) {
  if (row) row->SetUserValue(static_cast<__TCBase*>(finding));
}

AccidentalFinding* GetRowFinding(const TCDataListRow* row) {
  if (!row || !row->GetUserValue()) return nullptr;
  return dynamic_cast<AccidentalFinding*>(static_cast<__TCBase*>(row->GetUserValue()));
}

void ReleaseRowFindings(TCDataListRows* rows) {
  if (!rows) return;
  for (int32_t index = 0; index < rows->GetRowCount(); ++index) {
    TCDataListRow* row = rows->GetRowAt(index);
    delete GetRowFinding(row);
    AttachFinding(row, nullptr);
  }
  rows->RemoveAllRows();
}

bool TCAnalysisRunContext::AddFinding(FindingKind kind, const TCNotePitch* note, const TCNotePitches* entry,
                                      const TCNotePitch* relatedNote, const TCNotePitches* relatedEntry) {
  const FindingKindInfo* info = GetFindingKindInfo(kind);
  if (!info || !note || !entry || !resultList_) return false;
  if (!relatedNote || !relatedEntry) {
    relatedNote = nullptr;
    relatedEntry = nullptr;
  }

  // The first finding for a note wins; later passes and rules never replace it.
  int32_t noteIndex = entry->IndexOf(note);
  if (IsNoteReported(entry->GetEntryNumber(), noteIndex)) return false;
  if (holding_) {
    if (heldNotes_.Contains(entry->GetEntryNumber(), noteIndex)) return false;
    heldNotes_.Add(entry->GetEntryNumber(), noteIndex);
    // Made now, while the notes are at hand; only adding the row waits.
    held_.push_back(HeldFinding{
        heldPlace_,
        MakeReportRow(MakeFinding(kind, noteIndex, note, entry, relatedNote, relatedEntry), info->checkedWhenAdded)});
    return true;
  }
  resultList_->AddRow(
      MakeReportRow(MakeFinding(kind, noteIndex, note, entry, relatedNote, relatedEntry), info->checkedWhenAdded));
  return true;
}

AccidentalFinding* TCAnalysisRunContext::MakeFinding(FindingKind kind, int32_t noteIndex, const TCNotePitch* note,
                                                     const TCNotePitches* entry, const TCNotePitch* relatedNote,
                                                     const TCNotePitches* relatedEntry) const {
  auto* finding = new AccidentalFinding();
  finding->kind = kind;
  FillEntryFields(entry, finding);
  finding->noteIndex = noteIndex;
  BuildDescription(kind, entry, relatedNote, relatedEntry, &finding->description);
  finding->parentheses = ChooseParentheses(kind, entry, relatedEntry);
  finding->showAccidental = true;
  finding->staffName.SetString(StaffNameOf(entry->GetStaff()));
  finding->pitchName.SetString(note->GetStoredPitchName());
  if (relatedNote) FillRelatedFields(relatedNote, relatedEntry, finding);
  WriteLocationText(finding, &finding->location);
  WriteRelatedLocationText(finding, &finding->relatedLocation);
  return finding;
}

TCDataListRow* TCAnalysisRunContext::MakeReportRow(AccidentalFinding* finding, bool checked) const {
  auto* row = new TCDataListRow(kReportColumnCount);
  row->SetColumnText(kInfoColumn, &finding->description);
  row->SetChecked(checked);
  AttachFinding(row, finding);
  return row;
}

void TCAnalysisRunContext::BuildDescription(FindingKind kind, const TCNotePitches* entry,
                                            const TCNotePitch* relatedNote, const TCNotePitches* relatedEntry,
                                            TCString* description) const {
  const FindingKindInfo* info = GetFindingKindInfo(kind);
  if (info->namesRelatedNote)
    description->Reserve(static_cast<uint32_t>(std::strlen(info->description)) + kRelationRoom);
  description->SetCString(info->description);
  if (!info->namesRelatedNote) return;
  if (relatedNote) {
    description->AppendString(relatedNote->GetStoredPitchName());
    AppendRelationSuffix(entry, relatedEntry, description);
  }
  description->AppendCString(".");
}

void TCAnalysisRunContext::AppendRelationSuffix(const TCNotePitches* entry, const TCNotePitches* relatedEntry,
                                                TCString* description) const {
  if (relatedEntry->GetStaff() != entry->GetStaff()) {
    const TCMultiStaffInstrument* instrument = InstrumentOf(entry->GetStaff());
    const TCMultiStaffInstrument* relatedInstrument = InstrumentOf(relatedEntry->GetStaff());
    if (instrument && instrument == relatedInstrument) {
      description->AppendCString(" (on grand staff)");
      return;
    }
    description->AppendCString(" (on '");
    description->AppendString(StaffNameOf(relatedEntry->GetStaff()));
    description->AppendCString("')");
    return;
  }
  if (relatedEntry->GetLayer() != entry->GetLayer()) {
    description->AppendCString(" (Layer ");
    description->AppendInteger(relatedEntry->GetLayer());
    description->AppendCString(")");
  }
}

bool TCAnalysisRunContext::ChooseParentheses(FindingKind kind, const TCNotePitches* entry,
                                             const TCNotePitches* relatedEntry) const {
  const FindingKindInfo* info = GetFindingKindInfo(kind);
  const AnalysisSettings& settings = settings_;
  switch (info->parenthesisRule) {
    case ParenthesisRule::Never:
      return false;
    case ParenthesisRule::Option:
      return settings.HasParenthesis(info->parenthesisOption);
    case ParenthesisRule::MeasureDistance: {
      int32_t distance = relatedEntry ? std::abs(entry->GetMeasure() - relatedEntry->GetMeasure()) : 0;
      if (distance == 0) return settings.HasParenthesis(kParenSameMeasure);
      if (distance == 1) return settings.HasParenthesis(kParenNextMeasure);
      return settings.HasParenthesis(kParenSecondMeasure);
    }
  }
  return false;
}

TCString* TCAnalysisRunContext::BuildStaffName(int32_t staffNumber) const {
  TCStaff staff;
  if (staff.Load(static_cast<int16_t>(staffNumber))) {
    TCString* fullName = staff.GetFullName();
    if (fullName && !fullName->IsEmpty()) return fullName;
    delete fullName;
  }
  if (TCString* instrumentName = BuildInstrumentStaffName(staffNumber)) return instrumentName;
  auto* name = new TCString("Staff #");
  name->AppendInteger(staffNumber);
  return name;
}

const TCString* TCAnalysisRunContext::StaffNameOf(int32_t staff) const {
  std::unique_ptr<TCString>& name = staffNames_[staff];
  if (!name) name.reset(BuildStaffName(staff));
  return name.get();
}

const TCMultiStaffInstrument* TCAnalysisRunContext::InstrumentOf(int32_t staff) const {
  if (!instruments_ || staff == 0) return nullptr;
  // All staves at once: asked staff by staff, a score of thousands of
  // instruments would walk them all for each staff.
  if (!instrumentsMapped_) {
    for (int32_t i = 0; i < instruments_->GetCount(); ++i) {
      const TCMultiStaffInstrument* instrument = instruments_->GetInstrumentAt(i);
      if (!instrument) continue;
      for (int32_t member : {instrument->GetFirstStaff(), instrument->GetSecondStaff(), instrument->GetThirdStaff()}) {
        if (member != 0) staffInstruments_.emplace(member, instrument);
      }
    }
    instrumentsMapped_ = true;
  }
  auto known = staffInstruments_.find(staff);
  return known == staffInstruments_.end() ? nullptr : known->second;
}

const TCString* TCAnalysisRunContext::GroupNameOf(int32_t groupNumber) const {
  if (!groupNamesLoaded_) LoadGroupNames(&groupNames_);
  groupNamesLoaded_ = true;
  auto found = groupNames_.find(groupNumber);
  return found == groupNames_.end() ? nullptr : found->second.get();
}

void TCAnalysisRunContext::ForgetStaves() {
  staffNames_.clear();
  staffInstruments_.clear();
  instrumentsMapped_ = false;
  groupNames_.clear();
  groupNamesLoaded_ = false;
}

TCString* TCAnalysisRunContext::BuildInstrumentStaffName(int32_t staff) const {
  const TCMultiStaffInstrument* instrument = InstrumentOf(staff);
  if (!instrument) return nullptr;
  const TCString* groupName = GroupNameOf(instrument->GetGroupNumber());
  if (!groupName || groupName->IsEmpty()) return nullptr;
  auto* name = new TCString();
  name->SetString(groupName);
  if (instrument->GetFirstStaff() == staff) {
    name->AppendCString(" [Staff 1]");
  } else if (instrument->GetSecondStaff() == staff) {
    name->AppendCString(" [Staff 2]");
  } else {
    name->AppendCString(" [Staff 3]");
  }
  return name;
}

TCString* TCAnalysisRunContext::BuildLocationText(const AccidentalFinding* finding) const {
  auto* text = new TCString();
  WriteLocationText(finding, text);
  return text;
}

TCString* TCAnalysisRunContext::BuildRelatedLocationText(const AccidentalFinding* finding) const {
  auto* text = new TCString();
  WriteRelatedLocationText(finding, text);
  return text;
}

void TCAnalysisRunContext::WriteLocationText(const AccidentalFinding* finding, TCString* text) const {
  text->SetCString("Staff: ");
  if (!finding) return;
  text->Reserve(finding->staffName.GetLength() + kLocationLabelsRoom);
  text->AppendString(&finding->staffName);
  AppendLocationLabel(text, ",  Measure: ", finding->measure);
  AppendLocationLabel(text, ",  Layer: ", finding->layer);
  AppendLocationLabel(text, ",  Entry #: ", finding->entryIndex + 1);
  AppendLocationLabel(text, ",  Note #: ", finding->noteIndex + 1);
}

void TCAnalysisRunContext::WriteRelatedLocationText(const AccidentalFinding* finding, TCString* text) const {
  text->SetCString("");
  if (!finding || !finding->hasRelated) return;
  const TCString* staffName = StaffNameOf(finding->relatedStaff);
  text->SetCString("Staff: ");
  text->Reserve(staffName->GetLength() + kLocationLabelsRoom);
  text->AppendString(staffName);
  AppendLocationLabel(text, ",  Measure: ", finding->relatedMeasure);
  AppendLocationLabel(text, ",  Layer: ", finding->relatedLayer);
  AppendLocationLabel(text, ",  Entry #: ", finding->relatedEntryIndex + 1);
}

TCAnalysisRunContext::~TCAnalysisRunContext() { DeleteHeldRows(); }

void TCAnalysisRunContext::DeleteHeldRows() {
  for (const HeldFinding& held : held_) {
    delete GetRowFinding(held.row);
    delete held.row;
  }
  held_.clear();
}

void TCAnalysisRunContext::HoldFindings() {
  DeleteHeldRows();
  holding_ = true;
  heldPlace_ = 0;
  heldNotes_.Clear();
}

void TCAnalysisRunContext::FlushHeldFindings() {
  holding_ = false;
  std::stable_sort(held_.begin(), held_.end(),
                   [](const HeldFinding& left, const HeldFinding& right) { return left.place < right.place; });
  for (const HeldFinding& held : held_) resultList_->AddRow(held.row);
  held_.clear();
  heldNotes_.Clear();
}

bool TCAnalysisRunContext::IsAlreadyReported(const AccidentalFinding* finding) const {
  return finding && IsNoteReported(finding->entryNumber, finding->noteIndex);
}

bool TCAnalysisRunContext::IsNoteReported(uint32_t entryNumber, int32_t noteIndex) const {
  if (!resultList_) return false;
  if (settings_.UsesIndex()) {
    RefreshReportedNotes();
    return reportedNotes_.Contains(entryNumber, noteIndex);
  }
  AccidentalFinding note;
  note.entryNumber = entryNumber;
  note.noteIndex = noteIndex;
  for (int32_t i = 0; i < resultList_->GetRowCount(); ++i) {
    const AccidentalFinding* reported = GetRowFinding(resultList_->GetRowAt(i));
    if (reported && reported->IsSameNote(note)) return true;
  }
  return false;
}

// Rows are only appended during a run; should the list have changed in any
// other way since the last test, the set is made again from the first row.
void TCAnalysisRunContext::RefreshReportedNotes() const {
  int32_t rowCount = resultList_->GetRowCount();
  if (rowCount < reportedRowCount_ ||
      (reportedRowCount_ > 0 && resultList_->GetRowAt(reportedRowCount_ - 1) != lastReportedRow_)) {
    reportedNotes_.Clear();
    reportedRowCount_ = 0;
  }
  for (; reportedRowCount_ < rowCount; ++reportedRowCount_) {
    const TCDataListRow* row = resultList_->GetRowAt(reportedRowCount_);
    if (const AccidentalFinding* reported = GetRowFinding(row))
      reportedNotes_.Add(reported->entryNumber, reported->noteIndex);
    lastReportedRow_ = row;
  }
}
