// A book the first version wrote, kept as a file: today's program reads every bill of it as
// it reads the same bills it records itself, and records on into it.
#include <gtest/gtest.h>

#include <functional>

#include "billbook/bill_book.h"
#include "billbook/book_schema.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using book_fixtures::ExecuteSql;

const fs::path kKeptBook = fs::path(BOOK_DATA_DIR) / u"锯材账本-v1.db";

std::string Pragma(const fs::path& file, const std::string& name) {
  std::string value;
  EXPECT_TRUE(ExecuteSql(file, "PRAGMA " + name, &value));
  return value;
}

struct FirstVersionBook : ::testing::Test {
  void SetUp() override {
    fs::copy_file(kKeptBook, kept_file);
    billbook::BillBook today(fresh_file);
    book_fixtures::RecordSampleBook(today);
  }
  test_support::TempDir temp;
  fs::path kept_file = temp.Path() / billbook::kBookFileName;
  fs::path fresh_file = temp.Path() / u"今天的账本.db";
  billbook::BillBook kept{kept_file};
  billbook::BillBook fresh{fresh_file};
};

TEST_F(FirstVersionBook, ReadsAsTheSameBillsRecordedToday) {
  ASSERT_EQ(Pragma(kKeptBook, "user_version"), "1");
  const auto rows = fresh.List({}, 0, 100);
  ASSERT_EQ(kept.List({}, 0, 100).size(), rows.size());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number);
    const billbook::OpenedBill old = kept.Open(row.number);
    const billbook::OpenedBill now = fresh.Open(row.number);
    ASSERT_EQ(old.revisions.size(), now.revisions.size());
    for (std::size_t i = 0; i < now.revisions.size(); ++i) {
      const auto &a = old.revisions[i], &b = now.revisions[i];
      EXPECT_EQ(a.content, b.content);
      EXPECT_EQ(a.time, b.time);
      EXPECT_EQ(a.print_count, b.print_count);
      EXPECT_EQ(a.amount_fen, b.amount_fen);
      EXPECT_EQ(a.pc_name, b.pc_name);
    }
    EXPECT_EQ(old.voided, now.voided);
    EXPECT_EQ(old.voiding.reason, now.voiding.reason);
  }
  EXPECT_EQ(kept.Sum({}), fresh.Sum({}));
  const auto old_buyers = kept.SummaryByBuyer({}), new_buyers = fresh.SummaryByBuyer({});
  ASSERT_EQ(old_buyers.size(), new_buyers.size());
  for (std::size_t i = 0; i < new_buyers.size(); ++i) {
    EXPECT_EQ(old_buyers[i].buyer, new_buyers[i].buyer);
    EXPECT_EQ(old_buyers[i].totals, new_buyers[i].totals);
  }
}

std::string IndexNames(const fs::path& file) {
  std::string names;
  EXPECT_TRUE(ExecuteSql(file,
                         "SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_schema "
                         "WHERE type = 'index' AND sql IS NOT NULL ORDER BY name)",
                         &names));
  return names;
}

TEST_F(FirstVersionBook, RecordsOnAsTheProgramsOwnBook) {
  const std::string first_indexes = IndexNames(kept_file);
  kept.List({}, 0, 10);
  EXPECT_EQ(IndexNames(kept_file), first_indexes) << "a read wrote the book";
  const auto recorded = kept.Record("", book_fixtures::Bill("李家建材", "0.1296", "162.00"),
                                    book_fixtures::RecorderAt(2026, 12, 8, 17));
  EXPECT_EQ(recorded.number, fresh
                                 .Record("", book_fixtures::Bill("李家建材", "0.1296", "162.00"),
                                         book_fixtures::RecorderAt(2026, 12, 8, 17))
                                 .number);
  EXPECT_EQ(kept.Open(recorded.number).revisions.at(0).content.buyer, "李家建材");
  EXPECT_EQ(kept.Sum({}), fresh.Sum({}));
  EXPECT_EQ(Pragma(kept_file, "user_version"), std::to_string(billbook::CurrentSchemaVersion()));
  EXPECT_EQ(Pragma(kept_file, "integrity_check"), "ok");
  // It has the indexes of a book made today, and programs of its own version still use it.
  EXPECT_EQ(IndexNames(kept_file), IndexNames(fresh_file));
  EXPECT_NE(IndexNames(kept_file), first_indexes);
}

}  // namespace
