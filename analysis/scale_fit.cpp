#include "analysis/scale_fit.h"

#include <algorithm>
#include <vector>

#include "framework/tc_string.h"

namespace {

// Measures on each side of a passage's middle measure.
constexpr int32_t kPassageReach = 2;
// A passage with fewer notes says too little about a key.
constexpr uint32_t kPassageNotes = 20;
constexpr double kKeylessShare = 0.72;
constexpr int32_t kMajorScale[] = {0, 2, 4, 5, 7, 9, 11};

uint32_t NotesInBestScale(const std::array<uint32_t, 12>& counts) {
  uint32_t best = 0;
  for (int32_t tonic = 0; tonic < 12; ++tonic) {
    uint32_t inScale = 0;
    for (int32_t step : kMajorScale) inScale += counts[static_cast<size_t>((tonic + step) % 12)];
    best = std::max(best, inScale);
  }
  return best;
}

int32_t SemitonesOfLetter(char16_t letter) {
  switch (letter) {
    case u'C':
      return 0;
    case u'D':
      return 2;
    case u'E':
      return 4;
    case u'F':
      return 5;
    case u'G':
      return 7;
    case u'A':
      return 9;
    case u'B':
      return 11;
    default:
      return -1;
  }
}

}  // namespace

void ScaleFit::AddNote(int32_t measure, int32_t staff, int32_t pitchClass) {
  if (pitchClass < 0 || pitchClass > 11) return;
  ++staves_[staff][measure][static_cast<size_t>(pitchClass)];
}

double ScaleFit::MedianShare() const {
  if (staves_.empty()) return -1;
  int32_t first = staves_.begin()->second.begin()->first;
  int32_t last = first;
  for (const auto& staff : staves_) {
    first = std::min(first, staff.second.begin()->first);
    last = std::max(last, staff.second.rbegin()->first);
  }
  std::vector<double> shares;
  for (int32_t middle = first; middle <= last; ++middle) {
    uint32_t notes = 0;
    uint32_t inScale = 0;
    for (const auto& staff : staves_) {
      PitchClassCounts passage{};
      auto end = staff.second.upper_bound(middle + kPassageReach);
      for (auto measure = staff.second.lower_bound(middle - kPassageReach); measure != end; ++measure) {
        for (size_t pitchClass = 0; pitchClass < passage.size(); ++pitchClass) {
          passage[pitchClass] += measure->second[pitchClass];
          notes += measure->second[pitchClass];
        }
      }
      inScale += NotesInBestScale(passage);
    }
    if (notes >= kPassageNotes) shares.push_back(static_cast<double>(inScale) / notes);
  }
  if (shares.empty()) return -1;
  auto median = shares.begin() + static_cast<std::ptrdiff_t>(shares.size() / 2);
  std::nth_element(shares.begin(), median, shares.end());
  return *median;
}

bool ScaleFit::KeepsToNoKey() const {
  double share = MedianShare();
  return share >= 0 && share < kKeylessShare;
}

int32_t ScaleFit::PitchClassOfName(const TCString* name) {
  if (!name || name->GetLength() == 0) return -1;
  int32_t semitones = SemitonesOfLetter(name->GetCharAt(0));
  if (semitones < 0) return -1;
  for (int32_t i = 1; i < static_cast<int32_t>(name->GetLength()); ++i) {
    char16_t sign = name->GetCharAt(i);
    if (sign == u'#') {
      ++semitones;
    } else if (sign == u'b') {
      --semitones;
    } else if (sign == u'x') {
      semitones += 2;
    } else {
      break;
    }
  }
  return ((semitones % 12) + 12) % 12;
}
