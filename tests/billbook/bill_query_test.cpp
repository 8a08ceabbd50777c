// Finding bills again: by period, by the beginning of the buyer's name or of the number,
// newest first, page by page; the totals and summaries leave voided bills out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "billbook/bill_book.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

using billbook::BillQuery;
using billbook::Period;
using billbook::Totals;
using book_fixtures::Bill;
using book_fixtures::RecorderAt;

class BillQueryTest : public ::testing::Test {
 protected:
  BillQueryTest() : book_(temp_.Path() / billbook::kBookFileName) {
    struct Entry {
      int month, day;
      const char* buyer;
      const char* volume;
      const char* amount;
    };
    const Entry entries[] = {
        {11, 30, "张记木业", "0.1000", "100.00"},   // 20261130-001
        {11, 30, "李张建材", "0.2000", "200.00"},   // 20261130-002
        {12, 1, "张三", "0.3000", "300.50"},        // 20261201-001
        {12, 1, "张记木业", "0.4000", "1,400.25"},  // 20261201-002
        {12, 1, "王五", "0.5000", "500.00"},        // 20261201-003, voided below
        {12, 8, "张记木业", "0.0600", "60.00"},     // 20261208-001
        {12, 8, "张记", "0.0070", "7.07"},          // 20261208-002
    };
    for (const Entry& e : entries) {
      book_.Record("", Bill(e.buyer, e.volume, e.amount), RecorderAt(2026, e.month, e.day));
    }
    book_.Void("20261201-003", "写错买方", RecorderAt(2026, 12, 2));
  }

  std::vector<std::string> Numbers(const BillQuery& query, int offset = 0, int limit = 100) {
    std::vector<std::string> numbers;
    for (const auto& row : book_.List(query, offset, limit)) numbers.push_back(row.number);
    return numbers;
  }

  test_support::TempDir temp_;
  billbook::BillBook book_;
};

TEST_F(BillQueryTest, FiltersListNewestFirstAndSumWhatTheyFind) {
  const billbook::LocalTime now{2026, 12, 8, 17, 0, 0};
  struct Case {
    const char* what;
    BillQuery query;
    std::vector<std::string> numbers;
    Totals totals;
  };
  const Case cases[] = {
      {"today", {billbook::Today(now), "", ""}, {"20261208-002", "20261208-001"}, {2, 670, 6707}},
      {"this month, the voided bill listed but not summed",
       {billbook::ThisMonth(now), "", ""},
       {"20261208-002", "20261208-001", "20261201-003", "20261201-002", "20261201-001"},
       {4, 7670, 176782}},
      {"last month",
       {billbook::LastMonth(now), "", ""},
       {"20261130-002", "20261130-001"},
       {2, 3000, 30000}},
      {"张 finds every buyer whose name begins with it, not 李张",
       {billbook::AllDays(), "张", ""},
       {"20261208-002", "20261208-001", "20261201-002", "20261201-001", "20261130-001"},
       {5, 8670, 186782}},
      {"张记 finds 张记 and 张记木业",
       {billbook::Between(20261201, 20261231), "张记", ""},
       {"20261208-002", "20261208-001", "20261201-002"},
       {3, 4670, 146732}},
      {"the full name",
       {billbook::AllDays(), "张记木业", ""},
       {"20261208-001", "20261201-002", "20261130-001"},
       {3, 5600, 156025}},
      {"the beginning of a number",
       {billbook::AllDays(), "", "20261201"},
       {"20261201-003", "20261201-002", "20261201-001"},
       {2, 7000, 170075}},
      {"a whole number",
       {billbook::AllDays(), "", "20261130-002"},
       {"20261130-002"},
       {1, 2000, 20000}},
      {"a period given backwards",
       {billbook::Between(20261201, 20261130), "", ""},
       {"20261201-003", "20261201-002", "20261201-001", "20261130-002", "20261130-001"},
       {4, 10000, 200075}},
      {"nobody", {billbook::AllDays(), "赵", ""}, {}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Numbers(c.query), c.numbers);
    EXPECT_EQ(book_.Sum(c.query), c.totals);
  }
}

