#include "score/tc_base_data.h"

__TCBaseData::__TCBaseData(uint8_t* fixedBuffer, int32_t fixedCapacity)
    : fixedBuffer_(fixedBuffer), fixedCapacity_(fixedCapacity), data_(fixedBuffer) {}

__TCBaseData::~__TCBaseData() = default;

void* __TCBaseData::GetDataPointer() { return fixedBuffer_; }

void __TCBaseData::FreeDynamicData() {}

bool __TCBaseData::IsDynamicSize() const { return false; }

uint32_t __TCBaseData::GetDataVersion() const { return kDefaultDataVersion; }

int32_t __TCBaseData::GetLoadedSize() const { return loadedSize_; }

int32_t __TCBaseData::GetBufferCapacity() const { return data_ == fixedBuffer_ ? fixedCapacity_ : 0; }

void __TCBaseData::CloneFrom(const __TCBaseData* other) {
  // Bytes of another class would not fit this layout.
  if (!other || other == this || std::strcmp(other->ClassName(), ClassName()) != 0) return;
  data_ = static_cast<uint8_t*>(GetDataPointer());
  int32_t size = GetBufferCapacity();
  if (data_ && other->data_ && size > 0 && other->GetBufferCapacity() >= size) {
    std::memcpy(data_, other->data_, static_cast<size_t>(size));
  }
  CloneDerivedFrom(other);
  // A copy of a record that was never loaded must stay unsaveable.
  loadedSize_ = other->GetLoadedSize() != 0 ? GetDataSize() : 0;
}

void __TCBaseData::CloneDerivedFrom(const __TCBaseData*) {}

bool __TCBaseData::Save() {
  if (GetLoadedSize() == 0 || !data_) return false;
  return TX_SaveEData(GetTag(), &address_, data_, GetLoadedSize(), GetDataVersion()) != 0;
}

bool __TCBaseData::Reload() {
  if (GetLoadedSize() == 0) return false;
  return LoadData();
}

bool __TCBaseData::DeleteData() { return TX_DeleteEData(GetTag(), &address_, GetDataVersion()) != 0; }

bool __TCBaseData::Delete() { return DeleteData(); }

bool __TCBaseData::LoadFirst() { return false; }

bool __TCBaseData::LoadNext() {
  if (TX_NextEData(GetTag(), &address_, 0, 0, GetDataVersion()) == 0) {
    loadedSize_ = 0;
    return false;
  }
  return LoadData();
}

bool __TCBaseData::LoadData() {
  if (data_ && IsDynamicSize()) {
    FreeDynamicData();
    data_ = nullptr;
    loadedSize_ = 0;
  }
  if (!data_) data_ = static_cast<uint8_t*>(GetDataPointer());
  int32_t capacity = GetDataSize();
  // The host is never handed more room than the buffer has.
  if (capacity > GetBufferCapacity()) capacity = GetBufferCapacity();
  if (!data_ || capacity <= 0) {
    loadedSize_ = 0;
    return false;
  }
  int32_t size = capacity;
  int16_t result = TX_LoadEData(GetTag(), &address_, data_, &size, GetDataVersion());
  if (result == 0 || size < 0) {
    loadedSize_ = 0;
    return false;
  }
  loadedSize_ = size > capacity ? capacity : size;
  return true;
}

void __TCBaseData::CopyAddressFrom(const __TCBaseData* other) {
  if (other) address_ = other->address_;
}

namespace {

template <typename T>
T ReadAddress(const TXAddress& address, size_t offset) {
  T value;
  std::memcpy(&value, address.bytes + offset, sizeof(T));
  return value;
}

template <typename T>
void WriteAddress(TXAddress* address, size_t offset, T value) {
  std::memcpy(address->bytes + offset, &value, sizeof(T));
}

}  // namespace

int16_t __TCBaseData::GetAddressFirst() const { return ReadAddress<int16_t>(address_, 0); }
int16_t __TCBaseData::GetAddressSecond() const { return ReadAddress<int16_t>(address_, 2); }
int16_t __TCBaseData::GetAddressThird() const { return ReadAddress<int16_t>(address_, 4); }
int32_t __TCBaseData::GetAddressPosition() const { return ReadAddress<int32_t>(address_, 4); }
void __TCBaseData::SetAddressFirst(int16_t value) { WriteAddress(&address_, 0, value); }
void __TCBaseData::SetAddressSecond(int16_t value) { WriteAddress(&address_, 2, value); }
void __TCBaseData::SetAddressThird(int16_t value) { WriteAddress(&address_, 4, value); }
void __TCBaseData::SetAddressPosition(int32_t value) { WriteAddress(&address_, 4, value); }
void __TCBaseData::ClearAddress() { address_ = TXAddress{}; }
