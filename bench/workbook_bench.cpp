// The two workbook operations the program performs, on the sample template: the start-up
// load (open, read the 201 buyer cells and the seller) and the export (open, write the 108
// tally cells, save), and the engine's share of the export with its formula calculation. For scale,
// the same run times LibreOffice converting the template.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "workbook/cell_map.h"
#include "workbook/embedded_application.h"
#include "xls/biff/biff_workbook.h"
#include "xls/cfb/compound_file.h"
#include "xls/formula/workbook_calculation.h"

namespace {

namespace fs = std::filesystem;

const fs::path kTemplate = fs::path(VERDALON_TEMPLATE_DIR) / workbook::kWorkbookFileName;

// A private copy of the template in a fresh temporary folder.
fs::path CopyOfTemplate(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("verdalon-bench-" + name);
  fs::create_directories(dir);
  const fs::path copy = dir / workbook::kWorkbookFileName;
  fs::copy_file(kTemplate, copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
  return copy;
}

void BM_StartUpLoad(benchmark::State& state) {
  if (!fs::exists(kTemplate)) return state.SkipWithError("no sample template");
  const fs::path path = CopyOfTemplate("load");
  workbook::EmbeddedApplicationFactory factory(nullptr);
  for (auto _ : state) {
    auto application = factory.Create("Excel.application");
    auto book = application->GetWorkbooks()->Open(path);
    auto sheet = book->Worksheets(workbook::kReferenceSheet);
    for (int i = 0; i < workbook::kMaxBuyers; ++i) {
      benchmark::DoNotOptimize(sheet->Cell(workbook::kFirstBuyerCell.row + i, 2));
    }
    benchmark::DoNotOptimize(sheet->Cell(workbook::kSellerCell.row, workbook::kSellerCell.column));
  }
}
BENCHMARK(BM_StartUpLoad)->Unit(benchmark::kMillisecond);

void BM_ExportWriteAndSave(benchmark::State& state) {
  if (!fs::exists(kTemplate)) return state.SkipWithError("no sample template");
  const fs::path path = CopyOfTemplate("export");
  workbook::EmbeddedApplicationFactory factory(nullptr);
  int round = 0;
  for (auto _ : state) {
    auto application = factory.Create("Excel.Application");
    auto book = application->GetWorkbooks()->Open(path);
    auto sheet = book->Worksheets(workbook::kTallySheet);
    sheet->SetCell(3, 2, u"买方" + std::u16string(1, static_cast<char16_t>(u'0' + round++ % 10)));
    for (int row = 5; row <= 17; ++row) {
      for (int column = 1; column <= 8; ++column) {
        sheet->SetCell(row, column, column == 8 ? u"" : u"12.5");
      }
    }
    sheet->SetCell(18, 2, u"检尺员");
    sheet->SetCell(18, 6, u"3.2500");
    sheet->SetCell(18, 7, u"1200.00");
    book->Save();
  }
}
BENCHMARK(BM_ExportWriteAndSave)->Unit(benchmark::kMillisecond);

// A thousand exports, each with a buyer never written before, as a busy year brings them.
// Reports the file size after the first and the last export and the mean time of the first
// and the last hundred exports: both pairs should be about equal.
void BM_ThousandExportsNewBuyerEach(benchmark::State& state) {
  if (!fs::exists(kTemplate)) return state.SkipWithError("no sample template");
  workbook::EmbeddedApplicationFactory factory(nullptr);
  constexpr int kExports = 1000;
  constexpr int kWindow = 100;
  for (auto _ : state) {
    const fs::path path = CopyOfTemplate("thousand");
    double first_window = 0;
    double last_window = 0;
    std::uintmax_t first_size = 0;
    for (int n = 0; n < kExports; ++n) {
      const auto start = std::chrono::steady_clock::now();
      auto application = factory.Create("Excel.Application");
      auto book = application->GetWorkbooks()->Open(path);
      auto sheet = book->Worksheets(workbook::kTallySheet);
      const std::string number = std::to_string(n);
      sheet->SetCell(3, 2, u"买方" + std::u16string(number.begin(), number.end()) + u"号木业公司");
      for (int row = 5; row <= 17; ++row) {
        for (int column = 1; column <= 8; ++column) sheet->SetCell(row, column, u"12.5");
      }
      sheet->SetCell(18, 2, u"检尺员" + std::u16string(number.begin(), number.end()));
      book->Save();
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      if (n < kWindow) first_window += took.count();
      if (n >= kExports - kWindow) last_window += took.count();
      if (n == 0) first_size = fs::file_size(path);
    }
    state.counters["bytes_after_first"] = static_cast<double>(first_size);
    state.counters["bytes_after_last"] = static_cast<double>(fs::file_size(path));
    state.counters["ms_first_100"] = first_window / kWindow;
    state.counters["ms_last_100"] = last_window / kWindow;
  }
}
BENCHMARK(BM_ThousandExportsNewBuyerEach)->Unit(benchmark::kMillisecond)->Iterations(1);

// The engine's part of an export, without the disk: the workbook read from bytes in
// memory, the 108 tally cells written, every formula computed and its result stored, the
// stream and the compound file laid out anew. On the sample template (one formula), a bill
// template with 200 formulas, and the same bill without formulas.
void BM_ExportEngine(benchmark::State& state, const fs::path& file) {
  if (!fs::exists(file)) return state.SkipWithError("no template");
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  int round = 0;
  for (auto _ : state) {
    xls::cfb::CompoundFile container = xls::cfb::CompoundFile::Read(bytes);
    xls::biff::BiffWorkbook book =
        xls::biff::BiffWorkbook::Parse(*container.ReadStream(u"Workbook"));
    const std::size_t sheet = *book.FindWorksheet(workbook::kTallySheet);
    const auto write = [&](int row, int column, std::u16string_view text) {
      book.SetCellText(
          sheet, {static_cast<std::uint16_t>(row - 1), static_cast<std::uint16_t>(column - 1)},
          text);
    };
    write(3, 2, u"买方" + std::u16string(1, static_cast<char16_t>(u'0' + round++ % 10)));
    for (int row = 5; row <= 17; ++row) {
      for (int column = 1; column <= 8; ++column) write(row, column, column == 8 ? u"" : u"12.5");
    }
    write(18, 2, u"检尺员");
    write(18, 6, u"3.2500");
    write(18, 7, u"1200.00");
    xls::formula::WorkbookCalculation(book, xls::formula::CurrentSerialTime(false)).Store(book);
    container.ReplaceStream(u"Workbook", book.Serialize());
    benchmark::DoNotOptimize(container.Write());
  }
}
const fs::path kFormulaSamples = fs::path(VERDALON_TEMPLATE_DIR) / "formula-samples";
BENCHMARK_CAPTURE(BM_ExportEngine, sample_template, kTemplate)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportEngine, bill_200_formulas, kFormulaSamples / "bill-200-formulas.xls")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportEngine, bill_no_formulas, kFormulaSamples / "bill-no-formulas.xls")
    ->Unit(benchmark::kMillisecond);

