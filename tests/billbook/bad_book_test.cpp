// What stands at the book's name is not a book this program may write: each case gives its
// typed failure, for recording and for reading, and leaves the file as it was, byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "billbook/book_schema.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using billbook::Failure;
using book_fixtures::ExecuteSql;

billbook::Failure FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const billbook::BookError& error) {
    return error.failure();
  }
  ADD_FAILURE() << "no failure";
  return Failure::kInputOutput;
}

// A book of this program with two bills.
void MakeBook(const fs::path& file) {
  billbook::BillBook book(file);
  for (int i = 0; i < 2; ++i) {
    book.Record("", book_fixtures::Bill("张记木业", "0.3888", "486.00"),
                book_fixtures::RecorderAt(2026, 12, 8));
  }
}

// The first byte of the `table`'s root page: a page type SQLite does not know.
void DamageTable(const fs::path& file, const std::string& table) {
  std::string root, page_size;
  ASSERT_TRUE(
      ExecuteSql(file, "SELECT rootpage FROM sqlite_schema WHERE name = '" + table + "'", &root));
  ASSERT_TRUE(ExecuteSql(file, "PRAGMA page_size", &page_size));
  test_support::Bytes bytes = test_support::LoadFile(file);
  bytes.at(static_cast<std::size_t>((std::stoi(root) - 1) * std::stoi(page_size))) = 0x6B;
  test_support::SaveFile(file, bytes);
}

// Everything in the folder, names and bytes.
std::map<fs::path, test_support::Bytes> FolderContents(const fs::path& folder) {
  std::map<fs::path, test_support::Bytes> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    contents[entry.path()] =
        entry.is_regular_file() ? test_support::LoadFile(entry.path()) : test_support::Bytes{};
  }
  return contents;
}

TEST(BadBook, EachGivesItsFailureAndStaysAsItWas) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    Failure failure;
  };
  const Case cases[] = {
      {"a folder", [](const fs::path& f) { fs::create_directories(f / "里面"); },
       Failure::kNotAFile},
      {"a text file",
       [](const fs::path& f) {
         test_support::Bytes text(3000, 'x');
         test_support::SaveFile(f, text);
       },
       Failure::kNotSqlite},
      {"a spreadsheet renamed",
       [](const fs::path& f) {
         test_support::SaveFile(f, test_support::BuildCompoundFile(3, {{u"Workbook", {1, 2, 3}}}));
       },
       Failure::kNotSqlite},
      {"another program's database",
       [](const fs::path& f) {
         ASSERT_TRUE(
             ExecuteSql(f, "CREATE TABLE customers(name); INSERT INTO customers VALUES('张')"));
       },
       Failure::kForeignDatabase},
      {"another program's database with our table names and a version",
       [](const fs::path& f) {
         ASSERT_TRUE(ExecuteSql(f, "PRAGMA user_version = 1; CREATE TABLE bills(number)"));
       },
       Failure::kForeignDatabase},
      {"another program's database in WAL mode",
       [](const fs::path& f) {
         ASSERT_TRUE(ExecuteSql(f,
                                "PRAGMA journal_mode = WAL; CREATE TABLE t(x);"
                                "PRAGMA journal_mode = DELETE; PRAGMA journal_mode = WAL"));
       },
       Failure::kForeignDatabase},
      {"a book of a later version",
       [](const fs::path& f) {
         MakeBook(f);
         ASSERT_TRUE(ExecuteSql(
             f, "PRAGMA user_version = " + std::to_string(billbook::CurrentSchemaVersion() + 1)));
       },
       Failure::kNewerThanProgram},
      {"a book with a damaged table",
       [](const fs::path& f) {
         MakeBook(f);
         DamageTable(f, "bills");
       },
       Failure::kDamaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir temp;
    const fs::path file = temp.Path() / billbook::kBookFileName;
    c.make(file);
    const auto before = FolderContents(temp.Path());
    billbook::BillBook book(file);
    EXPECT_EQ(FailureOf([&] {
                book.Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                            book_fixtures::RecorderAt(2026, 12, 9));
              }),
              c.failure);
    EXPECT_EQ(FailureOf([&] { book.List({}, 0, 50); }), c.failure);
    // A month's sum reads the bills' rows; one over all years reads an index alone, and
    // SQLite finds a damaged page only where it reads.
    EXPECT_EQ(FailureOf([&] {
                book.Sum({billbook::Between(20261201, 20261231), "", ""});
              }),
              c.failure);
    EXPECT_EQ(FolderContents(temp.Path()), before);
  }
}

TEST(BadBook, ABookLockedPastTheBusyWaitIsBusyAndUntouched) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / billbook::kBookFileName;
  MakeBook(file);
  const test_support::Bytes before = test_support::LoadFile(file);
  // Another PC in the middle of its write.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(base::ToUtf8(file.u16string()).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  billbook::BillBook book(file);
  EXPECT_EQ(FailureOf([&] {
              book.Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                          book_fixtures::RecorderAt(2026, 12, 9));
            }),
            Failure::kBusy);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(test_support::LoadFile(file), before);
  // Once the other PC is done, the bill goes in.
  EXPECT_EQ(book.Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                        book_fixtures::RecorderAt(2026, 12, 8))
                .number,
            "20261208-003");
}

}  // namespace
