// The made-up book the bill book's speed is measured on: whole bills, the same every time,
// and never over an existing book.
#include "sample_bill_book.h"

#include <gtest/gtest.h>

#include "billbook/bill_book.h"
#include "billbook/exact_amount.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;

TEST(SampleBillBook, BillsAreWholeTheSameEachTimeAndNoBookIsWrittenOver) {
  test_support::TempDir temp;
  const tools::SampleBookShape shape{20261208, 2, 5};
  const fs::path first = temp.Path() / u"一.db", second = temp.Path() / u"二.db";
  tools::MakeSampleBillBook(first, shape);
  tools::MakeSampleBillBook(second, shape);
  billbook::BillBook book(first);
  const auto rows = book.List({}, 0, 100);
  ASSERT_EQ(rows.size(), 10u);
  for (const auto& row : rows) {
    const auto bill = book.Open(row.number);
    EXPECT_EQ(bill.revisions.at(0).content,
              billbook::BillBook(second).Open(row.number).revisions.at(0).content);
    std::int64_t fen = 0, volume = 0;
    for (const auto& line : bill.revisions[0].content.lines) {
      volume += billbook::ScaledInteger(line[5], billbook::kVolumeDecimals).value_or(-1);
      fen += billbook::ScaledInteger(line[7], billbook::kFenDecimals).value_or(-1);
    }
    EXPECT_EQ(bill.revisions[0].volume_e4, volume) << row.number;
    EXPECT_EQ(bill.revisions[0].amount_fen, fen) << row.number;
  }
  const auto before = test_support::LoadFile(first);
  EXPECT_THROW(tools::MakeSampleBillBook(first, shape), std::runtime_error);
  EXPECT_EQ(test_support::LoadFile(first), before);
}

}  // namespace
