// What one bill is in the book: recorded new, reprinted unchanged, corrected into a new
// revision of the same number, opened again and voided; walked through as one table.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

using billbook::BillContent;
using billbook::Recorded;
using book_fixtures::Bill;
using book_fixtures::RecorderAt;

struct Step {
  const char* what;
  const char* bill;  // the window's bill; a name not seen yet is a bill never exported
  int content;       // which of the contents below the window holds
  int day;           // of December 2026
  // expected
  Recorded::Kind kind;
  const char* number;
  int revision;
  int print_count;
};

constexpr auto kNew = Recorded::Kind::kNewBill;
constexpr auto kReprint = Recorded::Kind::kReprint;
constexpr auto kRevision = Recorded::Kind::kNewRevision;

const Step kSteps[] = {
    {"first export of the day", "A", 0, 8, kNew, "20261208-001", 1, 1},
    {"exported again unchanged", "A", 0, 8, kReprint, "20261208-001", 1, 2},
    {"printed again unchanged", "A", 0, 8, kReprint, "20261208-001", 1, 3},
    {"a length corrected", "A", 1, 8, kRevision, "20261208-001", 2, 1},
    {"the correction reprinted", "A", 1, 8, kReprint, "20261208-001", 2, 2},
    {"after 清除数据, the same texts typed again", "B", 0, 8, kNew, "20261208-002", 1, 1},
    {"the buyer changed only", "B", 2, 8, kRevision, "20261208-002", 2, 1},
    {"back to the first texts: a revision too", "B", 0, 8, kRevision, "20261208-002", 3, 1},
    {"a bill of the next day", "C", 0, 9, kNew, "20261209-001", 1, 1},
    {"the old bill corrected the next day", "A", 3, 9, kRevision, "20261208-001", 3, 1},
};

TEST(BillRules, RecordReprintCorrectReopen) {
  const BillContent contents[] = {
      Bill("张记木业", "0.3888", "486.00"),
      Bill("张记木业", "0.4056", "507.00", 1),
      Bill("李家建材", "0.3888", "486.00"),
      Bill("张记木业", "0.5184", "648.00", 1, 4),
  };
  test_support::TempDir temp;
  billbook::BillBook book(temp.Path() / billbook::kBookFileName);
  std::map<std::string, std::string> numbers;       // the window's bill -> its number
  std::map<std::string, std::vector<int>> printed;  // number -> contents, one per revision

  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.what);
    const Recorded recorded =
        book.Record(numbers[step.bill], contents[step.content], RecorderAt(2026, 12, step.day));
    EXPECT_EQ(recorded.kind, step.kind);
    EXPECT_EQ(recorded.number, step.number);
    EXPECT_EQ(recorded.revision, step.revision);
    EXPECT_EQ(recorded.print_count, step.print_count);
    numbers[step.bill] = recorded.number;
    if (recorded.kind != kReprint) printed[recorded.number].push_back(step.content);

    // Reopened, the bill shows every revision ever printed, newest first.
    const billbook::OpenedBill opened = book.Open(recorded.number);
    const std::vector<int>& expected = printed[recorded.number];
    ASSERT_EQ(opened.revisions.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const billbook::Revision& revision = opened.revisions[expected.size() - 1 - i];
      EXPECT_EQ(revision.number, static_cast<int>(i + 1));
      EXPECT_EQ(revision.content, contents[expected[i]]);
    }
    EXPECT_EQ(opened.revisions.front().print_count, step.print_count);
    EXPECT_FALSE(opened.voided);
  }

  // The earlier revisions keep their own times, totals and print counts.
  const billbook::OpenedBill a = book.Open("20261208-001");
  EXPECT_EQ(a.revisions[2].print_count, 3);
  EXPECT_EQ(a.revisions[2].time, "2026-12-08 09:30:00");
  EXPECT_EQ(a.revisions[2].amount_fen, 48600);
  EXPECT_EQ(a.revisions[0].time, "2026-12-09 09:30:00");
  EXPECT_EQ(a.revisions[0].volume_e4, 5184);
  EXPECT_EQ(a.revisions[0].pc_name, "收银台");
  EXPECT_EQ(a.revisions[0].user, "王会计");

  // 作废: kept with its reason, the first reason kept; out of the totals.
  const billbook::Totals before = book.Sum({});
  book.Void("20261208-002", "买方退货", RecorderAt(2026, 12, 9, 15));
  book.Void("20261208-002", "又点了一次", RecorderAt(2026, 12, 9, 16));
  const billbook::OpenedBill b = book.Open("20261208-002");
  EXPECT_TRUE(b.voided);
  EXPECT_EQ(b.voiding.reason, "买方退货");
  EXPECT_EQ(b.voiding.time, "2026-12-09 15:30:00");
  EXPECT_EQ(b.revisions.size(), 3u);
  const billbook::Totals after = book.Sum({});
  EXPECT_EQ(after.bills, before.bills - 1);
  EXPECT_EQ(after.amount_fen, before.amount_fen - 48600);
  EXPECT_EQ(after.volume_e4, before.volume_e4 - 3888);
}

TEST(BillRules, UnknownNumbersAndUnreadableTotalsAreRefused) {
  test_support::TempDir temp;
  billbook::BillBook book(temp.Path() / billbook::kBookFileName);
  const auto failure_of = [](const auto& action) {
    try {
      action();
    } catch (const billbook::BookError& error) {
      return error.failure();
    }
    return billbook::Failure::kInputOutput;
  };
  // No book yet: reading finds nothing and makes no file.
  EXPECT_EQ(failure_of([&] { book.Open("20261208-001"); }), billbook::Failure::kNoSuchBill);
  EXPECT_TRUE(book.List({}, 0, 10).empty());
  EXPECT_FALSE(std::filesystem::exists(book.file()));

  EXPECT_EQ(failure_of(
                [&] { book.Record("", Bill("张记", "0.12345", "1.00"), RecorderAt(2026, 12, 8)); }),
            billbook::Failure::kBadTotal);
  EXPECT_FALSE(std::filesystem::exists(book.file()));
  book.Record("", Bill("张记", "0.1234", "1.00"), RecorderAt(2026, 12, 8));
  EXPECT_EQ(failure_of([&] {
              book.Record("20261208-007", Bill("张记", "0", "0"), RecorderAt(2026, 12, 8));
            }),
            billbook::Failure::kNoSuchBill);
  EXPECT_EQ(failure_of([&] { book.Void("20261208-007", "", RecorderAt(2026, 12, 8)); }),
            billbook::Failure::kNoSuchBill);
  EXPECT_EQ(book.List({}, 0, 10).size(), 1u);
}

}  // namespace
