// The host's document records as the headless host stores them: type tags,
// how each type is addressed, its layout version and size per host version,
// and one accessor per field the host fills in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/host_frame.h"

namespace headless {

using RecordBytes = std::vector<uint8_t>;

constexpr uint32_t kMeasureTag = 0x534F4D53;         // "SOMS"
constexpr uint32_t kStaffTag = 0x534F4953;           // "SOIS"
constexpr uint32_t kStaffSpecTag = 0x534F5343;       // "SOSC", staff at a position
constexpr uint32_t kStaffSystemTag = 0x534F5353;     // "SOSS"
constexpr uint32_t kSystemStaffTag = 0x534F4975;     // "SOIu"
constexpr uint32_t kStaffReductionTag = 0x64744C50;  // "dtLP"
constexpr uint32_t kPartTag = 0x6F747044;            // "otpD"
constexpr uint32_t kGroupTag = 0x53444E47;           // "SDNG"
constexpr uint32_t kInstrumentTag = 0x6F744D47;      // "otMG"
constexpr uint32_t kTextBlockTag = 0x534F5458;       // "SOTX"
constexpr uint32_t kCellDetailTag = 0x4402464C;      // "D" 2 "F" "L", independent key of a cell
constexpr uint32_t kGeneralPrefsTag = 0x70666770;    // "pfgp"
constexpr uint32_t kRawTextHigh = 0x74780000;        // "tx" + text kind
constexpr uint16_t kBlockTextKind = 0x626C;          // "bl"
constexpr uint32_t kBlockTextTag = kRawTextHigh | kBlockTextKind;

// How the 8 address bytes name a record of a type.
enum class AddressForm {
  NumberInci,       // bytes 0-1 number, 2-3 inci
  Detail,           // bytes 0-1 first, 2-3 second, 4-5 inci
  StaffAtPosition,  // bytes 0-1 staff, 2-3 measure, 4-7 position (answered, not stored)
};

AddressForm AddressFormOf(uint32_t tag);
bool IsRawTextTag(uint32_t tag);
// Records that each part keeps on its own: staff systems, system staves, staff reductions.
bool IsPartOwnedTag(uint32_t tag);
// Whether TX_SaveEData may create the record when it does not exist yet.
bool SaveMayCreate(uint32_t tag);

struct RecordLayout {
  bool known = false;    // a type the host has a fixed layout for
  uint32_t version = 0;  // layout version the caller must pass
  int32_t size = 0;      // record size in bytes (0 for texts, whose size is their own)
};

// The layout of a type at a host version: the newest whose threshold the version reaches.
RecordLayout LayoutOf(uint32_t tag, uint32_t hostVersion);

// The four characters of a tag for messages ("SOMS"; unprintable bytes as \xNN).
std::string TagName(uint32_t tag);

// One field of a record: offset and width in one place.
template <typename T, size_t Offset>
struct RecordField {
  static T Get(const RecordBytes& record) {
    if (record.size() < Offset + sizeof(T)) return T{};
    return host_frame::Read<T>(record.data(), Offset);
  }
  static void Set(RecordBytes& record, T value) {
    if (record.size() >= Offset + sizeof(T)) host_frame::Write<T>(record.data(), Offset, value);
  }
};

struct MeasureRecord {
  using KeyValue = RecordField<uint16_t, 2>;
  using FlagValue = RecordField<int16_t, 6>;  // newer layout only
};

struct StaffRecord {
  using Flags = RecordField<uint16_t, 10>;
  using IndependentKeys = RecordField<int16_t, 22>;  // negative: cells may have their own key
  using NameTextBlock = RecordField<int16_t, 30>;
  // The low words of the staff's two version stamps (offsets 94 and 98).
  using FirstVersionWord = RecordField<uint16_t, 94>;
  using SecondVersionWord = RecordField<uint16_t, 98>;
};

struct StaffSystemRecord {
  using FirstMeasure = RecordField<int16_t, 8>;
  using FirstMeasureAfter = RecordField<int16_t, 12>;
};

struct SystemStaffRecord {
  using Staff = RecordField<int16_t, 0>;
};

struct StaffReductionRecord {
  using Percentage = RecordField<int16_t, 0>;
};

struct PartRecord {
  using PartId = RecordField<int16_t, 0>;
};

struct GroupRecord {
  using FirstStaff = RecordField<int16_t, 0>;
  using LastStaff = RecordField<int16_t, 2>;
  using NameTextBlock = RecordField<int16_t, 4>;
  using BracketKind = RecordField<int16_t, 10>;
  using GrandStaffValue = RecordField<int32_t, 32>;
};

struct InstrumentRecord {
  using FirstStaff = RecordField<int16_t, 0>;
  using SecondStaff = RecordField<int16_t, 2>;
  using ThirdStaff = RecordField<int16_t, 4>;
  using Group = RecordField<int16_t, 6>;
};

struct TextBlockRecord {
  using RawTextNumber = RecordField<int16_t, 0>;
  using RawTextInci = RecordField<int16_t, 2>;
  using Value8 = RecordField<int16_t, 8>;
  using Flags = RecordField<uint16_t, 14>;
  using TextKind = RecordField<uint16_t, 24>;
};

struct CellDetailRecord {
  using KeyValue = RecordField<uint16_t, 0>;
  using Flags = RecordField<uint16_t, 8>;
};
constexpr uint16_t kCellHasOwnKey = 0x0800;

struct GeneralPrefsRecord {
  using OctaveValue = RecordField<int16_t, 40>;
};

// Entry metrics as the host fills them: 316 bytes (2014) or 304 bytes (2009a).
constexpr int32_t kMetrics2014Size = 316;
constexpr int32_t kMetrics2009Size = 304;
struct EntryMetricsRecord {
  using NoteCount = RecordField<int16_t, 8>;
  static void SetNoteId(RecordBytes& record, int index, int16_t id);
  static void SetVisible(RecordBytes& record, int index, bool visible);  // 2014 only
};

// Window information: 532 bytes, two 16-bit fields at the end.
constexpr int32_t kWindowInfoSize = 532;
struct WindowInfoRecord {
  using PageView = RecordField<int16_t, 528>;  // 0 when the window shows no page view
  using Zoom = RecordField<int16_t, 530>;      // above 150 the measure shows without its system
};

}  // namespace headless
