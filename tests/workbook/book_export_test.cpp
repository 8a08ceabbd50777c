// The bill book exported into a workbook of its own: what each sheet holds, the names the
// workbook takes, and the failures that leave no workbook behind. Checked with xlrd
// (strict) as well as with the engine.
#include "workbook/book_export.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "workbook/automation_error.h"
#include "xls/xls_document.h"

namespace workbook {
namespace {

namespace fs = std::filesystem;
using billbook::BillQuery;

billbook::Recorder At(int month, int day, int hour = 9) {
  return {{2026, month, day, hour, 15, 0}, "收银台", "王会计"};
}

// A bill of `lines` lines of 杉木 boards; `length` tells one bill's lines from another's.
billbook::BillContent Bill(const std::string& buyer, int lines, const std::string& length,
                           const std::string& volume, const std::string& amount) {
  billbook::BillContent bill;
  bill.buyer = buyer;
  bill.seller = "林场一队";
  bill.scaler = "老周";
  for (int line = 0; line < lines; ++line) {
    bill.lines[static_cast<std::size_t>(line)] = {length, "18",     "2.5",  "3",
                                                  "12",   "0.1296", "1250", "162.00"};
  }
  bill.total_volume = volume;
  bill.total_amount = amount;
  return bill;
}

fs::path Template() {
  return fs::path(VERDALON_TEMPLATE_DIR) / kBookExportTemplateFileName;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().filename());
  return files;
}

// November's bill, then December's: two of 张记木业 (the second corrected and reprinted),
// one of a buyer whose name reads as a number, one voided.
class BookExportTest : public ::testing::Test {
 protected:
  BookExportTest() : book_(temp_.Path() / billbook::kBookFileName), out_(temp_.Path() / u"导出") {
    fs::create_directory(out_);
    book_.Record("", Bill("李四", 1, "2", "0.1296", "162.00"), At(11, 30));     // 20261130-001
    book_.Record("", Bill("张记木业", 2, "4", "0.2592", "324.00"), At(12, 1));  // 20261201-001
    book_.Record("", Bill("123", 1, "5", "0.1296", "162.00"), At(12, 1, 10));   // 20261201-002
    book_.Record("", Bill("王五", 3, "6", "0.3888", "486.00"), At(12, 3));      // 20261203-001
    book_.Void("20261203-001", "写错买方", At(12, 3, 11));
    book_.Record("", Bill("张记木业", 1, "3", "0.1296", "162.00"), At(12, 5));  // 20261205-001
    const billbook::BillContent corrected = Bill("张记木业", 2, "3", "1,234.5678", "1,500.05");
    book_.Record("20261205-001", corrected, At(12, 6));
    book_.Record("20261205-001", corrected, At(12, 7));
  }

