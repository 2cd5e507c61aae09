#include "analysis/tc_accidentals_analyzer.h"

#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace scan_test {
namespace {

using headless::kHalf;
using headless::kQuarter;
using headless::kWhole;

class AccidentalsAnalyzerTest : public ScanFixture {};

TEST_F(AccidentalsAnalyzerTest, smoke) {
  headless::ScoreBuilder builder;
  int16_t flute = builder.AddStaff("Flute");
  builder.AddMeasures(6);
  auto voice = builder.Voice(flute);
  voice.Note("F#4!", kWhole);
  uint32_t natural = voice.Note("F4", kWhole);
  uint32_t sharp = voice.Note("F#4", kWhole);
  Scan();
  for (auto* f : findings_) printf("%s | %s | %s | %s | paren %d\n", Text(f->description).c_str(), Text(f->location).c_str(), Text(f->relatedLocation).c_str(), Text(f->pitchName).c_str(), f->parentheses);
  (void)natural; (void)sharp;
}

}  // namespace
}  // namespace scan_test
