// A collection whose elements are stored as the child elements of one XML
// element, one child per element in collection order.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"

namespace tinyxml2 {
class XMLElement;
}

class __TCCollectionTinyXML : public __TCCollection {
 public:
  const char* ClassName() const override { return "__TCCollectionTinyXML"; }
  // A new element with the defaults of its class, owned by the caller.
  virtual __TCBase* CreateElement() = 0;
  // Name of the child element that holds one element.
  virtual const char* GetChildElementName() const = 0;

  // Replaces the children of parent by one child per element, each with its
  // 1-based position as CollectionIdx followed by what the element saves.
  // False for a null parent.
  bool SaveElementsToXml(tinyxml2::XMLElement* parent) const;
  // Clears the collection, then appends one element per child of the child
  // name that loads, in document order; returns the new count.
  int32_t LoadElementsFromXml(const tinyxml2::XMLElement* parent);
};
