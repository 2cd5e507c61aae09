#include "framework/tc_collection.h"

#include <algorithm>

bool TCIteratorHandler::Iterate(__TCBase*) { return true; }
bool TCIteratorHandler::Hook6(__TCBase*) { return false; }
bool TCIteratorHandler::IterateIndex(__TCBase*, int32_t) { return true; }
bool TCIteratorHandler::IsMatch(__TCBase*) { return false; }
int32_t TCIteratorHandler::Compare(__TCBase*, __TCBase*) { return 0; }
bool TCIteratorHandler::Hook10(__TCBase*) { return true; }
bool TCIteratorHandler::Hook11(__TCBase*) { return true; }
void TCIteratorHandler::Hook12(__TCBase*) {}
void TCIteratorHandler::Hook13(__TCBase*) {}

__TCCollection::~__TCCollection() {
  ClearAll();
  ReleaseSlots();
}

void __TCCollection::ReleaseSlots() {
  if (items_ != inlineSlots_) delete[] items_;
  items_ = nullptr;
}

int32_t __TCCollection::ForEach(TCIteratorHandler* handler) {
  if (!handler) return 0;
  int32_t visited = 0;
  for (int32_t i = 0; i < count_; ++i) {
    if (!items_[i]) continue;
    if (!handler->Iterate(items_[i])) break;
    ++visited;
  }
  return visited;
}

__TCBase* __TCCollection::FindFirst(TCIteratorHandler* handler) {
  if (!handler) return nullptr;
  for (int32_t i = 0; i < count_; ++i) {
    if (items_[i] && handler->IsMatch(items_[i])) return items_[i];
  }
  return nullptr;
}

int32_t __TCCollection::ForEachIndex(TCIteratorHandler* handler) {
  if (!handler) return 0;
  int32_t visited = 0;
  for (int32_t i = 0; i < count_; ++i) {
    if (!items_[i]) continue;
    if (!handler->IterateIndex(items_[i], i)) break;
    ++visited;
  }
  return visited;
}

void __TCCollection::Grow(int32_t added) {
  if (capacity_ >= count_ + added) return;
  int32_t capacity = ((count_ + added + 10) / 10) * 10;
  // Only the first growth of an empty collection takes the inline slots.
  __TCBase** items = capacity <= kInlineSlots ? inlineSlots_ : new __TCBase*[capacity]();
  for (int32_t i = 0; i < count_; ++i) items[i] = items_[i];
  ReleaseSlots();
  items_ = items;
  capacity_ = capacity;
}

void __TCCollection::Add(__TCBase* element) {
  Grow(1);
  items_[count_++] = element;
}

int32_t __TCCollection::IndexOf(const __TCBase* element) const {
  for (int32_t i = 0; i < count_; ++i) {
    if (items_[i] == element) return i;
  }
  return -1;
}

__TCBase* __TCCollection::DetachAt(int32_t index) {
  if (index < 0 || index >= count_) return nullptr;
  __TCBase* element = items_[index];
  for (int32_t i = index; i + 1 < count_; ++i) items_[i] = items_[i + 1];
  items_[--count_] = nullptr;
  return element;
}

bool __TCCollection::RemoveAt(int32_t index) {
  if (index < 0 || index >= count_) return false;
  delete DetachAt(index);
  return true;
}

void __TCCollection::DetachAll() {
  for (int32_t i = 0; i < count_; ++i) items_[i] = nullptr;
  count_ = 0;
}

void __TCCollection::ClearAll() {
  for (int32_t i = 0; i < count_; ++i) {
    __TCBase* element = items_[i];
    items_[i] = nullptr;
    delete element;
  }
  count_ = 0;
}

bool __TCCollection::Sort(TCIteratorHandler* handler) {
  if (!handler) return false;
  bool moved = false;
  for (int32_t i = 0; i + 1 < count_; ++i) {
    for (int32_t j = i + 1; j < count_; ++j) {
      if (items_[i] && items_[j] && handler->Compare(items_[i], items_[j]) > 0) {
        __TCBase* swap = items_[i];
        items_[i] = items_[j];
        items_[j] = swap;
        moved = true;
      }
    }
  }
  return moved;
}

void __TCCollection::SortStably(TCIteratorHandler* handler) {
  if (!handler) return;
  std::stable_sort(items_, items_ + count_, [handler](__TCBase* first, __TCBase* second) {
    if (!first || !second) return first && !second;
    return handler->Compare(first, second) < 0;
  });
}
