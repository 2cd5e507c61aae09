#include "generated_score.h"

#include <algorithm>
#include <string>
#include <vector>

#include "headless/score_builder.h"

namespace {

// A small linear congruential generator: the same seed gives the same score
// on every platform.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  uint32_t Roll(uint32_t sides) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % sides;
  }
  bool Chance(uint32_t percent) { return Roll(100) < percent; }

 private:
  uint32_t state_;
};

const char kLetters[] = "CDEFGAB";

// The sign a key of that many fifths gives a letter: "#", "b" or none.
std::string KeySign(char letter, int fifths) {
  const std::string sharps = "FCGDAEB";
  const std::string flats = "BEADGCF";
  if (fifths > 0 && static_cast<int>(sharps.find(letter)) < fifths) return "#";
  if (fifths < 0 && static_cast<int>(flats.find(letter)) < -fifths) return "b";
  return "";
}

// Mostly the key's own spelling; now and then an alteration against it,
// shown or not.
std::string RandomPitch(Dice& dice, int lowestOctave, int fifths) {
  char letter = kLetters[dice.Roll(7)];
  std::string pitch(1, letter);
  uint32_t alteration = dice.Roll(20);
  if (alteration == 0) {
    pitch += "b";
  } else if (alteration == 1) {
    pitch += "#";
  } else if (alteration == 2) {
    pitch += "n";
  } else {
    pitch += KeySign(letter, fifths);
  }
  pitch += std::to_string(lowestOctave + static_cast<int>(dice.Roll(2)));
  if (alteration <= 2 && dice.Chance(60)) pitch += "!";
  return pitch;
}

constexpr int kMeasuresPerKey = 24;
const int kKeyFifths[] = {0, 2, -3, 1, -1, 4};

int FifthsOfMeasure(int measure) { return kKeyFifths[((measure - 1) / kMeasuresPerKey) % 6]; }

struct VoiceState {
  std::string lastPitch;  // of the last single note, without its modifiers
};

std::string WithoutModifiers(const std::string& pitch) {
  std::string plain;
  for (char c : pitch) {
    if (c != '!' && c != '~' && c != '(' && c != ')') plain += c;
  }
  return plain;
}

// Four quarters, or for a dense measure a cadenza of 32nd notes as long as
// it needs to be.
int32_t MeasureLength(const GeneratedScoreShape& shape) {
  constexpr int32_t kCommonTime = 4 * headless::kQuarter;
  constexpr int32_t kThirtySecond = headless::kQuarter / 8;
  return std::max(kCommonTime, std::max(1, shape.entriesPerMeasure) * kThirtySecond);
}

int64_t WriteMeasure(headless::ScoreBuilder& builder, Dice& dice, const GeneratedScoreShape& shape, int16_t staff,
                     int layer, int16_t measure, VoiceState* state) {
  auto voice = builder.Voice(staff, layer, measure);
  int fifths = FifthsOfMeasure(measure);
  int lowestOctave = layer == 1 ? 4 : 3;
  int entries = layer == 1 ? shape.entriesPerMeasure : std::max(1, shape.entriesPerMeasure / 2);
  int32_t duration = MeasureLength(shape) / entries;
  int64_t notes = 0;
  for (int i = 0; i < entries; ++i) {
    if (i == 0 && !state->lastPitch.empty() && dice.Chance(15)) {
      voice.Note(("~" + state->lastPitch).c_str(), duration);
      ++notes;
      continue;
    }
    if (dice.Chance(10)) {
      voice.Rest(duration);
      state->lastPitch.clear();
      continue;
    }
    if (dice.Chance(5)) {
      voice.Grace(RandomPitch(dice, lowestOctave, fifths).c_str());
      ++notes;
    }
    if (shape.chords && dice.Chance(25)) {
      std::vector<std::string> chord;
      int size = 2 + static_cast<int>(dice.Roll(2));
      for (int n = 0; n < size; ++n) chord.push_back(RandomPitch(dice, lowestOctave, fifths));
      voice.Chord(chord, duration);
      notes += size;
      state->lastPitch.clear();
      continue;
    }
    std::string pitch = RandomPitch(dice, lowestOctave, fifths);
    voice.Note(pitch.c_str(), duration);
    state->lastPitch = WithoutModifiers(pitch);
    ++notes;
  }
  return notes;
}

}  // namespace

int64_t BuildGeneratedScore(headless::ScoreBuilder& builder, const GeneratedScoreShape& shape) {
  Dice dice(shape.seed);
  std::vector<int16_t> staves;
  for (int s = 0; s < shape.staves; ++s) {
    staves.push_back(builder.AddStaff(("Staff " + std::to_string(s + 1)).c_str()));
  }
  builder.AddMeasures(shape.measures);
  if (MeasureLength(shape) != builder.MeasureLength(1)) {
    for (int m = 1; m <= shape.measures; ++m) builder.SetMeasureLength(static_cast<int16_t>(m), MeasureLength(shape));
  }
  builder.SetMeasuresPerSystem(shape.measuresPerSystem);
  for (int m = 1; m <= shape.measures; m += kMeasuresPerKey)
    builder.SetKey(static_cast<int16_t>(m), FifthsOfMeasure(m));
  for (int s = 0; s + 1 < shape.staves; s += 4) {
    builder.AddInstrument({staves[s], staves[s + 1]}, ("Piano " + std::to_string(s / 4 + 1)).c_str());
  }
  for (int p = 0; p < shape.linkedParts && p < shape.staves; ++p) {
    std::vector<int16_t> shown = {staves[p]};
    if (p + 1 < shape.staves) shown.push_back(staves[p + 1]);
    int16_t part = builder.AddPart(("Part " + std::to_string(p + 1)).c_str(), shown);
    std::vector<int16_t> starts;
    // Each part breaks its systems elsewhere than the score.
    int perSystem = shape.measuresPerSystem + 1 + p;
    for (int m = 1; m <= shape.measures; m += perSystem) starts.push_back(static_cast<int16_t>(m));
    builder.SetSystemStarts(part, starts);
  }

  int64_t notes = 0;
  for (int s = 0; s < shape.staves; ++s) {
    int layers = s % 2 == 0 ? shape.layers : 1;
    for (int layer = 1; layer <= layers; ++layer) {
      VoiceState state;
      for (int m = 1; m <= shape.measures; ++m) {
        notes += WriteMeasure(builder, dice, shape, staves[s], layer, static_cast<int16_t>(m), &state);
      }
    }
  }
  return notes;
}
