// One recalculation pass as Timer1 runs it, on the window's real boxes; and the window's two
// workbook operations on a copy of the sample template: the start-up load, and a Command4
// click up to the file saved and handed to the opener. For scale, the same run times
// LibreOffice opening the template and saving it as .xls again, the closest headless
// stand-in for driving a spreadsheet application.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "message_answering.h"
#include "sample_tally.h"
#include "tally/recalculation_pass.h"
#include "ui/form1.h"
#include "ui/workbook_binding.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

namespace {

using tally::TallyColumn;

// The steady state: a full sheet whose results are already shown, so every write is a no-op.
void BM_WindowPassFullSheet(benchmark::State& state) {
  ui::Form1 form;
  form.Timer1().stop();
  form.Timer2().stop();
  bench::FillSampleTally(form.sheet());
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
  bench::FillSampleTally(form.sheet());
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

namespace fs = std::filesystem;

// A fresh program folder holding a copy of the sample template.
fs::path ProgramFolderWithTemplate(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("verdalon-ui-bench-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(VERDALON_TEMPLATE, workbook::WorkbookPath(folder));
  return folder;
}

void BM_WindowStartupLoad(benchmark::State& state) {
  const fs::path folder = ProgramFolderWithTemplate("load");
  workbook::EmbeddedApplicationFactory engine([](const xls::XlsDocument&) {});
  for (auto _ : state) {
    ui::Form1 form;
    ui::WorkbookBinding binding(form, engine, folder);
    binding.LoadReferenceData();
  }
}
BENCHMARK(BM_WindowStartupLoad)->Unit(benchmark::kMillisecond);

// From the click on Command4 to the saved workbook handed to the opener (the reminder of
// the first export is answered by itself: main lets every message box answer itself).
void BM_WindowExportClick(benchmark::State& state) {
  const fs::path folder = ProgramFolderWithTemplate("export");
  int opened = 0;
  workbook::EmbeddedApplicationFactory engine([&](const xls::XlsDocument&) { ++opened; });
  ui::Form1 form;
  form.Timer1().stop();
  form.Timer2().stop();
  ui::WorkbookBinding binding(form, engine, folder);
  binding.LoadReferenceData();
  bench::FillSampleTally(form.sheet());
  form.OnTimer1Tick();
  form.OnTimer1Tick();
  auto* command4 = form.findChild<QAbstractButton*>(QStringLiteral("Command4"));
  command4->click();  // the first export, with its reminder
  for (auto _ : state) command4->click();
  if (opened != static_cast<int>(state.iterations()) + 1) state.SkipWithError("export failed");
}
BENCHMARK(BM_WindowExportClick)->Unit(benchmark::kMillisecond);

void BM_LibreOfficeOpenAndSaveAsXls(benchmark::State& state) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
    return state.SkipWithError("LibreOffice is missing");
  }
  const fs::path folder = ProgramFolderWithTemplate("soffice");
  const std::string command = "cd '" + folder.string() +
                              "' && soffice --headless -env:UserInstallation=file://" +
                              (folder / "profile").string() + " --convert-to xls --outdir out '" +
                              workbook::WorkbookPath(folder).string() + "' >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("conversion failed");
  }
}
BENCHMARK(BM_LibreOfficeOpenAndSaveAsXls)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  test_support::AnswerEveryMessageBox();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
