// Many bills in one transaction: numbered and stored as Record stores them, and nothing
// of them in the book until committed.
#include "billbook/bulk_recorder.h"

#include <gtest/gtest.h>

#include "billbook/bill_book.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

using book_fixtures::Bill;
using book_fixtures::RecorderAt;

TEST(BulkRecorder, NumbersAndStoresBillsAsRecordDoes) {
  test_support::TempDir temp;
  billbook::BillBook by_bulk(temp.Path() / u"整批.db"), one_by_one(temp.Path() / u"逐张.db");
  by_bulk.Record("", Bill("王五", "0.1296", "162.00"), RecorderAt(2026, 12, 7));
  one_by_one.Record("", Bill("王五", "0.1296", "162.00"), RecorderAt(2026, 12, 7));
  struct Entry {
    billbook::BillContent content;
    int day;
  };
  const Entry entries[] = {
      {Bill("张记木业", "0.3888", "486.00", 0, 13), 7},
      {Bill("李家建材", "0.2592", "324.00", 1, 2), 8},
      {Bill("张记木业", "1,296.0000", "-12.5", 2, 0), 8},
  };
  {
    billbook::BulkRecorder bulk(by_bulk.file());
    for (const Entry& entry : entries) {
      EXPECT_EQ(bulk.Add(entry.content, RecorderAt(2026, 12, entry.day)),
                one_by_one.Record("", entry.content, RecorderAt(2026, 12, entry.day)).number);
    }
    bulk.Commit();
  }
  const auto rows = one_by_one.List({}, 0, 10);
  ASSERT_EQ(by_bulk.List({}, 0, 10).size(), rows.size());
  for (const auto& row : rows) {
    const auto a = by_bulk.Open(row.number), b = one_by_one.Open(row.number);
    ASSERT_EQ(a.revisions.size(), 1u);
    EXPECT_EQ(a.revisions[0].content, b.revisions[0].content) << row.number;
    EXPECT_EQ(a.revisions[0].amount_fen, b.revisions[0].amount_fen) << row.number;
  }
  EXPECT_EQ(by_bulk.Sum({}), one_by_one.Sum({}));
}

TEST(BulkRecorder, BillsNotCommittedNeverReachTheBook) {
  test_support::TempDir temp;
  billbook::BillBook book(temp.Path() / billbook::kBookFileName);
  {
    billbook::BulkRecorder bulk(book.file());
    bulk.Add(Bill("王五", "0.1296", "162.00"), RecorderAt(2026, 12, 8));
    bulk.Commit();
    bulk.Add(Bill("王五", "0.1296", "162.00"), RecorderAt(2026, 12, 8));
    EXPECT_THROW(bulk.Add(Bill("王五", "0.1296", "16.2.00"), RecorderAt(2026, 12, 8)),
                 billbook::BookError);
  }
  EXPECT_EQ(book.Sum({}).bills, 1);
  EXPECT_EQ(book.Record("", Bill("王五", "0.1296", "162.00"), RecorderAt(2026, 12, 8)).number,
            "20261208-002");
}

}  // namespace