  test_support::TempDir temp_;
  billbook::BillBook book_;
  fs::path out_;
  const BillQuery december_{billbook::Between(20261201, 20261231), "", ""};
};

// What the engine reads back, cell by cell, with whether each is stored as a number.
struct Expected {
  const char16_t* sheet;
  int row, column;
  const char16_t* shown;  // as a General cell shows it
  bool number;
};

TEST_F(BookExportTest, EachSheetHoldsTheBillsTheirLinesAndTheBuyersSums) {
  const fs::path file = ExportBook(book_, december_, out_, Template());
  EXPECT_EQ(file, out_ / u"账本-20261201-20261231.xls");
  const auto document = xls::XlsDocument::Open(file);
  const Expected cells[] = {
      // Oldest first; the voided bill is listed, the corrected one shows its latest revision.
      {kBillsSheet, 1, 1, u"单号", false},
      {kBillsSheet, 2, 1, u"20261201-001", false},
      {kBillsSheet, 2, 2, u"2026-12-01 09:15:00", false},
      {kBillsSheet, 2, 3, u"张记木业", false},
      {kBillsSheet, 2, 4, u"林场一队", false},
      {kBillsSheet, 2, 5, u"老周", false},
      {kBillsSheet, 2, 6, u"0.2592", true},
      {kBillsSheet, 2, 7, u"324", true},
      {kBillsSheet, 2, 8, u"", false},
      {kBillsSheet, 2, 9, u"1", true},
      {kBillsSheet, 2, 10, u"1", true},
      {kBillsSheet, 3, 3, u"123", false},  // a name, though it reads as a number
      {kBillsSheet, 4, 1, u"20261203-001", false},
      {kBillsSheet, 4, 8, u"已作废", false},
      {kBillsSheet, 5, 1, u"20261205-001", false},
      {kBillsSheet, 5, 2, u"2026-12-06 09:15:00", false},
      {kBillsSheet, 5, 6, u"1234.5678", true},
      {kBillsSheet, 5, 7, u"1500.05", true},
      {kBillsSheet, 5, 8, u"已更正", false},
      {kBillsSheet, 5, 9, u"2", true},
      {kBillsSheet, 5, 10, u"3", true},
      {kBillsSheet, 6, 1, u"", false},
      // Two lines, one, three of the voided bill, two of the correction: eight rows.
      {kLinesSheet, 2, 1, u"20261201-001", false},
      {kLinesSheet, 2, 2, u"4", true},
      {kLinesSheet, 2, 4, u"2.5", true},
      {kLinesSheet, 2, 7, u"0.1296", true},
      {kLinesSheet, 2, 9, u"162", true},
      {kLinesSheet, 3, 1, u"20261201-001", false},
      {kLinesSheet, 4, 1, u"20261201-002", false},
      {kLinesSheet, 7, 1, u"20261203-001", false},
      {kLinesSheet, 8, 2, u"3", true},
      {kLinesSheet, 9, 1, u"20261205-001", false},
      {kLinesSheet, 10, 1, u"", false},
      // By name, the voided bill's buyer left out; the 合计 of the bills that count.
      {kBuyersSheet, 2, 1, u"123", false},
      {kBuyersSheet, 2, 2, u"1", true},
      {kBuyersSheet, 2, 3, u"0.1296", true},
      {kBuyersSheet, 3, 1, u"张记木业", false},
      {kBuyersSheet, 3, 2, u"2", true},
      {kBuyersSheet, 3, 3, u"1234.827", true},
      {kBuyersSheet, 3, 4, u"1824.05", true},
      {kBuyersSheet, 4, 1, u"合计", false},
      {kBuyersSheet, 4, 2, u"3", true},
      {kBuyersSheet, 4, 3, u"1234.9566", true},
      {kBuyersSheet, 4, 4, u"1986.05", true},
      {kBuyersSheet, 5, 1, u"", false},
  };
  for (const Expected& cell : cells) {
    const std::size_t sheet = document->WorksheetIndex(cell.sheet);
    SCOPED_TRACE(base::ToUtf8(cell.sheet) + " " + std::to_string(cell.row) + "," +
                 std::to_string(cell.column));
    EXPECT_EQ(document->Cell(sheet, cell.row, cell.column), cell.shown);
    const xls::biff::CellData* data = document->Sheet(sheet).Find(
        {static_cast<std::uint16_t>(cell.row - 1), static_cast<std::uint16_t>(cell.column - 1)});
    const bool number = data != nullptr && data->value.kind == xls::biff::CellValue::Kind::kNumber;
    EXPECT_EQ(number, cell.number);
  }
}

// A strict reader we did not write opens it, sees the figures as numbers in their formats,
// and reads the 合计 the owner would sum himself.
TEST_F(BookExportTest, StrictReadersSeeNumbersInTheirFormats) {
  const fs::path file = ExportBook(book_, december_, out_, Template());
  if (!test_support::Run("/usr/bin/python3 -c 'import xlrd' 2>/dev/null")) {
    GTEST_SKIP() << "python3-xlrd is missing";
  }
  const std::string check =
      "/usr/bin/python3 -c \"import sys, xlrd\n"
      "b = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
      "fmt = lambda s, r, c: b.format_map[b.xf_list[s.cell_xf_index(r, c)].format_key].format_str\n"
      "bills, lines, buyers = b.sheet_by_name(u'单据'), b.sheet_by_name(u'明细'), "
      "b.sheet_by_name(u'汇总')\n"
      "assert b.sheet_names() == [u'单据', u'明细', u'汇总'], b.sheet_names()\n"
      "assert (bills.nrows, lines.nrows, buyers.nrows) == (5, 9, 4)\n"
      "assert bills.cell(4, 5).ctype == xlrd.XL_CELL_NUMBER and fmt(bills, 4, 5) == '0.0000'\n"
      "assert bills.cell(4, 6).value == 1500.05 and fmt(bills, 4, 6) == '0.00'\n"
      "assert bills.cell(2, 2).ctype == xlrd.XL_CELL_TEXT and fmt(bills, 2, 2) == '@'\n"
      "assert lines.cell(8, 6).value == 0.1296 and fmt(lines, 8, 6) == '0.0000'\n"
      "assert buyers.row_values(3) == [u'合计', 3.0, 1234.9566, 1986.05], buyers.row_values(3)\n"
      "\" '" +
      file.string() + "'";
  EXPECT_TRUE(test_support::Run(check)) << "xlrd reads the export otherwise";
}

// The name tells the days; an open end takes the first or last day with a bill; nothing
// already in the folder is written over, whatever stands at the name.
TEST_F(BookExportTest, NamedAfterThePeriodNeverOverAnythingInTheFolder) {
  struct Case {
    const char* what;
    billbook::Period period;
    std::vector<std::u16string> files, folders;  // already there
    std::u16string name;
  };
  const Case cases[] = {
      {"the month", billbook::Between(20261201, 20261231), {}, {}, u"账本-20261201-20261231.xls"},
      {"全部: the days of the first and last bill",
       billbook::AllDays(),
       {},
       {},
       u"账本-20261130-20261205.xls"},
      {"open at the start",
       {billbook::AllDays().first_day, 20261202},
       {},
       {},
       u"账本-20261130-20261202.xls"},
      {"open at the end",
       {20261201, billbook::AllDays().last_day},
       {},
       {},
       u"账本-20261201-20261205.xls"},
      {"an earlier export of the days",
       billbook::Between(20261201, 20261231),
       {u"账本-20261201-20261231.xls"},
       {},
       u"账本-20261201-20261231-2.xls"},
      {"a folder at the second name",
       billbook::Between(20261201, 20261231),
       {u"账本-20261201-20261231.xls"},
       {u"账本-20261201-20261231-2.xls"},
       u"账本-20261201-20261231-3.xls"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir folder;
    for (const std::u16string& name : c.files) std::ofstream(folder.Path() / name) << "旧的";
    for (const std::u16string& name : c.folders) fs::create_directory(folder.Path() / name);
    const fs::path file = ExportBook(book_, {c.period, "", ""}, folder.Path(), Template());
    EXPECT_EQ(file, folder.Path() / c.name);
    EXPECT_EQ(FilesIn(folder.Path()).size(), c.files.size() + c.folders.size() + 1);
    for (const std::u16string& name : c.files) {
      std::ifstream old(folder.Path() / name);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "旧的");
    }
  }
}

// Every failure is told with its number and leaves nothing in the folder.
TEST_F(BookExportTest, FailuresLeaveNoWorkbookBehind) {
  const fs::path not_a_workbook = temp_.Path() / u"坏样板.xls";
  std::ofstream(not_a_workbook) << "这不是工作簿";
  const fs::path not_a_book = temp_.Path() / u"别的.db";
  std::ofstream(not_a_book) << "这不是账本";
  const fs::path tally_workbook = fs::path(VERDALON_TEMPLATE_DIR) / u"锯材账单.xls";
  struct Case {
    const char* what;
    fs::path book, template_file;
    BillQuery query;
    int number;
    fs::path named;  // in the description
  };
  const Case cases[] = {
      {"no bill found", book_.file(), Template(), {billbook::AllDays(), "赵", ""}, 3021, {}},
      {"a book not yet made", temp_.Path() / u"新.db", Template(), {}, 3021, {}},
      {"the template missing",
       book_.file(),
       temp_.Path() / u"没有.xls",
       {},
       53,
       temp_.Path() / u"没有.xls"},
      {"the template not a workbook", book_.file(), not_a_workbook, {}, 321, not_a_workbook},
      {"the template without the export's sheets",
       book_.file(),
       tally_workbook,
       {},
       9,
       tally_workbook},
      {"the book another program's file", not_a_book, Template(), {}, 321, not_a_book},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ExportBook(billbook::BillBook(c.book), c.query, out_, c.template_file);
      ADD_FAILURE() << "exported";
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), c.number) << error.Description();
      if (!c.named.empty()) {
        EXPECT_NE(error.Description().find(base::ToUtf8(c.named.filename().u16string())),
                  std::string::npos)
            << error.Description();
      }
    }
    EXPECT_TRUE(FilesIn(out_).empty());
  }
  try {
    ExportBook(book_, december_, out_ / u"不存在", Template());
    ADD_FAILURE() << "exported into a folder that is not there";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), error_number::kFileNotFound) << error.Description();
  }
}

