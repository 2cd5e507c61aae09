#include "score/tc_text_block.h"

#include "framework/tc_string.h"
#include "score/tc_raw_text.h"

namespace {

constexpr size_t kRawTextAddressOffset = 0;
constexpr size_t kValue8Offset = 8;
constexpr size_t kFlagsOffset = 14;
constexpr size_t kTextKindOffset = 24;

}  // namespace

TCTextBlock::TCTextBlock() : __TCNoInciOther(buffer_, sizeof(buffer_)) {
  WriteField<int16_t>(kValue8Offset, kNewBlockValue);
  SetFlags(kNewBlockFlags);
  SetTextKind(kKindBlock);
  SetLoadedSize(sizeof(buffer_));
}

__TCBaseData* TCTextBlock::CreateObject() const { return new TCTextBlock(); }

uint32_t TCTextBlock::GetRawTextAddress() const { return ReadField<uint32_t>(kRawTextAddressOffset); }

void TCTextBlock::SetRawTextAddress(uint32_t numberAndInci) {
  WriteField<uint32_t>(kRawTextAddressOffset, numberAndInci);
}

int16_t TCTextBlock::GetValue8() const { return ReadField<int16_t>(kValue8Offset); }

uint16_t TCTextBlock::GetFlags() const { return ReadField<uint16_t>(kFlagsOffset); }

void TCTextBlock::SetFlags(uint16_t flags) { WriteField<uint16_t>(kFlagsOffset, flags); }

uint16_t TCTextBlock::GetTextKind() const { return ReadField<uint16_t>(kTextKindOffset); }

void TCTextBlock::SetTextKind(uint16_t kind) { WriteField<uint16_t>(kTextKindOffset, kind); }

TCString* TCTextBlock::GetRawText() const {
  TCRawText text;
  text.SetContext(TCRawText::TagForKind(GetTextKind()));
  text.SetNumber(GetRawTextAddress());
  text.Load();
  return text.GetText();
}

bool TCTextBlock::Delete() {
  TCRawText text;
  text.SetContext(TCRawText::TagForKind(GetTextKind()));
  text.SetNumber(GetRawTextAddress());
  text.Load();
  text.DeleteData();
  return DeleteData();
}
