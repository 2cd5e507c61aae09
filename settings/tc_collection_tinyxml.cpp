#include "settings/tc_collection_tinyxml.h"

#include <tinyxml2.h>

bool __TCCollectionTinyXML::SaveElementsToXml(tinyxml2::XMLElement* parent) const {
  tinyxml2::XMLDocument* document = parent ? parent->GetDocument() : nullptr;
  if (!document) return false;
  parent->DeleteChildren();
  for (int32_t index = 0; index < GetCount(); ++index) {
    const __TCBase* element = GetItemAt(index);
    if (!element) continue;
    tinyxml2::XMLElement* child = document->NewElement(GetChildElementName());
    parent->InsertEndChild(child);
    child->SetAttribute("CollectionIdx", index + 1);
    element->SaveToXml(child);
  }
  return true;
}

int32_t __TCCollectionTinyXML::LoadElementsFromXml(const tinyxml2::XMLElement* parent) {
  ClearAll();
  if (!parent) return 0;
  const char* childName = GetChildElementName();
  // Room for every child at once: added one by one, a collection grows ten
  // slots at a time, and a file of half a million profiles took minutes.
  int32_t children = 0;
  for (const tinyxml2::XMLElement* child = parent->FirstChildElement(childName); child;
       child = child->NextSiblingElement(childName)) {
    ++children;
  }
  Grow(children);
  for (const tinyxml2::XMLElement* child = parent->FirstChildElement(childName); child;
       child = child->NextSiblingElement(childName)) {
    __TCBase* element = CreateElement();
    if (!element) continue;
    if (element->LoadFromXml(child)) {
      Add(element);
    } else {
      delete element;
    }
  }
  return GetCount();
}
