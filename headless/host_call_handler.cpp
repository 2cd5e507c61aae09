#include "headless/host_call_handler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "headless/document.h"
#include "headless/headless_host.h"

namespace headless {

namespace {

// No host record comes near this; a larger size is a damaged argument.
constexpr int32_t kLargestRecord = 1 << 20;

constexpr size_t kStaffOffset = 0;
constexpr size_t kMeasureOffset = 2;

const RecordBytes& StaffAtMeasure(const RecordBytes& staffRecord, const DocumentContent& content, int16_t staff,
                                  int16_t measure, RecordBytes* flagged) {
  auto flags = content.staffFlagsInMeasure.find({staff, measure});
  if (flags == content.staffFlagsInMeasure.end()) return staffRecord;
  *flagged = staffRecord;
  StaffRecord::Flags::Set(*flagged, flags->second);
  return *flagged;
}

}  // namespace

Document* HostCallHandler::Current() { return host_.CurrentDocumentData(); }

bool HostCallHandler::CheckLayoutVersion(const char* function, uint32_t tag, uint32_t version) {
  RecordLayout layout = LayoutOf(tag, host_.HostVersion());
  if (!layout.known || layout.version == version) return true;
  char text[160];
  std::snprintf(text, sizeof text, "%s \"%s\": layout version 0x%08X, the host expects 0x%08X", function,
                TagName(tag).c_str(), version, layout.version);
  host_.Misuse().ReportCallError(text);
  return false;
}

int32_t HostCallHandler::LoadStaffAtPosition(const void* address, void* buffer, int32_t* size) {
  Document* document = Current();
  int16_t staff = host_frame::Read<int16_t>(address, kStaffOffset);
  int16_t measure = host_frame::Read<int16_t>(address, kMeasureOffset);
  if (!document->content.HasMeasure(measure)) return 0;
  const RecordBytes* staffRecord = document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0});
  if (!staffRecord) return 0;
  // The staff record as it stands in this measure: a copy only where the
  // measure changes its flags.
  RecordBytes flagged;
  const RecordBytes& answer = StaffAtMeasure(*staffRecord, document->content, staff, measure, &flagged);
  if (!buffer) {
    if (*size != 0) return 0;
    *size = static_cast<int32_t>(answer.size());
    return 1;
  }
  int32_t count = std::min<int32_t>(*size, static_cast<int32_t>(answer.size()));
  std::memcpy(buffer, answer.data(), static_cast<size_t>(count));
  *size = count;
  return 1;
}

int32_t HostCallHandler::LoadEData(uint32_t tag, void* address, void* buffer, int32_t* size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !size || *size < 0) return 0;
  if (!CheckLayoutVersion("TX_LoadEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return LoadStaffAtPosition(address, buffer, size);
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  const RecordBytes* record = store ? store->Find(RecordKey::FromAddress(tag, address)) : nullptr;
  if (!record) return 0;
  if (!buffer) {
    // Asking for the size of a record: null buffer and size 0.
    if (*size != 0) return 0;
    *size = static_cast<int32_t>(record->size());
    return 1;
  }
  // The host writes no more than the caller has room for and tells how much it wrote.
  int32_t count = std::min<int32_t>(*size, static_cast<int32_t>(record->size()));
  std::memcpy(buffer, record->data(), static_cast<size_t>(count));
  *size = count;
  return 1;
}

int32_t HostCallHandler::SaveEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !buffer || size <= 0 || size > kLargestRecord) return 0;
  if (!CheckLayoutVersion("TX_SaveEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordLayout layout = LayoutOf(tag, host_.HostVersion());
  if (layout.known && layout.size > 0 && size != layout.size) {
    host_.Misuse().ReportCallError("TX_SaveEData \"" + TagName(tag) + "\": " + std::to_string(size) +
                                   " bytes, the layout has " + std::to_string(layout.size));
    return 0;
  }
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (!store) return 0;
  RecordKey key = RecordKey::FromAddress(tag, address);
  if (!store->Find(key) && !SaveMayCreate(tag)) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  store->Put(key, RecordBytes(bytes, bytes + size));
  return 1;
}

int32_t HostCallHandler::CreateEData(uint32_t tag, void* address, const void* buffer, int32_t size, uint32_t version) {
  Document* document = Current();
  if (!document || !address || !buffer || size <= 0 || size > kLargestRecord) return 0;
  if (!CheckLayoutVersion("TX_CreateEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  if (!store) return 0;
  RecordKey key = RecordKey::FromAddress(tag, address);
  bool detail = AddressFormOf(tag) == AddressForm::Detail;
  // -1 in a part of the address asks the host for the next free number there.
  if (key.first == -1) {
    key.first = store->FreeFirst(tag);
    if (key.second == -1) key.second = 0;
    if (key.first <= 0) return 0;
  }
  if (key.second == -1) {
    key.second = store->FreeSecond(tag, key.first);
    if (key.second < 0) return 0;
  }
  if (detail && key.third == -1) {
    key.third = store->FreeThird(tag, key.first, key.second);
    if (key.third < 0) return 0;
  }
  if (store->Find(key)) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  store->Put(key, RecordBytes(bytes, bytes + size));
  key.WriteAddress(address);
  return 1;
}

int32_t HostCallHandler::DeleteEData(uint32_t tag, void* address, uint32_t version) {
  Document* document = Current();
  if (!document || !address) return 0;
  if (!CheckLayoutVersion("TX_DeleteEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  return store && store->Erase(RecordKey::FromAddress(tag, address)) ? 1 : 0;
}

int32_t HostCallHandler::NextEData(uint32_t tag, void* address, uint32_t version) {
  Document* document = Current();
  if (!document || !address) return 0;
  if (!CheckLayoutVersion("TX_NextEData", tag, version)) return 0;
  if (AddressFormOf(tag) == AddressForm::StaffAtPosition) return 0;
  const RecordStore* store = document->content.StoreFor(tag, document->currentPart);
  RecordKey next;
  if (!store || !store->Next(RecordKey::FromAddress(tag, address), &next)) return 0;
  next.WriteAddress(address);
  return 1;
}

}  // namespace headless
