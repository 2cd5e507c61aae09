#include "score/tc_group.h"

#include "framework/tc_string.h"
#include "score/tc_system_staves.h"
#include "score/tc_text_block.h"
#include "shell/host_version.h"

namespace {

constexpr uint32_t kOlderVersion = 0x09000000;
constexpr size_t kFirstStaffOffset = 0;
constexpr size_t kLastStaffOffset = 2;
constexpr size_t kNameOffset = 4;
constexpr size_t kBracketOffset = 10;
constexpr size_t kGrandStaffValueOffset = 32;

}  // namespace

TCGroup::TCGroup() : __TCNoInciDetail(buffer_, sizeof(buffer_)) { SetLoadedSize(sizeof(buffer_)); }

__TCBaseData* TCGroup::CreateObject() const { return new TCGroup(); }

uint32_t TCGroup::GetDataVersion() const { return HostReaches(kHostVersion2010) ? kDefaultDataVersion : kOlderVersion; }

int16_t TCGroup::GetFirstStaff() const { return ReadField<int16_t>(kFirstStaffOffset); }
void TCGroup::SetFirstStaff(int16_t staff) { WriteField<int16_t>(kFirstStaffOffset, staff); }
int16_t TCGroup::GetLastStaff() const { return ReadField<int16_t>(kLastStaffOffset); }
void TCGroup::SetLastStaff(int16_t staff) { WriteField<int16_t>(kLastStaffOffset, staff); }
int16_t TCGroup::GetNameTextBlock() const { return ReadField<int16_t>(kNameOffset); }
void TCGroup::SetNameTextBlock(int16_t number) { WriteField<int16_t>(kNameOffset, number); }
int16_t TCGroup::GetBracketKind() const { return ReadField<int16_t>(kBracketOffset); }
void TCGroup::SetBracketKind(int16_t kind) { WriteField<int16_t>(kBracketOffset, kind); }
int32_t TCGroup::GetGrandStaffValue() const { return ReadField<int32_t>(kGrandStaffValueOffset); }
void TCGroup::SetGrandStaffValue(int32_t value) { WriteField<int32_t>(kGrandStaffValueOffset, value); }

TCString* TCGroup::GetName() const {
  TCTextBlock block;
  if (!block.Load(GetNameTextBlock())) return new TCString();
  return block.GetRawText();
}

int32_t TCGroup::CountStaves() const {
  TCSystemStaves staves;
  staves.LoadAllForSystem(0);
  int32_t first = staves.IndexOfStaff(GetFirstStaff());
  int32_t last = staves.IndexOfStaff(GetLastStaff());
  if (first < 0 || last < 0 || last < first) return 0;
  return last - first + 1;
}
