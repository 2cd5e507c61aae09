// A hash index over the values of an ordered map. The host's stores keep
// their records in address order for stepping and comparing, but most calls
// look one record up; through the index a look-up costs the same however
// large the score grows. The map's owner reports each key it adds or erases.
// A copy starts empty and is made on its first look-up, since its pointers
// would name the values of the other map; a move keeps them, as the map's
// values move with it.
#pragma once

#include <map>
#include <unordered_map>

namespace headless {

template <typename Key, typename Value, typename Hash>
class MapIndex {
 public:
  using Map = std::map<Key, Value>;

  MapIndex() = default;
  MapIndex(const MapIndex&) {}
  MapIndex& operator=(const MapIndex&) {
    Forget();
    return *this;
  }
  MapIndex(MapIndex&&) noexcept = default;
  MapIndex& operator=(MapIndex&&) noexcept = default;
  ~MapIndex() = default;

  // The map's value under the key, or null.
  const Value* Find(const Map& map, const Key& key) const {
    if (!made_) Make(map);
    auto found = values_.find(key);
    return found == values_.end() ? nullptr : found->second;
  }
  void Added(const Key& key, const Value* value) {
    if (made_) values_[key] = value;
  }
  void Erased(const Key& key) {
    if (made_) values_.erase(key);
  }
  void Forget() {
    values_.clear();
    made_ = false;
  }

 private:
  void Make(const Map& map) const {
    values_.reserve(map.size());
    for (const auto& [key, value] : map) values_.emplace(key, &value);
    made_ = true;
  }

  mutable std::unordered_map<Key, const Value*, Hash> values_;
  mutable bool made_ = false;
};

}  // namespace headless
