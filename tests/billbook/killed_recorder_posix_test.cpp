// A recorder killed at random moments, mid-bill or between bills: the book stays whole,
// every bill in it is all there or not there at all, and none the recorder was told of is lost.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "billbook/exact_amount.h"
#include "book_fixtures.h"
#include "child_process.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// Each recorder starts several times slower under the sanitizers, which look at memory, not
// at where a kill lands: fewer kills keep that run as short as the plain one.
constexpr int kKills = 120;
#else
constexpr int kKills = 300;
#endif
// A fresh book now and then keeps the check after each kill short.
constexpr int kKillsPerBook = 15;

std::int64_t Scaled(const std::string& text, int decimals) {
  const auto value = billbook::ScaledInteger(text, decimals);
  EXPECT_TRUE(value) << text;
  return value.value_or(-1);
}

// Checks the book after a kill; `told` holds every number the recorders printed.
void ExpectWholeBook(const fs::path& file, const std::set<std::string>& told) {
  std::string check;
  ASSERT_TRUE(book_fixtures::ExecuteSql(file, "PRAGMA integrity_check", &check));
  ASSERT_EQ(check, "ok");
  billbook::BillBook book(file);
  const auto rows = book.List({}, 0, 1'000'000);
  std::set<std::string> numbers;
  std::int64_t expected_serial = static_cast<std::int64_t>(rows.size());
  billbook::Totals totals;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number);
    ASSERT_TRUE(numbers.insert(row.number).second) << "number twice";
    // Newest first, and a bill rolled back takes no serial with it: no gaps.
    char expected_number[32];
    std::snprintf(expected_number, sizeof expected_number, "20261208-%03lld",
                  static_cast<long long>(expected_serial--));
    EXPECT_EQ(row.number, expected_number);
    const billbook::OpenedBill bill = book.Open(row.number);
    ASSERT_EQ(bill.revisions.size(), 1u);
    const billbook::Revision& revision = bill.revisions[0];
    std::int64_t fen = 0, volume = 0;
    for (const billbook::Line& line : revision.content.lines) {
      ASSERT_FALSE(line[7].empty()) << "a line missing";
      volume += Scaled(line[5], billbook::kVolumeDecimals);
      fen += Scaled(line[7], billbook::kFenDecimals);
    }
    EXPECT_EQ(Scaled(row.total_amount, billbook::kFenDecimals), fen);
    EXPECT_EQ(revision.amount_fen, fen);
    EXPECT_EQ(Scaled(row.total_volume, billbook::kVolumeDecimals), volume);
    EXPECT_EQ(revision.volume_e4, volume);
    totals = {totals.bills + 1, totals.volume_e4 + volume, totals.amount_fen + fen};
  }
  EXPECT_EQ(book.Sum({}), totals);
  for (const std::string& number : told) EXPECT_EQ(numbers.count(number), 1u) << "lost " << number;
}

TEST(KilledRecorderPosix, EveryBillIsWholeOrAbsentAndNoneToldOfIsLost) {
  std::mt19937 random(20261208);
  std::optional<test_support::TempDir> temp;
  fs::path file;
  std::set<std::string> told;
  int mid_bill = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    if (kill % kKillsPerBook == 0) {
      temp.emplace();
      file = temp->Path() / billbook::kBookFileName;
      told.clear();
    }
    test_support::ChildProcess recorder(BOOK_RECORDER,
                                        {base::ToUtf8(file.u16string()), "0", "张记木业"});
    ASSERT_TRUE(recorder.Started());
    // Most kills land in a running loop of bills; some while the book is opened or made.
    if (random() % 4 != 0) {
      char byte = 0;
      while (recorder.ReadByte(byte) && byte != '\n') {
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30'000));
    recorder.Kill();
    recorder.Wait();
    std::istringstream printed(recorder.ReadAll());
    for (std::string line; std::getline(printed, line);) {
      if (line.size() == 12) told.insert(line);
    }
    mid_bill += fs::exists(fs::path(file) += u"-journal");
    SCOPED_TRACE("kill " + std::to_string(kill));
    ExpectWholeBook(file, told);
    if (::testing::Test::HasFatalFailure()) return;
  }
  // A journal beside the book after a kill: it landed inside a bill's transaction.
  EXPECT_GT(mid_bill, 0) << "no kill landed in a bill: the test proves nothing";
  std::printf("%d kills, %d of them mid-bill\n", kKills, mid_bill);
}

}  // namespace
