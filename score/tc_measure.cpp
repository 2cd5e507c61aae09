#include "score/tc_measure.h"

#include "score/tc_key_signature.h"
#include "shell/host_version.h"

namespace {

constexpr uint32_t kOlderVersion = 0x0A000000;
constexpr uint32_t kNewerVersion = 0x12000000;
constexpr int32_t kOlderSize = 26;
constexpr int32_t kNewerSize = 30;
constexpr size_t kKeyValueOffset = 2;
constexpr size_t kMeasureFlagOffset = 6;

bool UsesNewerLayout() { return HostReaches(kHostVersion2012); }

}  // namespace

TCMeasure::TCMeasure() : __TCNoInciOther(buffer_, sizeof(buffer_)) {}

TCMeasure::~TCMeasure() { DropKeySignature(); }

__TCBaseData* TCMeasure::CreateObject() const { return new TCMeasure(); }

uint32_t TCMeasure::GetDataVersion() const { return UsesNewerLayout() ? kNewerVersion : kOlderVersion; }

int32_t TCMeasure::GetDataSize() const { return UsesNewerLayout() ? kNewerSize : kOlderSize; }

bool TCMeasure::Save() {
  if (keySignature_) SetKeyValue(keySignature_->GetKeyValue());
  return __TCNoInciOther::Save();
}

bool TCMeasure::Reload() { return Load(GetNumber()); }

bool TCMeasure::Load(int16_t number) {
  DropKeySignature();
  return __TCNoInciOther::Load(number);
}

TCKeySignature* TCMeasure::GetKeySignature() {
  if (!IsLoaded()) return nullptr;
  if (!keySignature_) keySignature_ = new TCKeySignature(GetKeyValue());
  return keySignature_;
}

uint16_t TCMeasure::GetKeyValue() const { return ReadField<uint16_t>(kKeyValueOffset); }

void TCMeasure::SetKeyValue(uint16_t keyValue) { WriteField<uint16_t>(kKeyValueOffset, keyValue); }

int16_t TCMeasure::GetMeasureFlagValue() const {
  if (!UsesNewerLayout()) return 0;
  return ReadField<int16_t>(kMeasureFlagOffset);
}

void TCMeasure::CloneDerivedFrom(const __TCBaseData* other) {
  DropKeySignature();
  const auto* measure = static_cast<const TCMeasure*>(other);
  if (measure->keySignature_) keySignature_ = new TCKeySignature(measure->keySignature_->GetKeyValue());
}

void TCMeasure::DropKeySignature() {
  delete keySignature_;
  keySignature_ = nullptr;
}
