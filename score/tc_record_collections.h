// Collections of host records that load every record of their type through a
// prototype element.
#pragma once

#include <cstdint>

#include "framework/tc_collection.h"
#include "score/tc_base_data.h"

class __TCCollectionData : public __TCCollection {
 public:
  const char* ClassName() const override { return "__TCCollectionData"; }

  // A new, empty element of the collection's record class; the caller owns it.
  virtual __TCBaseData* CreateElement() = 0;
  // Clears, then every record of the type in the host's order; the new count.
  virtual int32_t LoadAll();
  // Saves every element in order; false at the first failure.
  virtual bool SaveAll();

  // Copied into every element loaded through a prototype and before each save.
  uint32_t GetContext() const { return context_; }
  void SetContext(uint32_t context) { context_ = context; }
  __TCBaseData* GetDataAt(int32_t index) const { return ItemAs<__TCBaseData>(*this, index); }

 protected:
  // CreateElement with the collection's context, or null.
  __TCBaseData* CreatePrototype();
  // Adds a loaded copy of the prototype (its address and bytes).
  void AddCopyOf(const __TCBaseData* prototype);

 private:
  uint32_t context_ = 0;
};

class __TCCollectionNoInciOther : public __TCCollectionData {
 public:
  const char* ClassName() const override { return "__TCCollectionNoInciOther"; }
};

class __TCCollectionInciOther : public __TCCollectionData {
 public:
  const char* ClassName() const override { return "__TCCollectionInciOther"; }
};

class __TCCollectionDetail : public __TCCollectionData {
 public:
  const char* ClassName() const override { return "__TCCollectionDetail"; }
};

class __TCCollectionNoInciDetail : public __TCCollectionDetail {
 public:
  const char* ClassName() const override { return "__TCCollectionNoInciDetail"; }
};
