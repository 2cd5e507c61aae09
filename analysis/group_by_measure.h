// Grouping by measure by counting, for the index of a group and the order a
// group is decided in.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// Items grouped by measure, in their order within each measure, by counting:
// a sort by measure costs a fixed amount per item however large the group.
// starts[m - first] is where measure m begins, with one more start at the
// end. False, and the items untouched, when the measures span more than a
// few times the number of items.
template <typename Item, typename MeasureOf>
bool GroupByMeasure(std::vector<Item>* items, MeasureOf measureOf, int32_t* first, std::vector<uint32_t>* starts) {
  starts->clear();
  if (items->empty()) return false;
  auto [low, high] = std::minmax_element(items->begin(), items->end(), [&](const Item& left, const Item& right) {
    return measureOf(left) < measureOf(right);
  });
  int64_t span = static_cast<int64_t>(measureOf(*high)) - measureOf(*low) + 1;
  if (span > 4 * static_cast<int64_t>(items->size()) + 64) return false;
  *first = measureOf(*low);
  starts->assign(static_cast<size_t>(span) + 1, 0);
  for (const Item& item : *items) ++(*starts)[static_cast<size_t>(measureOf(item) - *first) + 1];
  for (size_t m = 1; m < starts->size(); ++m) (*starts)[m] += (*starts)[m - 1];
  std::vector<uint32_t> next(starts->begin(), starts->end() - 1);
  std::vector<Item> grouped(items->size());
  for (Item& item : *items) grouped[next[static_cast<size_t>(measureOf(item) - *first)]++] = item;
  items->swap(grouped);
  return true;
}