TEST_F(BillQueryTest, PagesJoinIntoTheWholeList) {
  // The whole book, and prefixes over all days, which choose their pages another way.
  const BillQuery queries[] = {
      {}, {billbook::AllDays(), "张", ""}, {billbook::AllDays(), "", "2026"}};
  for (const BillQuery& query : queries) {
    SCOPED_TRACE(query.buyer_prefix + query.number_prefix);
    const std::vector<std::string> all = Numbers(query);
    ASSERT_GE(all.size(), 4u);
    std::vector<std::string> sorted = all;
    std::sort(sorted.rbegin(), sorted.rend());
    EXPECT_EQ(all, sorted) << "newest first";
    std::vector<std::string> paged;
    for (int offset = 0; offset < 9; offset += 3) {
      const std::vector<std::string> page = Numbers(query, offset, 3);
      EXPECT_LE(page.size(), 3u);
      paged.insert(paged.end(), page.begin(), page.end());
    }
    EXPECT_EQ(paged, all);
  }
  EXPECT_EQ(Numbers({}).size(), 7u);
  const auto rows = book_.List({billbook::AllDays(), "", "20261201-003"}, 0, 1);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(rows[0].voided);
  EXPECT_EQ(rows[0].buyer, "王五");
  EXPECT_EQ(rows[0].total_amount, "500.00");
  EXPECT_EQ(rows[0].day, 20261201);
}

TEST_F(BillQueryTest, SummariesPerBuyerAndPerDayLeaveVoidedBillsOut) {
  const BillQuery december{billbook::Between(20261201, 20261231), "", ""};
  const auto buyers = book_.SummaryByBuyer(december);
  ASSERT_EQ(buyers.size(), 3u);  // 王五's only bill is voided
  std::map<std::string, Totals> by_buyer;
  for (const auto& s : buyers) by_buyer[s.buyer] = s.totals;
  EXPECT_EQ(by_buyer["张三"], (Totals{1, 3000, 30050}));
  EXPECT_EQ(by_buyer["张记木业"], (Totals{2, 4600, 146025}));
  EXPECT_EQ(by_buyer["张记"], (Totals{1, 70, 707}));

  const auto days = book_.SummaryByDay({});
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0].day, 20261130);
  EXPECT_EQ(days[0].totals, (Totals{2, 3000, 30000}));
  EXPECT_EQ(days[1].day, 20261201);
  EXPECT_EQ(days[1].totals, (Totals{2, 7000, 170075}));
  EXPECT_EQ(days[2].day, 20261208);
}

