// A text block ("SOTX"): where a text lives and how it is shown.
#pragma once

#include <cstdint>

#include "score/tc_record_families.h"

class TCString;

class TCTextBlock : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x534F5458;
  static constexpr uint16_t kKindBlock = 0x626C;  // "bl"
  static constexpr uint16_t kNewBlockFlags = 0x1A08;
  static constexpr int16_t kNewBlockValue = 100;

  // A new block, saveable from scratch.
  TCTextBlock();

  const char* ClassName() const override { return "TCTextBlock"; }
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }
  // Deletes the raw text first; the result is that of the block's deletion.
  bool Delete() override;

  // Address of the raw text: number in the low half, inci in the high half.
  uint32_t GetRawTextAddress() const;
  void SetRawTextAddress(uint32_t numberAndInci);
  int16_t GetValue8() const;
  uint16_t GetFlags() const;
  void SetFlags(uint16_t flags);
  uint16_t GetTextKind() const;
  void SetTextKind(uint16_t kind);
  // A new string owned by the caller; empty when the text cannot be loaded.
  TCString* GetRawText() const;

 private:
  uint8_t buffer_[26] = {};
};
