// Time of a whole-region scan with the default profile settings on generated
// scores of growing size, reported per note.
#include <benchmark/benchmark.h>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/profile_settings.h"
#include "analysis/region_scan.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analysis_run_context.h"
#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "score/tc_music_region.h"
#include "settings/presets.h"
#include "settings/tc_settings_profile.h"
#include "tests/analysis/generated_score.h"
#include "ui/tc_data_list_rows.h"

namespace {

void ScanScore(benchmark::State& state, const GeneratedScoreShape& shape, const AnalysisSettings& settings) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  host.Reset();
  host.Install();
  // As rzacc runs it: the host keeps no log of the calls.
  host.CallLog().SetEnabled(false);
  headless::ScoreBuilder builder;
  int64_t notes = BuildGeneratedScore(builder, shape);
  host.Selection().SelectAll();

  TCDataListRows rows;
  int64_t findings = 0;
  for (auto _ : state) {
    TCMusicRegion region;
    region.ReadCurrentSelection();
    ScanRegion(settings, TCAccidentalsAnalyzer::kAllLayers, &region, &rows);
    state.PauseTiming();
    findings = rows.GetRowCount();
    ReleaseRowFindings(&rows);
    host.CallLog().Clear();
    state.ResumeTiming();
  }
  state.counters["notes"] = static_cast<double>(notes);
  state.counters["findings"] = static_cast<double>(findings);
  state.counters["time_per_note"] = benchmark::Counter(
      static_cast<double>(notes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  host.Reset();
}

// Arguments: staves, measures, layers, chords (0 or 1).
GeneratedScoreShape ShapeOf(const benchmark::State& state) {
  GeneratedScoreShape shape;
  shape.staves = static_cast<int>(state.range(0));
  shape.measures = static_cast<int>(state.range(1));
  shape.layers = static_cast<int>(state.range(2));
  shape.chords = state.range(3) != 0;
  return shape;
}

AnalysisSettings SearchingBy(PitchSearch search) {
  AnalysisSettings settings;
  settings.search = search;
  return settings;
}

void BM_ScanRegion(benchmark::State& state) { ScanScore(state, ShapeOf(state), SearchingBy(PitchSearch::Indexed)); }

// The same scans with the searches walking whole groups, for comparison.
void BM_ScanRegionLinearSearch(benchmark::State& state) {
  ScanScore(state, ShapeOf(state), SearchingBy(PitchSearch::WholeGroup));
}

// The largest score of BM_ScanRegion with each preset's settings (the
// argument is the preset's place in the table): their rules must not make a
// scan much slower than the default one.
void BM_ScanPreset(benchmark::State& state) {
  const Preset& preset = kPresets[static_cast<size_t>(state.range(0))];
  TCSettingsProfile profile;
  FillProfileFromPreset(preset, &profile);
  GeneratedScoreShape shape;
  shape.staves = 32;
  shape.measures = 800;
  shape.layers = 2;
  shape.chords = true;
  state.SetLabel(preset.name);
  ScanScore(state, shape, AnalysisSettingsOf(profile));
}

// One staff of one measure holding as many entries as the argument.
void BM_ScanDenseMeasure(benchmark::State& state) {
  GeneratedScoreShape shape;
  shape.staves = 1;
  shape.measures = 1;
  shape.linkedParts = 0;
  shape.entriesPerMeasure = static_cast<int>(state.range(0));
  ScanScore(state, shape, SearchingBy(PitchSearch::Indexed));
}

void ScanSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t staves : {2, 8, 32}) {
    for (int64_t measures : {50, 200, 800}) {
      for (int64_t layers : {1, 2}) {
        benchmark->Args({staves, measures, layers, 1});
      }
    }
  }
  benchmark->Args({8, 200, 1, 0});
}

// Wide scores: the cost must grow with the staves as it does with the measures.
void WideSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t staves : {250, 500, 1000}) benchmark->Args({staves, 50, 1, 1});
}

void LinearSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t staves : {2, 8, 32}) {
    for (int64_t measures : {50, 200}) benchmark->Args({staves, measures, 2, 1});
  }
}

BENCHMARK(BM_ScanRegion)->Apply(ScanSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRegion)->Name("BM_ScanWideRegion")->Apply(WideSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRegionLinearSearch)->Apply(LinearSizes)->Unit(benchmark::kMillisecond);
// A cell holds at most 32,767 entries.
BENCHMARK(BM_ScanPreset)->DenseRange(0, static_cast<int64_t>(kPresetCount) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDenseMeasure)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
