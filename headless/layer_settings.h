// How many layers the host has and which of them it shows.
#pragma once

#include <vector>

namespace headless {

class LayerSettings {
 public:
  LayerSettings();

  void SetMaxLayers(int count);               // TX_GetMaxLayers; default 4
  void SetShown(int layerIndex, bool shown);  // 0-based; default all shown
  int MaxLayers() const { return maxLayers_; }
  bool Shown(int layerIndex) const;
  // 4 layers, all shown.
  void Reset();

 private:
  int maxLayers_ = 4;
  std::vector<bool> shown_;
};

}  // namespace headless
