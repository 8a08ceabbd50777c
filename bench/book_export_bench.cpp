// The bill book's export of a busy month, 1,540 bills of 13 lines (20,020 lines), into a new
// workbook: the book read in full, the three sheets written, the workbook saved; and the
// book's read alone. The book is made through BillBook::Record as the program records bills,
// a bill at a time, each in its own synchronised transaction: that takes half a minute, so
// it is kept in the temporary folder and made again only where it is not complete.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "billbook/bill_book.h"
#include "workbook/book_export.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBills = 1540;
constexpr int kBuyers = 40;

const fs::path kTemplate = fs::path(VERDALON_TEMPLATE_DIR) / workbook::kBookExportTemplateFileName;

fs::path BenchFolder() {
  return fs::temp_directory_path() / "verdalon-bench-book-export";
}

// Days 1 to 28 of December, 55 bills a day; every tenth voided, every seventh corrected.
const billbook::BillBook& MonthBook() {
  static const billbook::BillBook book = [] {
    billbook::BillBook made(BenchFolder() / billbook::kBookFileName);
    if (fs::exists(made.file()) && made.ListInFull({}).size() == kBills) return made;
    fs::remove_all(BenchFolder());
    fs::create_directories(BenchFolder());
    for (int bill = 0; bill < kBills; ++bill) {
      billbook::BillContent content;
      content.buyer = "客户" + std::to_string(bill % kBuyers) + "木业有限公司";
      content.seller = "三明青山锯材厂";
      content.scaler = "老周";
      for (std::size_t line = 0; line < content.lines.size(); ++line) {
        content.lines[line] = {
            std::to_string(2 + line % 5), "18", "2.5", "3", "12", "0.1296", "1250", "162.00"};
      }
      content.total_volume = "1.6848";
      content.total_amount = "2106.00";
      const billbook::Recorder recorder{
          {2026, 12, 1 + bill / 55, 8, bill % 60, 0}, "收银台", "王会计"};
      const billbook::Recorded recorded = made.Record("", content, recorder);
      if (bill % 7 == 0) {
        content.total_amount = "2106.50";
        made.Record(recorded.number, content, recorder);
      }
      if (bill % 10 == 0) made.Void(recorded.number, "重开", recorder);
    }
    return made;
  }();
  return book;
}

void BM_ExportAMonth(benchmark::State& state) {
  if (!fs::exists(kTemplate)) return state.SkipWithError("no export template");
  const billbook::BillBook& book = MonthBook();
  const fs::path out = BenchFolder() / "out";
  const billbook::BillQuery month{billbook::Between(20261201, 20261231), "", ""};
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(out);
    fs::create_directories(out);
    state.ResumeTiming();
    benchmark::DoNotOptimize(workbook::ExportBook(book, month, out, kTemplate));
  }
  state.counters["bills"] = kBills;
}
BENCHMARK(BM_ExportAMonth)->Unit(benchmark::kMillisecond);

void BM_ReadAMonthInFull(benchmark::State& state) {
  const billbook::BillBook& book = MonthBook();
  const billbook::BillQuery month{billbook::Between(20261201, 20261231), "", ""};
  for (auto _ : state) benchmark::DoNotOptimize(book.ListInFull(month));
}
BENCHMARK(BM_ReadAMonthInFull)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
