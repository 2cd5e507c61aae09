#include "score/tc_raw_text.h"

#include <cstring>
#include <vector>

#include "framework/tc_string.h"
#include "shell/host_version.h"

namespace {

constexpr uint32_t kUTF16Threshold = 0x10FFFFFF;

}  // namespace

TCRawText::TCRawText() : __TCBaseData(nullptr, 0) {}

TCRawText::~TCRawText() { FreeDynamicData(); }

void TCRawText::AllocateBuffer(int32_t size) {
  delete[] buffer_;
  buffer_ = size > 0 ? new uint8_t[static_cast<size_t>(size)]() : nullptr;
  capacity_ = buffer_ ? size : 0;
  SetData(buffer_);
}

void* TCRawText::GetDataPointer() {
  if (!buffer_) AllocateBuffer(GetDataSize());
  return buffer_;
}

void TCRawText::FreeDynamicData() {
  delete[] buffer_;
  buffer_ = nullptr;
  capacity_ = 0;
  SetData(nullptr);
  SetLoadedSize(0);
}

__TCBaseData* TCRawText::CreateObject() const { return new TCRawText(); }

uint32_t TCRawText::GetTag() const { return GetContext() != 0 ? GetContext() : kDefaultTag; }

uint32_t TCRawText::GetDataVersion() const { return GetHostVersion(); }

int32_t TCRawText::GetDataSize() const {
  TXAddress address = GetAddressBytes();
  int32_t size = 0;
  if (TX_LoadEData(GetTag(), &address, nullptr, &size, GetDataVersion()) == 0) return 0;
  if (size <= 0 || size > kMaxSize) return 0;
  return size;
}

void TCRawText::CloneFrom(const __TCBaseData* other) {
  if (!other || other == this || std::strcmp(other->ClassName(), ClassName()) != 0) return;
  const auto* text = static_cast<const TCRawText*>(other);
  int32_t size = text->GetLoadedSize();
  if (size <= 0 || !text->buffer_ || size > text->capacity_) return;
  AllocateBuffer(size);
  std::memcpy(buffer_, text->buffer_, static_cast<size_t>(size));
  SetLoadedSize(size);
}

bool TCRawText::LoadFirst() {
  SetNumber(0);
  return LoadNext();
}

void TCRawText::SetNumber(uint32_t numberAndInci) {
  ClearAddress();
  SetAddressFirst(static_cast<int16_t>(numberAndInci & 0xFFFF));
  SetAddressSecond(static_cast<int16_t>(numberAndInci >> 16));
}

bool TCRawText::IsUTF16() const { return GetHostVersion() > kUTF16Threshold; }

uint32_t TCRawText::GetNumber() const {
  return static_cast<uint16_t>(GetAddressFirst()) |
         (static_cast<uint32_t>(static_cast<uint16_t>(GetAddressSecond())) << 16);
}

TCString* TCRawText::GetText() const {
  auto* text = new TCString();
  int32_t size = GetLoadedSize();
  if (size <= 0 || !buffer_ || size > capacity_) return text;
  // The host's text need not be terminated within its size.
  if (IsUTF16()) {
    std::vector<char16_t> units(static_cast<size_t>(size) / 2 + 1, 0);
    std::memcpy(units.data(), buffer_, (static_cast<size_t>(size) / 2) * 2);
    text->SetUTF16(units.data());
  } else {
    std::vector<char> bytes(static_cast<size_t>(size) + 1, 0);
    std::memcpy(bytes.data(), buffer_, static_cast<size_t>(size));
    text->SetCString(bytes.data());
  }
  return text;
}
