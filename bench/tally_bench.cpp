// One recalculation pass, as Timer1 runs it every 300 ms, and the numeric text rules.
#include <benchmark/benchmark.h>

#include "sample_tally.h"
#include "tally/memory_field_store.h"
#include "tally/numeric_text.h"
#include "tally/recalculation_pass.h"
#include "tally/tally_sheet.h"

namespace {

void BM_PassFullSheet(benchmark::State& state) {
  tally::MemoryFieldStore store;
  tally::TallySheet sheet(store);
  bench::FillSampleTally(sheet);
  tally::RecalculationPass(sheet);
  for (auto _ : state) tally::RecalculationPass(sheet);
}
BENCHMARK(BM_PassFullSheet);

// Every empty row writes "0.0000" and "0.00" and empties them again, each a real change.
void BM_PassEmptySheet(benchmark::State& state) {
  tally::MemoryFieldStore store;
  tally::TallySheet sheet(store);
  for (auto _ : state) tally::RecalculationPass(sheet);
}
BENCHMARK(BM_PassEmptySheet);

void BM_ParseNumber(benchmark::State& state) {
  const std::u16string texts[] = {u"4", u"117.25", u" 12 . 5 ", u"1850.0000", u"&HFFFF", u"4m"};
  for (auto _ : state) {
    for (const auto& text : texts) benchmark::DoNotOptimize(tally::ParseNumber(text));
  }
  state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_ParseNumber);

void BM_FormatFixed(benchmark::State& state) {
  const double values[] = {0.4, 2.345, 1234567.891, 0.00005, 9.99995, 0};
  for (auto _ : state) {
    for (double value : values) {
      benchmark::DoNotOptimize(tally::FormatFixed(value, tally::FixedPattern::FourDecimals));
    }
  }
  state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_FormatFixed);

}  // namespace
