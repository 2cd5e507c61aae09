#include "score/tc_staff.h"

#include "framework/tc_string.h"
#include "score/tc_text_block.h"
#include "shell/host_version.h"

namespace {

constexpr uint32_t kOldestVersion = 0x0F000000;
constexpr uint32_t kMiddleVersion = 0x11000000;
constexpr uint32_t kNewestVersion = 0x12000000;
constexpr int32_t kOldestSize = 114;
constexpr int32_t kMiddleSize = 132;
constexpr int32_t kNewestSize = 136;

constexpr size_t kFlagsOffset = 10;
constexpr size_t kIndependentWordOffset = 22;
constexpr size_t kFullNameOffset = 30;
constexpr size_t kFirstVersionWordOffset = 94;
constexpr size_t kSecondVersionWordOffset = 98;

// The host is told the buffer's size in UTF-16 units (2000 bytes).
constexpr int32_t kAutoNameUnits = 1000;

uint32_t WithLowWord(uint16_t word) { return (GetHostVersion() & 0xFFFF0000u) | word; }

}  // namespace

TCStaff::TCStaff() : __TCNoInciOther(buffer_, sizeof(buffer_)) {}

__TCBaseData* TCStaff::CreateObject() const { return new TCStaff(); }

uint32_t TCStaff::GetDataVersion() const {
  if (HostReaches(kHostVersion2012)) return kNewestVersion;
  if (HostReaches(kHostVersion2011)) return kMiddleVersion;
  return kOldestVersion;
}

int32_t TCStaff::GetDataSize() const {
  if (HostReaches(kHostVersion2012)) return kNewestSize;
  if (HostReaches(kHostVersion2011)) return kMiddleSize;
  return kOldestSize;
}

bool TCStaff::LoadFirst() {
  ClearAddress();
  return LoadNext();
}

uint32_t TCStaff::GetFirstVersionStamp() const { return WithLowWord(ReadField<uint16_t>(kFirstVersionWordOffset)); }

uint32_t TCStaff::GetSecondVersionStamp() const { return WithLowWord(ReadField<uint16_t>(kSecondVersionWordOffset)); }

uint16_t TCStaff::GetFlags() const { return ReadField<uint16_t>(kFlagsOffset); }

void TCStaff::SetFlags(uint16_t flags) { WriteField<uint16_t>(kFlagsOffset, flags); }

bool TCStaff::HasIndependentKeys() const { return GetIndependentWord() < 0; }

int16_t TCStaff::GetIndependentWord() const { return ReadField<int16_t>(kIndependentWordOffset); }

void TCStaff::SetIndependentWord(int16_t value) { WriteField<int16_t>(kIndependentWordOffset, value); }

int16_t TCStaff::GetFullNameTextBlock() const { return ReadField<int16_t>(kFullNameOffset); }

void TCStaff::SetFullNameTextBlock(int16_t number) { WriteField<int16_t>(kFullNameOffset, number); }

TCString* TCStaff::GetFullName() const {
  if (HostReaches(kHostVersion2011)) {
    char16_t buffer[kAutoNameUnits + 1] = {};
    if (TX_AutoNumberedName_UTF16(GetFullNameTextBlock(), GetNumber(), buffer, kAutoNameUnits, 0) != 0) {
      // The host may fill the whole buffer; the extra unit keeps it terminated.
      buffer[kAutoNameUnits] = 0;
      auto* name = new TCString();
      name->SetUTF16(buffer);
      return name;
    }
  }
  TCTextBlock block;
  if (!block.Load(GetFullNameTextBlock())) return new TCString();
  TCString* name = block.GetRawText();
  name->StripFontTags();
  name->ReplaceAll("^flat()", "b");
  name->ReplaceAll("^sharp()", "#");
  return name;
}

__TCBaseData* TCCurrentStaffSpec::CreateObject() const { return new TCCurrentStaffSpec(); }

bool TCCurrentStaffSpec::Load(int16_t) { return false; }

bool TCCurrentStaffSpec::SaveAs(int16_t) { return false; }

bool TCCurrentStaffSpec::SaveTo(int16_t) { return false; }

bool TCCurrentStaffSpec::SaveNew() { return false; }

bool TCCurrentStaffSpec::LoadAtPosition(int16_t staff, int16_t measure, int32_t position) {
  ClearAddress();
  SetAddressFirst(staff);
  SetAddressSecond(measure);
  SetAddressPosition(position);
  return LoadData();
}
