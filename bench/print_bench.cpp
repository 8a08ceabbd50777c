// Printing the sample template's sheet 码单 without a spreadsheet program: reading its
// layout, cutting it into pages, and drawing the PDF. Runs headless (offscreen).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <vector>

#include "printing/sheet_printer.h"
#include "workbook/sheet_print_source.h"
#include "xls/cfb/compound_file.h"
#include "xls/layout/sheet_layout_file.h"
#include "xls/layout/sheet_layout_reader.h"
#include "xls/xls_document.h"

namespace {

const char* const kTemplate = VERDALON_TEMPLATE_DIR "/锯材账单.xls";
const char* const kLongTable = VERDALON_TEMPLATE_DIR "/print-samples/long-table-gnumeric.xls";

std::vector<std::uint8_t> TemplateStream() {
  std::ifstream in(kTemplate, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
  return *xls::cfb::CompoundFile::Read(file).ReadStream(u"Workbook");
}

void BM_ReadSheetLayout(benchmark::State& state) {
  const std::vector<std::uint8_t> stream = TemplateStream();
  for (auto _ : state) {
    benchmark::DoNotOptimize(xls::layout::ReadSheetLayout(stream, u"码单"));
  }
}
BENCHMARK(BM_ReadSheetLayout)->Unit(benchmark::kMicrosecond);

void BM_PlanPages(benchmark::State& state) {
  const auto layout = xls::layout::ReadSheetLayout(TemplateStream(), u"码单");
  for (auto _ : state) benchmark::DoNotOptimize(printing::PlanFor(layout));
}
BENCHMARK(BM_PlanPages)->Unit(benchmark::kMicrosecond);

// The layout of a workbook just saved, as the print after an export reads it: with the
// formulas the save could not compute known from the save, or worked out once more.
void SavedLayout(benchmark::State& state, bool known_from_save) {
  QTemporaryDir folder;
  const std::filesystem::path copy = folder.filePath(QStringLiteral("lookup.xls")).toStdU16String();
  std::filesystem::copy_file(VERDALON_TEMPLATE_DIR "/formula-samples/lookup-500.xls", copy);
  const auto document = xls::XlsDocument::Open(copy);
  document->SetCell(0, 300, 20, u"1");  // a change, so that the save computes
  document->Save();
  for (auto _ : state) {
    if (known_from_save) {
      benchmark::DoNotOptimize(xls::layout::ReadSavedSheetLayout(*document, u"码单"));
    } else {
      benchmark::DoNotOptimize(
          xls::layout::ReadSavedSheetLayout(document->Book(), u"码单", nullptr));
    }
  }
}
BENCHMARK_CAPTURE(SavedLayout, known_from_save, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SavedLayout, computed_again, false)->Unit(benchmark::kMicrosecond);

// From the file on disk to the PDF written, as xlsprint does it: the sample template's one
// page, and a table of 152 rows over eight pages.
void WorkbookToPdf(benchmark::State& state, const char* workbook, const char16_t* sheet) {
  QTemporaryDir folder;
  const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
  for (auto _ : state) printing::WriteSheetPdf(workbook::LoadSheetLayout(workbook, sheet), pdf);
}
BENCHMARK_CAPTURE(WorkbookToPdf, template, kTemplate, u"码单")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WorkbookToPdf, long_table, kLongTable, u"台账")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
