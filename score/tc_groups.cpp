#include "score/tc_groups.h"

namespace {

constexpr int32_t kMaxGroupNumber = 0x7FFF;

}  // namespace

int32_t TCGroups::LoadAllFor(int16_t firstNumber, int16_t start) {
  ClearAll();
  __TCBaseData* prototype = CreatePrototype();
  if (!prototype) return 0;
  auto* group = static_cast<TCGroup*>(prototype);
  for (int32_t number = start; number <= kMaxGroupNumber; ++number) {
    if (!group->Load(firstNumber, static_cast<int16_t>(number), 0)) break;
    AddCopyOf(group);
  }
  delete prototype;
  return GetCount();
}
