#include "headless/layer_settings.h"

#include <algorithm>
#include <cstddef>

namespace headless {

namespace {

constexpr int kDefaultLayers = 4;
constexpr int kMostLayers = 32;

}  // namespace

LayerSettings::LayerSettings() { Reset(); }

void LayerSettings::Reset() {
  maxLayers_ = kDefaultLayers;
  shown_.assign(kMostLayers, true);
}

void LayerSettings::SetMaxLayers(int count) { maxLayers_ = std::max(0, std::min(count, kMostLayers)); }

void LayerSettings::SetShown(int layerIndex, bool shown) {
  if (layerIndex >= 0 && layerIndex < kMostLayers) shown_[static_cast<size_t>(layerIndex)] = shown;
}

bool LayerSettings::Shown(int layerIndex) const {
  return layerIndex >= 0 && layerIndex < maxLayers_ && shown_[static_cast<size_t>(layerIndex)];
}

}  // namespace headless
