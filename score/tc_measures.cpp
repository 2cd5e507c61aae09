#include "score/tc_measures.h"

#include "score/tc_music_region.h"

int32_t TCMeasures::LoadRegion(const TCMusicRegion* region) {
  ClearAll();
  if (!region) return 0;
  __TCBaseData* prototype = CreatePrototype();
  if (!prototype) return 0;
  auto* measure = static_cast<TCMeasure*>(prototype);
  for (int32_t number = region->GetStartMeasure(); number <= region->GetEndMeasure(); ++number) {
    if (measure->Load(static_cast<int16_t>(number))) AddCopyOf(measure);
  }
  delete prototype;
  return GetCount();
}

TCMeasure* TCMeasures::FindMeasure(int32_t number) const {
  for (int32_t i = 0; i < GetCount(); ++i) {
    TCMeasure* measure = GetMeasureAt(i);
    if (measure && measure->GetNumber() == number) return measure;
  }
  return nullptr;
}