// Copies of bill `id` made straight in the book's tables, dated the next day: a book of
// tens of thousands of bills in a moment, where recording each would take minutes.
void CloneBill(const fs::path& book, int id, int copies) {
  const std::string original = std::to_string(id);
  const std::string copies_day = "(SELECT day + 1 FROM bills WHERE id = " + original + ")";
  const std::string sql =
      "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(copies) +
      ") INSERT INTO bills(number, day, serial, time, buyer, seller, total_volume, "
      "total_amount, volume_e4, amount_fen, revision_count) SELECT printf('%d-%05d', day + 1, "
      "i), day + 1, i, time, buyer || i, seller, total_volume, total_amount, volume_e4, "
      "amount_fen, revision_count FROM n, bills WHERE id = " +
      original +
      "; INSERT INTO revisions(bill_id, revision, time, buyer, seller, scaler, total_volume, "
      "total_amount, volume_e4, amount_fen, pc_name, user_name, print_count) SELECT b.id, 1, "
      "r.time, b.buyer, r.seller, r.scaler, r.total_volume, r.total_amount, r.volume_e4, "
      "r.amount_fen, r.pc_name, r.user_name, 1 FROM bills AS b, revisions AS r WHERE b.day = " +
      copies_day + " AND r.bill_id = " + original +
      "; INSERT INTO revision_lines SELECT c.id, l.line, l.field1, l.field2, l.field3, l.field4, "
      "l.field5, l.field6, l.field7, l.field8 FROM bills AS b, revisions AS c, revisions AS r, "
      "revision_lines AS l WHERE b.day = " +
      copies_day + " AND c.bill_id = b.id AND r.bill_id = " + original +
      " AND l.revision_id = r.id; COMMIT;";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(base::ToUtf8(book.u16string()).c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << message;
  sqlite3_free(message);
  sqlite3_close(db);
}

// A sheet holds 65535 rows below its headings: an export that fills them is written, one
// that needs a row more is refused before any file is made.
TEST(BookExportRows, AsManyAsASheetHoldsAndNotOneMore) {
  struct Case {
    const char* what;
    int lines, copies, last_lines;  // of the first bill, its copies, the last bill
    int number;                     // 0: written
    const char16_t* sheet;          // full, or the last row checked
  };
  const Case cases[] = {
      {"lines filling the sheet", 13, 5040, 2, 0, kLinesSheet},
      {"a line more", 13, 5040, 3, error_number::kOverflow, kLinesSheet},
      {"a bill more than the sheet holds", 0, 65534, 0, error_number::kOverflow, kBillsSheet},
      {"as many bills as it holds, each of its own buyer, and the 合计", 0, 65533, 0,
       error_number::kOverflow, kBuyersSheet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir temp;
    billbook::BillBook book(temp.Path() / billbook::kBookFileName);
    book.Record("", Bill("张三", c.lines, "4", "0.1296", "162.00"), At(12, 1));
    book.Record("", Bill("李四", c.last_lines, "5", "0.1296", "162.00"), At(12, 20));
    CloneBill(book.file(), 1, c.copies);
    try {
      const fs::path file = ExportBook(book, {}, temp.Path(), Template());
      EXPECT_EQ(c.number, 0) << "written";
      const auto document = xls::XlsDocument::Open(file);
      EXPECT_EQ(document->Cell(document->WorksheetIndex(c.sheet), 65536, 1), u"20261220-001");
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), c.number) << error.Description();
      EXPECT_NE(error.Description().find(base::ToUtf8(c.sheet)), std::string::npos);
      EXPECT_EQ(FilesIn(temp.Path()).size(), 1u) << "only the book";
    }
  }
}

}  // namespace
}  // namespace workbook
