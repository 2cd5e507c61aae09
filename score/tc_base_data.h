// One host document record: its type tag, its address, its bytes and the
// number of bytes the host gave at the last load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "framework/tc_base.h"
#include "shell/tx_api.h"

// The layout version of records whose layout never changed.
constexpr uint32_t kDefaultDataVersion = 0x12050000;

// A record class with a fixed layout passes its own buffer (room for its
// largest layout) at construction; TCRawText passes none and manages its own.
class __TCBaseData : public __TCBase {
 public:
  __TCBaseData(uint8_t* fixedBuffer, int32_t fixedCapacity);
  ~__TCBaseData() override;

  const char* ClassName() const override { return "__TCBaseData"; }

  // Where the record's bytes live: the fixed buffer unless a class says otherwise.
  virtual void* GetDataPointer();
  virtual void FreeDynamicData();
  virtual bool IsDynamicSize() const;
  // A new, empty object of the same class; the caller owns it.
  virtual __TCBaseData* CreateObject() const = 0;
  virtual uint32_t GetTag() const = 0;
  // Layout version passed with every load, save, create, delete and next call.
  virtual uint32_t GetDataVersion() const;
  // Record size in bytes for the layout in force.
  virtual int32_t GetDataSize() const = 0;
  virtual int32_t GetLoadedSize() const;
  // Copies the other record's bytes (same class only) and owned derived values.
  virtual void CloneFrom(const __TCBaseData* other);
  virtual bool Save();
  virtual bool Reload();
  virtual bool DeleteData();
  virtual bool Delete();
  virtual bool LoadFirst();
  virtual bool LoadNext();

  bool IsLoaded() const { return GetLoadedSize() != 0; }
  uint32_t GetContext() const { return context_; }
  void SetContext(uint32_t context) { context_ = context; }

  TXAddress* GetAddress() { return &address_; }
  const TXAddress& GetAddressBytes() const { return address_; }
  void SetAddress(const TXAddress& address) { address_ = address; }
  void CopyAddressFrom(const __TCBaseData* other);

  // The two 16-bit halves of the address's first four bytes, the 16-bit word
  // at bytes 4-5 and the 32-bit value at bytes 4-7.
  int16_t GetAddressFirst() const;
  int16_t GetAddressSecond() const;
  int16_t GetAddressThird() const;
  int32_t GetAddressPosition() const;
  void SetAddressFirst(int16_t value);
  void SetAddressSecond(int16_t value);
  void SetAddressThird(int16_t value);
  void SetAddressPosition(int32_t value);
  void ClearAddress();

 protected:
  // The common load step at the current address.
  bool LoadData();
  // Marks a record that is meant to be created from scratch as saveable.
  void SetLoadedSize(int32_t size) { loadedSize_ = size; }
  // Copies of derived values that CloneFrom carries besides the bytes.
  virtual void CloneDerivedFrom(const __TCBaseData* other);
  // Bytes that data currently has room for.
  virtual int32_t GetBufferCapacity() const;

  // Typed field access; reads outside the buffer give 0, writes are dropped.
  template <typename T>
  T ReadField(size_t offset) const {
    T value{};
    if (data_ && offset + sizeof(T) <= static_cast<size_t>(GetBufferCapacity())) {
      std::memcpy(&value, data_ + offset, sizeof(T));
    }
    return value;
  }
  template <typename T>
  void WriteField(size_t offset, T value) {
    if (data_ && offset + sizeof(T) <= static_cast<size_t>(GetBufferCapacity())) {
      std::memcpy(data_ + offset, &value, sizeof(T));
    }
  }

  uint8_t* GetData() const { return data_; }
  void SetData(uint8_t* data) { data_ = data; }

 private:
  uint8_t* fixedBuffer_;
  int32_t fixedCapacity_;
  uint32_t context_ = 0;
  uint8_t* data_ = nullptr;
  int32_t loadedSize_ = 0;
  TXAddress address_{};
};
