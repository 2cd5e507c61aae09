// The key signature that a cell of a staff with per-measure keys carries.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCIndependentCellDetail : public __TCNoInciCellDetail {
 public:
  static constexpr uint32_t kTag = 0x4402464C;
  static constexpr uint32_t kVersion = 0x06000000;
  static constexpr uint16_t kFlagHasKey = 0x0800;

  TCIndependentCellDetail() : __TCNoInciCellDetail(buffer_, sizeof(buffer_)) {}

  const char* ClassName() const override { return "TCIndependentCellDetail"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  uint32_t GetDataVersion() const override { return kVersion; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }
  // Always the record size: the record is made from scratch as often as loaded.
  int32_t GetLoadedSize() const override { return sizeof(buffer_); }

  uint16_t GetKeyValue() const;
  void SetKeyValue(uint16_t keyValue);
  uint16_t GetFlags() const;
  void SetFlags(uint16_t flags);
  bool HasOwnKey() const { return (GetFlags() & kFlagHasKey) != 0; }

 private:
  uint8_t buffer_[20] = {};
};
