// Two PCs recording into one book at once: every bill goes in, each with a number of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "book_fixtures.h"
#include "child_process.h"
#include "compound_files.h"

namespace {

constexpr int kBillsEach = 200;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // Windows' text-mode output
    lines.push_back(line);
  }
  return lines;
}

TEST(SharedBook, TwoRecordersAtOnceLoseNothingAndNeverShareANumber) {
  test_support::TempDir temp;
  const std::filesystem::path file = temp.Path() / billbook::kBookFileName;
  const std::string name = base::ToUtf8(file.u16string());
  test_support::ChildProcess first(BOOK_RECORDER, {name, std::to_string(kBillsEach), "张记木业"});
  test_support::ChildProcess second(BOOK_RECORDER, {name, std::to_string(kBillsEach), "李家建材"});
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(second.Started());
  const std::vector<std::string> first_numbers = Lines(first.ReadAll());
  const std::vector<std::string> second_numbers = Lines(second.ReadAll());
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(second.Wait(), 0);
  ASSERT_EQ(first_numbers.size(), static_cast<std::size_t>(kBillsEach));
  ASSERT_EQ(second_numbers.size(), static_cast<std::size_t>(kBillsEach));

  std::set<std::string> handed_out(first_numbers.begin(), first_numbers.end());
  handed_out.insert(second_numbers.begin(), second_numbers.end());
  EXPECT_EQ(handed_out.size(), 2u * kBillsEach);

  // The book holds each bill under the number its recorder was given, serials 1 to 400.
  billbook::BillBook book(file);
  std::set<std::string> in_book;
  for (const auto& row : book.List({}, 0, 3 * kBillsEach)) {
    in_book.insert(row.number);
    const bool by_first = std::count(first_numbers.begin(), first_numbers.end(), row.number) == 1;
    EXPECT_EQ(row.buyer, by_first ? "张记木业" : "李家建材") << row.number;
  }
  EXPECT_EQ(in_book, handed_out);
  EXPECT_EQ(*in_book.begin(), "20261208-001");
  EXPECT_EQ(*in_book.rbegin(), "20261208-400");
  EXPECT_EQ(book.SummaryByBuyer({}).size(), 2u);
  EXPECT_EQ(book.Sum({}), (billbook::Totals{2 * kBillsEach, 2 * kBillsEach, 2 * kBillsEach}));

  // SQLite's own check of every page and index.
  std::string check;
  ASSERT_TRUE(book_fixtures::ExecuteSql(file, "PRAGMA integrity_check", &check));
  EXPECT_EQ(check, "ok");
  std::string version;
  ASSERT_TRUE(book_fixtures::ExecuteSql(file, "PRAGMA user_version", &version));
  EXPECT_EQ(version, "1");
  std::string journal;
  ASSERT_TRUE(book_fixtures::ExecuteSql(file, "PRAGMA journal_mode", &journal));
  EXPECT_EQ(journal, "delete");
}

}  // namespace