TEST_F(BillQueryTest, SummaryPerBuyerAndMonthSplitsEachBuyersMonths) {
  struct Row {
    std::string buyer;
    int month;
    Totals totals;
    bool operator==(const Row&) const = default;
  };
  struct Case {
    const char* what;
    BillQuery query;
    std::vector<Row> rows;
  };
  const Case cases[] = {
      {"every day",
       {},
       {{"张三", 202612, {1, 3000, 30050}},
        {"张记", 202612, {1, 70, 707}},
        {"张记木业", 202611, {1, 1000, 10000}},
        {"张记木业", 202612, {2, 4600, 146025}},
        {"李张建材", 202611, {1, 2000, 20000}}}},
      {"a buyer prefix",
       {billbook::AllDays(), "张记", ""},
       {{"张记", 202612, {1, 70, 707}},
        {"张记木业", 202611, {1, 1000, 10000}},
        {"张记木业", 202612, {2, 4600, 146025}}}},
      {"one month",
       {billbook::Between(20261101, 20261130), "", ""},
       {{"张记木业", 202611, {1, 1000, 10000}}, {"李张建材", 202611, {1, 2000, 20000}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Row> rows;
    for (const auto& s : book_.SummaryByBuyerAndMonth(c.query)) {
      rows.push_back({s.buyer, s.month, s.totals});
    }
    EXPECT_EQ(rows, c.rows);
  }
}

// Listed in full, a query finds the bills List finds, oldest first; each bill comes with its
// latest revision's lines and scaler, and the prints of all its revisions.
TEST_F(BillQueryTest, ListedInFullTheSameBillsOldestFirstWithTheLatestRevision) {
  for (const BillQuery& query : {BillQuery{}, BillQuery{billbook::AllDays(), "张", ""},
                                 BillQuery{billbook::Between(20261201, 20261231), "", "20261201"},
                                 BillQuery{billbook::AllDays(), "赵", ""}}) {
    std::vector<std::string> numbers;
    for (const auto& bill : book_.ListInFull(query)) numbers.push_back(bill.row.number);
    std::vector<std::string> listed = Numbers(query);
    std::reverse(listed.begin(), listed.end());
    EXPECT_EQ(numbers, listed) << query.buyer_prefix << query.number_prefix;
  }

  billbook::BillContent corrected = Bill("张三", "0.3500", "350.00", 7, 2);
  corrected.lines[5] = {"", "", "", "", "", "", "", "9.99"};  // a line with one field filled
  corrected.scaler = "小李";
  book_.Record("20261201-001", Bill("张三", "0.3000", "300.50"), RecorderAt(2026, 12, 1, 10));
  book_.Record("20261201-001", corrected, RecorderAt(2026, 12, 3));
  book_.Record("20261201-001", corrected, RecorderAt(2026, 12, 4));
  book_.Record("", Bill("赵六", "0", "0", 0, 0), RecorderAt(2026, 12, 9));

  const auto bills = book_.ListInFull({billbook::AllDays(), "", "20261201"});
  ASSERT_EQ(bills.size(), 3u);
  const billbook::BillInFull& bill = bills[0];
  EXPECT_EQ(bill.row.number, "20261201-001");
  EXPECT_EQ(bill.row.revision_count, 2);
  EXPECT_EQ(bill.row.total_volume, "0.3500");
  EXPECT_EQ(bill.row.time, "2026-12-03 09:30:00");
  EXPECT_EQ(bill.scaler, "小李");
  EXPECT_EQ(bill.volume_e4, 3500);
  EXPECT_EQ(bill.amount_fen, 35000);
  EXPECT_EQ(bill.print_count, 4);  // twice the first revision, twice the correction
  ASSERT_EQ(bill.lines.size(), 3u);
  EXPECT_EQ(bill.lines[0], corrected.lines[0]);
  EXPECT_EQ(bill.lines[1], corrected.lines[1]);
  EXPECT_EQ(bill.lines[2], corrected.lines[5]);
  EXPECT_TRUE(bills[2].row.voided);
  EXPECT_EQ(bills[2].print_count, 1);

  const auto without_lines = book_.ListInFull({billbook::Today({2026, 12, 9}), "", ""});
  ASSERT_EQ(without_lines.size(), 1u);
  EXPECT_TRUE(without_lines[0].lines.empty());
  EXPECT_EQ(without_lines[0].row.buyer, "赵六");
}

TEST(BillBookInFull, ABookNotYetMadeListsNothing) {
  test_support::TempDir temp;
  const billbook::BillBook book(temp.Path() / billbook::kBookFileName);
  EXPECT_TRUE(book.ListInFull({}).empty());
  EXPECT_FALSE(std::filesystem::exists(book.file()));
}

TEST(BillPeriods, MonthsRollOverYearsAndLeapDays) {
  const auto days = [](Period p) { return std::pair{p.first_day, p.last_day}; };
  EXPECT_EQ(days(billbook::LastMonth({2027, 1, 15})), std::pair(20261201, 20261231));
  EXPECT_EQ(days(billbook::ThisMonth({2028, 2, 3})), std::pair(20280201, 20280229));
  EXPECT_EQ(days(billbook::LastMonth({2100, 3, 1})), std::pair(21000201, 21000228));
  EXPECT_EQ(days(billbook::ThisMonth({2026, 4, 30})), std::pair(20260401, 20260430));
  EXPECT_EQ(days(billbook::Today({2026, 12, 8})), std::pair(20261208, 20261208));
}

}  // namespace
