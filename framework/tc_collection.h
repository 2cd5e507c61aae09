// Owning, ordered collections of framework objects and the handler objects
// that drive walks, searches and sorting over them.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

// The callback object of a walk. A handler is made by the caller for one walk
// and carries its own state.
class TCIteratorHandler : public __TCBase {
 public:
  const char* ClassName() const override { return "TCIteratorHandler"; }
  // false stops the walk
  virtual bool Iterate(__TCBase* element);
  virtual bool Hook6(__TCBase* element);
  virtual bool IterateIndex(__TCBase* element, int32_t index);
  virtual bool IsMatch(__TCBase* element);
  // negative when first comes before second, 0 when equal, positive after
  virtual int32_t Compare(__TCBase* first, __TCBase* second);
  virtual bool Hook10(__TCBase* element);
  virtual bool Hook11(__TCBase* element);
  virtual void Hook12(__TCBase* element);
  virtual void Hook13(__TCBase* element);
};

class __TCIteratorBase : public __TCBase {
 public:
  const char* ClassName() const override { return "__TCIteratorBase"; }
};

// Owns its elements: removing, clearing or destroying destroys them. Null
// slots are allowed and skipped by every walk.
class __TCCollection : public __TCIteratorBase {
 public:
  __TCCollection() = default;
  ~__TCCollection() override;

  const char* ClassName() const override { return "__TCCollection"; }
  // Number of elements visited; stops at the first Iterate that answers false.
  virtual int32_t ForEach(TCIteratorHandler* handler);
  virtual __TCBase* FindFirst(TCIteratorHandler* handler);
  virtual int32_t ForEachIndex(TCIteratorHandler* handler);

  int32_t GetCount() const { return count_; }
  int32_t GetCapacity() const { return capacity_; }
  // Null outside the collection.
  __TCBase* GetItemAt(int32_t index) const { return index >= 0 && index < count_ ? items_[index] : nullptr; }
  void Add(__TCBase* element);
  int32_t IndexOf(const __TCBase* element) const;
  bool RemoveAt(int32_t index);
  // Takes the element out without destroying it; the caller owns it then.
  __TCBase* DetachAt(int32_t index);
  // Takes every element out without destroying any; their owner is elsewhere.
  void DetachAll();
  void ClearAll();
  // Selection-style sort by the handler's Compare; true when anything moved.
  bool Sort(TCIteratorHandler* handler);
  // The same order by the handler's Compare, equal elements kept in their
  // order, in n log n comparisons where Sort takes n squared: for lists that
  // grow with the score. Null slots go last.
  void SortStably(TCIteratorHandler* handler);
  // Makes room for added more elements at once, by the same rule as Add;
  // nothing when there is room already.
  void Grow(int32_t added);

 private:
  void ReleaseSlots();

  int32_t count_ = 0;
  int32_t capacity_ = 0;
  __TCBase** items_ = nullptr;
  // The first ten slots live in the collection itself: most collections
  // (the notes of an entry above all, one per entry a scan reads) never
  // outgrow them.
  static constexpr int32_t kInlineSlots = 10;
  __TCBase* inlineSlots_[kInlineSlots] = {};
};

// Typed access for collections whose elements all have one class.
template <typename Element>
Element* ItemAs(const __TCCollection& collection, int32_t index) {
  return static_cast<Element*>(collection.GetItemAt(index));
}
