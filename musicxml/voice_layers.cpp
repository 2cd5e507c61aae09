#include "musicxml/voice_layers.h"

namespace musicxml {

VoiceLayers::VoiceLayers(int staffCount)
    : lastLayers_(static_cast<size_t>(staffCount)), measureLayers_(static_cast<size_t>(staffCount)) {}

void VoiceLayers::StartMeasure(const std::vector<StaffVoices>& voices) {
  for (size_t staff = 0; staff < measureLayers_.size(); ++staff) {
    measureLayers_[staff].clear();
    if (staff >= voices.size()) continue;
    AssignVoices(staff, voices[staff].withNotes);
    AssignVoices(staff, voices[staff].restsOnly);
  }
}

void VoiceLayers::AssignVoices(size_t staff, const std::vector<std::string>& voices) {
  std::map<std::string, int>& layers = measureLayers_[staff];
  std::map<std::string, int>& last = lastLayers_[staff];
  bool taken[kLayerCount + 1] = {};
  for (const auto& assigned : layers) taken[assigned.second] = true;
  // Voices that come back first take their earlier layers, then the others
  // take the free layers from the lowest up, in order of appearance.
  for (const std::string& voice : voices) {
    auto found = last.find(voice);
    if (found == last.end() || taken[found->second]) continue;
    taken[found->second] = true;
    layers[voice] = found->second;
  }
  for (const std::string& voice : voices) {
    if (layers.count(voice)) continue;
    for (int layer = 1; layer <= kLayerCount; ++layer) {
      if (taken[layer]) continue;
      taken[layer] = true;
      layers[voice] = layer;
      break;
    }
  }
  for (const auto& assigned : layers) last[assigned.first] = assigned.second;
}

int VoiceLayers::LayerOf(int staffInPart, const std::string& voice) const {
  if (staffInPart < 1 || static_cast<size_t>(staffInPart) > measureLayers_.size()) return 0;
  const std::map<std::string, int>& layers = measureLayers_[static_cast<size_t>(staffInPart) - 1];
  auto found = layers.find(voice);
  return found == layers.end() ? 0 : found->second;
}

}  // namespace musicxml
