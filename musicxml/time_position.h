// A point in time inside a measure, kept exactly as a fraction of a quarter
// note, so that tuplets in one voice and another meet on the same host
// position however their durations were divided.
#pragma once

#include <cstdint>

namespace musicxml {

class TimePosition {
 public:
  // Host duration units per quarter note.
  static constexpr int64_t kUnitsPerQuarter = 1024;
  // Positions and durations beyond this many quarters are refused: they would
  // not fit the host's 32-bit positions.
  static constexpr int64_t kMaxQuarters = 1 << 20;

  TimePosition() = default;

  // Moves by count divisions of a quarter note (negative moves back). False,
  // leaving the position unchanged, when divisions is not positive or the
  // result would leave the range 0 to kMaxQuarters; a move back past 0 stops
  // at 0 and answers false.
  bool Advance(int64_t count, int64_t divisions);
  void Reset();

  // The position in host units, rounded to the nearest unit.
  int32_t ToUnits() const;
  bool IsZero() const { return numerator_ == 0; }

  bool operator==(const TimePosition& other) const;
  bool operator!=(const TimePosition& other) const { return !(*this == other); }

  // A duration of count divisions in host units, rounded; -1 when it is out of range.
  static int32_t DurationToUnits(int64_t count, int64_t divisions);

 private:
  void Normalize();

  int64_t numerator_ = 0;    // quarter notes times denominator_
  int64_t denominator_ = 1;  // always positive
};

}  // namespace musicxml
