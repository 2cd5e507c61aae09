// Which host layer each MusicXML voice of a staff takes, measure by measure.
// A file may use any number of voice numbers over a piece; the host has four
// layers per staff, so only a measure that holds more than four voices on one
// staff loses any. A voice keeps the layer it had before while that layer is
// free, so that layer comparisons keep comparing a voice with itself.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace musicxml {

class VoiceLayers {
 public:
  static constexpr int kLayerCount = 4;

  explicit VoiceLayers(int staffCount = 0);

  // The voices of one staff in a measure, in the order they first appear.
  // A voice that holds only rests yields its layer to voices with notes.
  struct StaffVoices {
    std::vector<std::string> withNotes;
    std::vector<std::string> restsOnly;
  };

  // Assigns the layers of a measure; voices[s] are the voices of staff s + 1.
  void StartMeasure(const std::vector<StaffVoices>& voices);

  // The layer (1 to 4) of a voice on a staff (1-based) in the current
  // measure; 0 when the measure has no layer left for it.
  int LayerOf(int staffInPart, const std::string& voice) const;

 private:
  void AssignVoices(size_t staff, const std::vector<std::string>& voices);

  // Per staff: the layer each voice had when it was last seen.
  std::vector<std::map<std::string, int>> lastLayers_;
  // Per staff: the layers of the current measure.
  std::vector<std::map<std::string, int>> measureLayers_;
};

}  // namespace musicxml
