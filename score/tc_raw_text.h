// The text of a text block: a record of the size the host says, tagged
// 0x7478 ("tx") in the high half and the text kind in the low half.
#pragma once

#include <cstdint>

#include "score/tc_base_data.h"

class TCString;

class TCRawText : public __TCBaseData {
 public:
  static constexpr uint32_t kDefaultTag = 0x7478626C;  // "txbl"
  static constexpr uint32_t kTagHigh = 0x74780000;
  // Larger texts than this are refused rather than allocated.
  static constexpr int32_t kMaxSize = 1 << 20;

  TCRawText();
  ~TCRawText() override;

  const char* ClassName() const override { return "TCRawText"; }
  void* GetDataPointer() override;
  void FreeDynamicData() override;
  bool IsDynamicSize() const override { return true; }
  __TCBaseData* CreateObject() const override;
  // The context when set, else "txbl".
  uint32_t GetTag() const override;
  // The host version itself.
  uint32_t GetDataVersion() const override;
  // Asks the host for the size of the text at the current address; 0 on failure.
  int32_t GetDataSize() const override;
  // Copies the other text's bytes of its loaded size.
  void CloneFrom(const __TCBaseData* other) override;
  // number 0, then the host's next text
  bool LoadFirst() override;

  // Number and inci as one 32-bit value (number in the low half), no load.
  virtual void SetNumber(uint32_t numberAndInci);
  // UTF-16 for hosts above 0x10FFFFFF, 8-bit text before.
  virtual bool IsUTF16() const;
  virtual uint32_t GetNumber() const;
  // Loads the text at the address SetNumber gave.
  bool Load() { return LoadData(); }

  // A new string owned by the caller; empty when nothing is loaded.
  TCString* GetText() const;
  // Builds the tag of a text kind.
  static uint32_t TagForKind(uint16_t kind) { return kTagHigh | kind; }

 protected:
  int32_t GetBufferCapacity() const override { return capacity_; }

 private:
  void AllocateBuffer(int32_t size);

  uint8_t* buffer_ = nullptr;
  int32_t capacity_ = 0;
};
