// One recalculation pass as Timer1 runs it, on the window's real boxes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtGlobal>

#include "form1.h"
#include "tally/recalculation_pass.h"

namespace {

using tally::TallyColumn;

void FillSheet(tally::TallySheet& sheet) {
  for (int row = 0; row < tally::kRowCount; ++row) {
    sheet.SetText(TallyColumn::Length, row, u"4");
    sheet.SetText(TallyColumn::Width, row, u"117.25");
    sheet.SetText(TallyColumn::Thickness, row, u"50");
    sheet.SetText(TallyColumn::Bundles, row, u"3");
    sheet.SetText(TallyColumn::PiecesPerBundle, row, u"12");
    sheet.SetText(TallyColumn::UnitPrice, row, u"1850");
  }
}

// The steady state: a full sheet whose results are already shown, so every write is a no-op.
void BM_WindowPassFullSheet(benchmark::State& state) {
  ui::Form1 form;
  form.Timer1().stop();
  form.Timer2().stop();
  FillSheet(form.sheet());
  form.OnTimer1Tick();
  form.OnTimer1Tick();
  for (auto _ : state) form.OnTimer1Tick();
}
BENCHMARK(BM_WindowPassFullSheet);

// The idle window: every empty row writes "0.0000" and "0.00" and empties them again.
void BM_WindowPassEmptySheet(benchmark::State& state) {
  ui::Form1 form;
  form.Timer1().stop();
  form.Timer2().stop();
  for (auto _ : state) form.OnTimer1Tick();
}
BENCHMARK(BM_WindowPassEmptySheet);

// A pass right after one line changed: that line's boxes really change.
void BM_WindowPassAfterEdit(benchmark::State& state) {
  ui::Form1 form;
  form.Timer1().stop();
  form.Timer2().stop();
  FillSheet(form.sheet());
  form.OnTimer1Tick();
  bool wide = false;
  for (auto _ : state) {
    state.PauseTiming();
    wide = !wide;
    form.sheet().SetText(TallyColumn::Width, 6, wide ? u"200" : u"117.25");
    state.ResumeTiming();
    form.OnTimer1Tick();
  }
}
BENCHMARK(BM_WindowPassAfterEdit);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
