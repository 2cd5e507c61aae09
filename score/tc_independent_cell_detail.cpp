#include "score/tc_independent_cell_detail.h"

namespace {

constexpr size_t kKeyValueOffset = 0;
constexpr size_t kFlagsOffset = 8;

}  // namespace

__TCBaseData* TCIndependentCellDetail::CreateObject() const { return new TCIndependentCellDetail(); }

uint16_t TCIndependentCellDetail::GetKeyValue() const { return ReadField<uint16_t>(kKeyValueOffset); }

void TCIndependentCellDetail::SetKeyValue(uint16_t keyValue) { WriteField<uint16_t>(kKeyValueOffset, keyValue); }

uint16_t TCIndependentCellDetail::GetFlags() const { return ReadField<uint16_t>(kFlagsOffset); }

void TCIndependentCellDetail::SetFlags(uint16_t flags) { WriteField<uint16_t>(kFlagsOffset, flags); }