// The calculation alone on a workbook as read: the 200-formula bill, and 500 VLOOKUPs into
// a 2,000-row price table, half through whole columns (tools/make_lookup_bench.py).
void BM_CalculateFormulas(benchmark::State& state, const fs::path& file) {
  if (!fs::exists(file)) return state.SkipWithError("no template");
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  const xls::biff::BiffWorkbook book =
      xls::biff::BiffWorkbook::Parse(*xls::cfb::CompoundFile::Read(bytes).ReadStream(u"Workbook"));
  for (auto _ : state) {
    benchmark::DoNotOptimize(xls::formula::WorkbookCalculation(book, 45000.5));
  }
}
BENCHMARK_CAPTURE(BM_CalculateFormulas, bill_200_formulas,
                  kFormulaSamples / "bill-200-formulas.xls")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalculateFormulas, lookup_500, kFormulaSamples / "lookup-500.xls")
    ->Unit(benchmark::kMillisecond);

// One headless LibreOffice conversion of the template to CSV: what opening the workbook
// in another spreadsheet program costs, start-up included.
void BM_LibreOfficeConvert(benchmark::State& state) {
  if (!fs::exists(kTemplate)) return state.SkipWithError("no sample template");
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
    return state.SkipWithError("LibreOffice is missing");
  }
  const fs::path path = CopyOfTemplate("soffice");
  const fs::path dir = path.parent_path();
  const std::string command = "cd '" + dir.string() +
                              "' && soffice --headless -env:UserInstallation=file://" +
                              (dir / "profile").string() + " --convert-to csv --outdir out '" +
                              path.string() + "' >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("conversion failed");
  }
}
BENCHMARK(BM_LibreOfficeConvert)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
