#include "framework/tc_base.h"

bool __TCBase::IsSameClass(const __TCBase* other) const {
  return other != nullptr && other->ClassName() == ClassName();
}

void __TCBase::SaveToXml(tinyxml2::XMLElement*) const {}

bool __TCBase::LoadFromXml(const tinyxml2::XMLElement*) { return false; }
