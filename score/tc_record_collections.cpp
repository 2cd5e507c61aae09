#include "score/tc_record_collections.h"

namespace {

// A host whose stepping never ends must not make the plug-in grow without end.
constexpr int32_t kMaxRecords = 100000;

}  // namespace

__TCBaseData* __TCCollectionData::CreatePrototype() {
  __TCBaseData* prototype = CreateElement();
  if (prototype) prototype->SetContext(context_);
  return prototype;
}

void __TCCollectionData::AddCopyOf(const __TCBaseData* prototype) {
  __TCBaseData* element = CreateElement();
  if (!element) return;
  element->SetContext(context_);
  element->CopyAddressFrom(prototype);
  element->CloneFrom(prototype);
  Add(element);
}

int32_t __TCCollectionData::LoadAll() {
  ClearAll();
  __TCBaseData* prototype = CreatePrototype();
  if (!prototype) return 0;
  if (prototype->LoadFirst()) {
    do {
      AddCopyOf(prototype);
    } while (GetCount() < kMaxRecords && prototype->LoadNext());
  }
  delete prototype;
  return GetCount();
}

bool __TCCollectionData::SaveAll() {
  for (int32_t i = 0; i < GetCount(); ++i) {
    __TCBaseData* element = GetDataAt(i);
    if (!element) continue;
    element->SetContext(context_);
    if (!element->Save()) return false;
  }
  return true;
}
