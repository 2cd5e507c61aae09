#include "headless/record_layouts.h"

#include <cstdio>
#include <string>

#include "shell/host_version.h"

namespace headless {

namespace {

constexpr uint32_t kCurrentLayout = 0x12050000;

RecordLayout Layout(uint32_t version, int32_t size) { return RecordLayout{true, version, size}; }

}  // namespace

bool IsRawTextTag(uint32_t tag) { return (tag & 0xFFFF0000u) == kRawTextHigh; }

AddressForm AddressFormOf(uint32_t tag) {
  switch (tag) {
    case kGroupTag:
    case kStaffReductionTag:
    case kCellDetailTag:
      return AddressForm::Detail;
    case kStaffSpecTag:
      return AddressForm::StaffAtPosition;
    default:
      return AddressForm::NumberInci;
  }
}

bool IsPartOwnedTag(uint32_t tag) {
  return tag == kStaffSystemTag || tag == kSystemStaffTag || tag == kStaffReductionTag;
}

bool SaveMayCreate(uint32_t tag) { return AddressFormOf(tag) == AddressForm::Detail || IsRawTextTag(tag); }

RecordLayout LayoutOf(uint32_t tag, uint32_t hostVersion) {
  if (IsRawTextTag(tag)) return Layout(hostVersion, 0);
  switch (tag) {
    case kMeasureTag:
      return hostVersion < kHostVersion2012 ? Layout(0x0A000000, 26) : Layout(0x12000000, 30);
    case kStaffTag:
    case kStaffSpecTag:
      if (hostVersion < kHostVersion2011) return Layout(0x0F000000, 114);
      if (hostVersion < kHostVersion2012) return Layout(0x11000000, 132);
      return Layout(0x12000000, 136);
    case kStaffSystemTag:
      return Layout(kCurrentLayout, 28);
    case kSystemStaffTag:
      return Layout(kCurrentLayout, 24);
    case kStaffReductionTag:
      return Layout(kCurrentLayout, 10);
    case kPartTag:
      return Layout(kCurrentLayout, 12);
    case kGroupTag:
      return Layout(hostVersion < kHostVersion2010 ? 0x09000000 : kCurrentLayout, 36);
    case kInstrumentTag:
      return Layout(kCurrentLayout, 12);
    case kTextBlockTag:
      return Layout(kCurrentLayout, 26);
    case kCellDetailTag:
      return Layout(0x06000000, 20);
    case kGeneralPrefsTag:
      return Layout(0x0D000000, 66);
    default:
      return RecordLayout{};
  }
}

std::string TagName(uint32_t tag) {
  std::string name;
  for (int shift = 24; shift >= 0; shift -= 8) {
    unsigned character = (tag >> shift) & 0xFF;
    if (character >= 0x20 && character < 0x7F) {
      name += static_cast<char>(character);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", character);
      name += escaped;
    }
  }
  return name;
}

void EntryMetricsRecord::SetNoteId(RecordBytes& record, int index, int16_t id) {
  size_t offset = 66 + 20 * static_cast<size_t>(index);
  if (index >= 0 && offset + sizeof(id) <= record.size()) host_frame::Write(record.data(), offset, id);
}

void EntryMetricsRecord::SetVisible(RecordBytes& record, int index, bool visible) {
  size_t offset = 304 + static_cast<size_t>(index);
  if (index >= 0 && index < host_frame::kMaxNotes && offset < record.size()) {
    record[offset] = visible ? 1 : 0;
  }
}

}  // namespace headless
