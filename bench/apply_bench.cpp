// Time of a whole-region scan followed by the apply of every checked finding,
// with respacing, on generated scores; and of the apply alone. Each round
// starts from the unchanged score: the scan's and the apply's edits are undone
// (untimed) after it.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "analysis/accidental_finding.h"
#include "analysis/analysis_settings.h"
#include "analysis/region_scan.h"
#include "analysis/tc_accidentals_analyzer.h"
#include "analysis/tc_analysis_run_context.h"
#include "analysis/tc_change_checked_handler.h"
#include "headless/headless_host.h"
#include "headless/score_builder.h"
#include "score/tc_music_region.h"
#include "tests/analysis/generated_score.h"
#include "ui/tc_data_list_row.h"
#include "ui/tc_data_list_rows.h"

namespace {

void Scan(TCDataListRows* rows, TCMusicRegion* region) {
  region->ReadCurrentSelection();
  ScanRegion(AnalysisSettings{}, TCAccidentalsAnalyzer::kAllLayers, region, rows);
}

int64_t CountChecked(const TCDataListRows& rows) {
  int64_t checked = 0;
  for (int32_t i = 0; i < rows.GetRowCount(); ++i) {
    if (rows.GetRowAt(i)->IsChecked()) ++checked;
  }
  return checked;
}

int64_t CountApplied(const TCDataListRows& rows) {
  int64_t applied = 0;
  for (int32_t i = 0; i < rows.GetRowCount(); ++i) {
    const AccidentalFinding* finding = GetRowFinding(rows.GetRowAt(i));
    if (finding && finding->applied) ++applied;
  }
  return applied;
}

// Takes back every edit of the round, which also keeps the host's undo
// history from growing.
void UndoRound(headless::HeadlessHost& host) {
  while (!host.Edits().UndoHistory().empty()) host.Edits().Undo();
  host.CallLog().Clear();
}

// Counts what the round applied, then releases it and undoes it, so that each
// round starts from the same document.
void EndRound(headless::HeadlessHost& host, TCDataListRows* rows, int64_t* checked, int64_t* applied) {
  *checked = CountChecked(*rows);
  *applied = CountApplied(*rows);
  ReleaseRowFindings(rows);
  UndoRound(host);
}

// Arguments: staves, measures, layers; or, with one argument, the entries of
// one measure of one staff.
GeneratedScoreShape ShapeOf(const benchmark::State& state) {
  GeneratedScoreShape shape;
  if (state.range(1) == 0) {
    shape.staves = 1;
    shape.measures = 1;
    shape.linkedParts = 0;
    shape.entriesPerMeasure = static_cast<int>(state.range(0));
    return shape;
  }
  shape.staves = static_cast<int>(state.range(0));
  shape.measures = static_cast<int>(state.range(1));
  shape.layers = static_cast<int>(state.range(2));
  return shape;
}

int64_t PrepareScore(headless::HeadlessHost& host, const benchmark::State& state) {
  host.Reset();
  host.Install();
  // As rzacc runs it: the host keeps no log of the calls.
  host.CallLog().SetEnabled(false);
  headless::ScoreBuilder builder;
  int64_t notes = BuildGeneratedScore(builder, ShapeOf(state));
  host.Selection().SelectAll();
  return notes;
}

void ReportCounters(benchmark::State& state, int64_t notes, int64_t checked, int64_t applied) {
  state.counters["notes"] = static_cast<double>(notes);
  state.counters["checked"] = static_cast<double>(checked);
  state.counters["applied"] = static_cast<double>(applied);
  state.counters["time_per_note"] = benchmark::Counter(
      static_cast<double>(notes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Arguments: staves, measures, layers.
void BM_ScanThenApply(benchmark::State& state) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  int64_t notes = PrepareScore(host, state);
  TCDataListRows rows;
  int64_t checked = 0;
  int64_t applied = 0;
  for (auto _ : state) {
    TCMusicRegion region;
    Scan(&rows, &region);
    ApplyCheckedFindings(&rows, &region, true);
    state.PauseTiming();
    EndRound(host, &rows, &checked, &applied);
    state.ResumeTiming();
  }
  ReportCounters(state, notes, checked, applied);
  host.Reset();
}

void BM_ApplyChecked(benchmark::State& state) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  int64_t notes = PrepareScore(host, state);
  TCDataListRows rows;
  int64_t checked = 0;
  int64_t applied = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TCMusicRegion region;
    Scan(&rows, &region);
    state.ResumeTiming();
    ApplyCheckedFindings(&rows, &region, true);
    state.PauseTiming();
    EndRound(host, &rows, &checked, &applied);
    state.ResumeTiming();
  }
  ReportCounters(state, notes, checked, applied);
  host.Reset();
}

void ApplySizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t staves : {2, 8, 32}) {
    for (int64_t measures : {50, 200, 800}) benchmark->Args({staves, measures, 1});
  }
  benchmark->Args({8, 200, 2});
  // Dense measures: one staff, one measure of so many entries.
  for (int64_t entries : {2000, 8000, 32000}) benchmark->Args({entries, 0, 0});
}

BENCHMARK(BM_ScanThenApply)->Apply(ApplySizes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_ApplyChecked)->Apply(ApplySizes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
