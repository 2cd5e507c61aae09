// The builder's staves, instruments, groups, parts and layout settings.
#include <algorithm>
#include <limits>
#include <set>

#include "headless/document.h"
#include "headless/headless_host.h"
#include "headless/score_builder.h"

namespace headless {

namespace {

constexpr int16_t kScorePart = 0;
constexpr int16_t kGroupList = 0;  // first number of the document's staff groups

RecordBytes NewRecord(uint32_t tag, uint32_t hostVersion) {
  return RecordBytes(static_cast<size_t>(LayoutOf(tag, hostVersion).size), 0);
}

bool AllStavesExist(const DocumentContent& content, const std::vector<int16_t>& staves) {
  std::set<int16_t> seen;
  for (int16_t staff : staves) {
    if (!content.HasStaff(staff) || !seen.insert(staff).second) return false;
  }
  return !staves.empty();
}

}  // namespace

int16_t ScoreBuilder::AddStaff(const char* fullName) {
  Document* document = Data();
  if (!document) return 0;
  DocumentContent& content = document->content;
  // Numbers are handed out rising, so the last one is the highest.
  int32_t next =
      content.staves.empty() ? kFirstStaffNumber : std::max<int32_t>(kFirstStaffNumber, content.staves.back() + 1);
  // Staff numbers are 16-bit: past the highest there is no number left.
  if (next > std::numeric_limits<int16_t>::max()) return 0;
  int16_t staff = static_cast<int16_t>(next);
  int16_t nameBlock = content.AddTextBlock(fullName ? fullName : "", host_->HostVersion());
  RecordBytes record = NewRecord(kStaffTag, host_->HostVersion());
  StaffRecord::NameTextBlock::Set(record, nameBlock);
  content.records.Put(RecordKey{kStaffTag, staff, 0, 0}, record);
  content.staves.push_back(staff);
  content.AppendSlot(kScorePart, staff);
  LayOut();
  return staff;
}

bool ScoreBuilder::SetSlotOrder(const std::vector<int16_t>& staves) {
  Document* document = Data();
  if (!document || staves.size() != document->content.staves.size() || !AllStavesExist(document->content, staves)) {
    return false;
  }
  document->content.SetSlotOrder(kScorePart, staves);
  LayOut();
  return true;
}

bool ScoreBuilder::SetStaffFlags(int16_t staff, uint16_t flags) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0}) : nullptr;
  if (!record) return false;
  StaffRecord::Flags::Set(*record, flags);
  return true;
}

bool ScoreBuilder::SetStaffFlagsInMeasure(int16_t staff, int16_t measure, uint16_t flags) {
  Document* document = Data();
  if (!document || !document->content.HasStaff(staff) || !document->content.HasMeasure(measure)) return false;
  document->content.staffFlagsInMeasure[{staff, measure}] = flags;
  return true;
}

bool ScoreBuilder::SetStaffWords94And98(int16_t staff, uint16_t word94, uint16_t word98) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0}) : nullptr;
  if (!record) return false;
  StaffRecord::Word94::Set(*record, word94);
  StaffRecord::Word98::Set(*record, word98);
  return true;
}

int16_t ScoreBuilder::AddGroup(int16_t firstStaff, int16_t lastStaff, const char* name, int16_t bracketKind,
                               int32_t grandStaffValue) {
  Document* document = Data();
  if (!document || !document->content.HasStaff(firstStaff) || !document->content.HasStaff(lastStaff)) return 0;
  DocumentContent& content = document->content;
  int16_t group = std::max<int16_t>(1, content.records.FreeSecond(kGroupTag, kGroupList));
  RecordBytes record = NewRecord(kGroupTag, host_->HostVersion());
  GroupRecord::FirstStaff::Set(record, firstStaff);
  GroupRecord::LastStaff::Set(record, lastStaff);
  GroupRecord::NameTextBlock::Set(record, content.AddTextBlock(name ? name : "", host_->HostVersion()));
  GroupRecord::BracketKind::Set(record, bracketKind);
  GroupRecord::GrandStaffValue::Set(record, grandStaffValue);
  content.records.Put(RecordKey{kGroupTag, kGroupList, group, 0}, record);
  return group;
}

int16_t ScoreBuilder::AddInstrument(const std::vector<int16_t>& staves, const char* groupName) {
  Document* document = Data();
  if (!document || staves.size() < 2 || staves.size() > 3 || !AllStavesExist(document->content, staves)) return 0;
  int16_t group = AddGroup(staves.front(), staves.back(), groupName, 3, 1);
  if (group == 0) return 0;
  DocumentContent& content = document->content;
  int16_t instrument = content.records.FreeFirst(kInstrumentTag);
  if (instrument <= 0) return 0;
  RecordBytes record = NewRecord(kInstrumentTag, host_->HostVersion());
  InstrumentRecord::FirstStaff::Set(record, staves[0]);
  InstrumentRecord::SecondStaff::Set(record, staves[1]);
  InstrumentRecord::ThirdStaff::Set(record, staves.size() > 2 ? staves[2] : 0);
  InstrumentRecord::Group::Set(record, group);
  content.records.Put(RecordKey{kInstrumentTag, instrument, 0, 0}, record);
  return instrument;
}

int16_t ScoreBuilder::AddPart(const char* name, const std::vector<int16_t>& staves) {
  Document* document = Data();
  if (!document || !AllStavesExist(document->content, staves)) return 0;
  DocumentContent& content = document->content;
  int16_t part = static_cast<int16_t>(content.parts.rbegin()->first + 1);
  content.parts[part].name = name ? name : "";
  RecordBytes record = NewRecord(kPartTag, host_->HostVersion());
  PartRecord::PartId::Set(record, part);
  content.records.Put(RecordKey{kPartTag, part, 0, 0}, record);
  content.SetSlotOrder(part, staves);
  LayOut();
  return part;
}

bool ScoreBuilder::SetMeasuresPerSystem(int count) {
  Document* document = Data();
  if (!document || count < 1) return false;
  document->content.measuresPerSystem = count;
  LayOut();
  return true;
}

bool ScoreBuilder::SetSystemStarts(int16_t part, const std::vector<int16_t>& firstMeasures) {
  Document* document = Data();
  if (!document || !document->content.HasPart(part)) return false;
  if (!std::is_sorted(firstMeasures.begin(), firstMeasures.end()) ||
      (!firstMeasures.empty() && firstMeasures.front() != 1)) {
    return false;
  }
  document->content.parts[part].systemStarts = firstMeasures;
  LayOut();
  return true;
}

void ScoreBuilder::SetUnlaidSystems(bool unlaid) {
  Document* document = Data();
  if (!document) return;
  document->content.unlaidSystems = unlaid;
  LayOut();
}

}  // namespace headless
