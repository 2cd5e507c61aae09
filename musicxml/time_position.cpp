#include "musicxml/time_position.h"

#include <numeric>

namespace musicxml {

namespace {

// Denominators grow to the least common multiple of the divisions in use;
// past this the fraction is rounded to it. The limits keep every product
// below 2^63.
constexpr int64_t kMaxDenominator = int64_t(1) << 24;
constexpr int64_t kMaxDivisions = int64_t(1) << 24;

// numerator / denominator rounded half away from zero; denominator > 0.
int64_t RoundedDivide(int64_t numerator, int64_t denominator) {
  if (numerator >= 0) return (numerator + denominator / 2) / denominator;
  return -((-numerator + denominator / 2) / denominator);
}

// value / from expressed over the denominator to, rounded; from > 0, to > 0.
int64_t Rescale(int64_t value, int64_t from, int64_t to) {
  int64_t sign = value < 0 ? -1 : 1;
  int64_t magnitude = value < 0 ? -value : value;
  int64_t whole = magnitude / from;
  int64_t rest = magnitude % from;
  return sign * (whole * to + RoundedDivide(rest * to, from));
}

}  // namespace

bool TimePosition::Advance(int64_t count, int64_t divisions) {
  if (divisions <= 0 || divisions > kMaxDivisions) return false;
  if (count > kMaxQuarters * divisions || count < -kMaxQuarters * divisions) return false;
  int64_t reduced = denominator_ / std::gcd(denominator_, divisions);
  int64_t denominator = kMaxDenominator;
  int64_t numerator = 0;
  if (reduced <= kMaxDenominator / divisions) {
    denominator = reduced * divisions;
    numerator = numerator_ * (denominator / denominator_) + count * (denominator / divisions);
  } else {
    numerator = Rescale(numerator_, denominator_, denominator) + Rescale(count, divisions, denominator);
  }
  if (numerator < 0) {
    Reset();
    return false;
  }
  if (numerator > kMaxQuarters * denominator) return false;
  numerator_ = numerator;
  denominator_ = denominator;
  Normalize();
  return true;
}

void TimePosition::Reset() {
  numerator_ = 0;
  denominator_ = 1;
}

int32_t TimePosition::ToUnits() const {
  return static_cast<int32_t>(RoundedDivide(numerator_ * kUnitsPerQuarter, denominator_));
}

bool TimePosition::operator==(const TimePosition& other) const {
  return numerator_ == other.numerator_ && denominator_ == other.denominator_;
}

int32_t TimePosition::DurationToUnits(int64_t count, int64_t divisions) {
  if (divisions <= 0 || divisions > kMaxDivisions || count < 0) return -1;
  if (count > kMaxQuarters * divisions) return -1;
  return static_cast<int32_t>(Rescale(count, divisions, kUnitsPerQuarter));
}

void TimePosition::Normalize() {
  int64_t common = std::gcd(numerator_, denominator_);
  if (common > 1) {
    numerator_ /= common;
    denominator_ /= common;
  }
}

}  // namespace musicxml
