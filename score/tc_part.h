// The score (part 0) or one of its linked parts ("otpD"), with the switch that
// makes it the host's current part and restores the previous one.
#pragma once

#include <cstdint>

#include "framework/tc_string.h"
#include "score/tc_record_families.h"

class TCPart : public __TCNoInciOther {
 public:
  static constexpr uint32_t kTag = 0x6F747044;
  static constexpr int16_t kNotSwitched = -2;

  // -1: the part the host shows now. The document is the current one.
  explicit TCPart(int16_t partNumber);

  const char* ClassName() const override { return "TCPart"; }
  // Same part number of the same document.
  bool IsSameClass(const __TCBase* other) const override;
  __TCBaseData* CreateObject() const override;
  uint32_t GetTag() const override { return kTag; }
  int32_t GetDataSize() const override { return sizeof(buffer_); }

  // Load(part number)
  bool LoadPart() { return Load(partNumber_); }
  int16_t GetPartNumber() const { return partNumber_; }
  int16_t GetDocumentNumber() const { return documentNumber_; }
  bool IsScore() const { return partNumber_ == 0; }
  // Only in the part's own document; a pending switch is not repeated.
  void SwitchTo();
  void SwitchBack();
  bool IsSwitched() const { return previousPart_ != kNotSwitched; }
  TCString* GetName() { return &name_; }

 private:
  bool IsInCurrentDocument() const;

  uint8_t buffer_[12] = {};
  int16_t partNumber_;
  int16_t documentNumber_;
  int16_t previousPart_ = kNotSwitched;
  TCString name_;
};
