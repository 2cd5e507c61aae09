// How closely the notes of a region keep to a key: the share of its notes
// that one major scale holds (its relative minor's notes are the same),
// passage by passage on each staff. Tonal music, however chromatic, keeps
// most notes of a few measures within one scale; music that keeps to no key
// spreads them over all twelve pitch classes, where even notes at random
// fit one scale seven times in twelve.
#pragma once

#include <array>
#include <cstdint>
#include <map>

class TCString;

class ScaleFit {
 public:
  // Notes with a pitch class outside 0 to 11 are left out.
  void AddNote(int32_t measure, int32_t staff, int32_t pitchClass);
  // The median, over the passages of five measures that hold enough notes,
  // of the share the best scale of each staff holds; -1 when no passage
  // holds enough notes to judge.
  double MedianShare() const;
  // Whether the region keeps to no key: its typical passage fits one scale
  // with fewer than 72 notes in 100. Tonal music stays well above this even
  // in its chromatic passages, which last a few measures, not a piece.
  bool KeepsToNoKey() const;

  // 0 (C) to 11 (B) from a pitch name such as "F#4" or "Ebb2"; -1 for a
  // name without a letter.
  static int32_t PitchClassOfName(const TCString* name);

 private:
  using PitchClassCounts = std::array<uint32_t, 12>;
  // Notes per staff, per measure, per pitch class.
  std::map<int32_t, std::map<int32_t, PitchClassCounts>> staves_;
};
