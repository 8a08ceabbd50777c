// The bill book's calls on ten years of a busy yard's bills (50 a day of 13 lines, some
// 180,000 bills and 2.4 million lines, made by tools/make_bill_book): recording one bill,
// and what the book's window asks for. Each call opens and closes the book as the window's
// do. The book is made on the first run (about 20 s) and kept beside the benchmark; point
// VERDALON_TEN_YEAR_BOOK at another to measure that one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "sample_bill_book.h"

namespace {

namespace fs = std::filesystem;

const billbook::LocalTime kToday{2026, 12, 8, 17, 30, 0};

fs::path TenYearBook() {
  const char* chosen = std::getenv("VERDALON_TEN_YEAR_BOOK");
  return chosen ? fs::path(base::FromUtf8(chosen))
                : fs::path(VERDALON_BENCH_DIR) / u"ten_year_book" / billbook::kBookFileName;
}

billbook::BillContent ABill() {
  billbook::BillContent bill;
  bill.buyer = "张记木业";
  bill.seller = "林场一队";
  bill.scaler = "老周";
  for (auto& line : bill.lines) line = {"杉木", "4", "18", "2", "10", "0.1440", "1250", "180.00"};
  bill.total_volume = "1.8720";
  bill.total_amount = "2340.00";
  return bill;
}

// Each recording is synchronous and so waits for the disk: the median, not the mean, says
// what the clerk usually waits.
void RecordBills(benchmark::State& state, const fs::path& file) {
  billbook::BillBook book(file);
  const billbook::BillContent bill = ABill();
  std::vector<double> milliseconds;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(book.Record("", bill, {kToday, "收银台", "王会计"}));
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    milliseconds.push_back(took.count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  if (!milliseconds.empty()) state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
}

void BM_RecordOneBillIntoTheTenYearBook(benchmark::State& state) {
  const fs::path copy = TenYearBook().parent_path() / u"recording" / billbook::kBookFileName;
  fs::create_directories(copy.parent_path());
  fs::copy_file(TenYearBook(), copy, fs::copy_options::overwrite_existing);
  RecordBills(state, copy);
}
BENCHMARK(BM_RecordOneBillIntoTheTenYearBook)->Unit(benchmark::kMillisecond)->Iterations(100);

// The same into an empty book: what the disk's syncs cost, which the ten years add to.
void BM_RecordOneBillIntoANewBook(benchmark::State& state) {
  const fs::path file = TenYearBook().parent_path() / u"recording" / u"新账本.db";
  fs::create_directories(file.parent_path());
  fs::remove(file);
  RecordBills(state, file);
}
BENCHMARK(BM_RecordOneBillIntoANewBook)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_ListTodayFirstPage(benchmark::State& state) {
  billbook::BillBook book(TenYearBook());
  for (auto _ : state) {
    benchmark::DoNotOptimize(book.List({billbook::Today(kToday), "", ""}, 0, 50));
  }
}
BENCHMARK(BM_ListTodayFirstPage)->Unit(benchmark::kMillisecond);

// A prefix over all ten years: a family name (a twentieth of the buyers), a whole name, a
// year's numbers, one day's numbers.
void BM_ListFilteredFirstPage(benchmark::State& state, const char* buyer, const char* number) {
  billbook::BillBook book(TenYearBook());
  for (auto _ : state) {
    benchmark::DoNotOptimize(book.List({billbook::AllDays(), buyer, number}, 0, 50));
  }
}
BENCHMARK_CAPTURE(BM_ListFilteredFirstPage, family_name, "张", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListFilteredFirstPage, whole_name, "张记木业", "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListFilteredFirstPage, number_year, "", "2025")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListFilteredFirstPage, number_day, "", "20250315")
    ->Unit(benchmark::kMillisecond);

void BM_MonthPerBuyer(benchmark::State& state) {
  billbook::BillBook book(TenYearBook());
  for (auto _ : state) {
    benchmark::DoNotOptimize(book.SummaryByBuyer({billbook::ThisMonth(kToday), "", ""}));
  }
}
BENCHMARK(BM_MonthPerBuyer)->Unit(benchmark::kMillisecond);

void BM_TenYearsPerBuyerAndMonth(benchmark::State& state) {
  billbook::BillBook book(TenYearBook());
  for (auto _ : state) benchmark::DoNotOptimize(book.SummaryByBuyerAndMonth({}));
}
BENCHMARK(BM_TenYearsPerBuyerAndMonth)->Unit(benchmark::kMillisecond);

void BM_SumTenYears(benchmark::State& state) {
  billbook::BillBook book(TenYearBook());
  for (auto _ : state) benchmark::DoNotOptimize(book.Sum({}));
}
BENCHMARK(BM_SumTenYears)->Unit(benchmark::kMillisecond);

// The day's copy of the whole book, stepped as the window's timer would: the longest step
// is how long the clerk's window can be held up by it.
void BM_BackUpTheTenYearBook(benchmark::State& state) {
  const fs::path book = TenYearBook();
  double longest = 0;
  int steps = 0;
  for (auto _ : state) {
    fs::remove_all(book.parent_path() / billbook::kBackupFolderName);
    billbook::DailyBackup backup(book, 20261208);
    for (bool finished = false; !finished; ++steps) {
      const auto start = std::chrono::steady_clock::now();
      finished = backup.Step();
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      longest = std::max(longest, took.count());
    }
    if (backup.outcome().kind != billbook::BackupOutcome::Kind::kMade) {
      return state.SkipWithError(backup.outcome().detail.c_str());
    }
  }
  fs::remove_all(book.parent_path() / billbook::kBackupFolderName);
  state.counters["longest_step_ms"] = longest;
  state.counters["steps"] = steps;
}
BENCHMARK(BM_BackUpTheTenYearBook)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path book = TenYearBook();
  if (!fs::exists(book)) {
    std::fprintf(stderr, "making the ten-year book %s\n", base::ToUtf8(book.u16string()).c_str());
    fs::create_directories(book.parent_path());
    tools::MakeSampleBillBook(book, {});
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
