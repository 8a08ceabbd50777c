// Writing into a cell of a shared or array formula: every other cell of the range goes on
// computing as before. Checked on hand-built records (no tool we have writes array
// formulas into .xls), on a corpus file written by Excel, and with LibreOffice, gnumeric
// and xlrd.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "biff_streams.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "xls/biff/formula_tokens.h"
#include "xls/cfb/compound_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::Record;
using xls::biff::SharedFormulaForCell;

// Every reader of a formula (the calculation, the print area) takes references from here.
TEST(FormulaTokens, ReferenceOperandsAsStored) {
  struct Case {
    Bytes token;
    std::optional<std::array<int, 6>> expected;  // 3-D, ixti, rows, columns
  };
  const Case cases[] = {
      // $B$3 (PtgRef, reference class): rows and columns from 0.
      {{0x24, 0x02, 0x00, 0x01, 0x00}, std::array{0, 0, 2, 2, 1, 1}},
      // A1:C10 relative (PtgArea, value class): the relative bits are not the column's.
      {{0x45, 0x00, 0x00, 0x09, 0x00, 0x00, 0xC0, 0x02, 0xC0}, std::array{0, 0, 0, 9, 0, 2}},
      // Sheet2!$E$7 (PtgRef3d) through EXTERNSHEET entry 1.
      {{0x3A, 0x01, 0x00, 0x06, 0x00, 0x04, 0x00}, std::array{1, 1, 6, 6, 4, 4}},
      // 资料!$E:$G (PtgArea3d, array class), the whole columns.
      {{0x7B, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x04, 0x00, 0x06, 0x00},
       std::array{1, 2, 0, 65535, 4, 6}},
      {{0x24, 0x02, 0x00, 0x01}, std::nullopt},                    // cut short
      {{0x1E, 0x07, 0x00}, std::nullopt},                          // a number
      {{0x2C, 0x00, 0x00, 0x00, 0xC0}, std::nullopt},              // PtgRefN: shared only
      {{0xBA, 0x01, 0x00, 0x06, 0x00, 0x04, 0x00}, std::nullopt},  // no token's id
  };
  for (const Case& c : cases) {
    const auto reference = xls::biff::ReadReferenceOperand(c.token, 0);
    ASSERT_EQ(reference.has_value(), c.expected.has_value()) << int{c.token[0]};
    if (!reference) continue;
    EXPECT_EQ(
        (std::array<int, 6>{reference->three_d, reference->ixti, reference->first_row,
                            reference->last_row, reference->first_column, reference->last_column}),
        *c.expected)
        << int{c.token[0]};
  }
}

TEST(FormulaTokens, SharedFormulaReferencesResolveForEachCell) {
  // =C(row-1)+7 as Excel shares it: PtgRefN (value class), row -1 and column 0, both relative.
  const Bytes previous_plus_seven{0x4C, 0xFF, 0xFF, 0x00, 0xC0, 0x1E, 0x07, 0x00, 0x03};
  EXPECT_EQ(SharedFormulaForCell(previous_plus_seven, 3, 2),
            (Bytes{0x44, 0x02, 0x00, 0x02, 0xC0, 0x1E, 0x07, 0x00, 0x03}));
  // One column to the left of column A wraps to IV, as the offsets of the format do.
  EXPECT_EQ(SharedFormulaForCell(Bytes{0x2C, 0x00, 0x00, 0xFF, 0xC0}, 0, 0),
            (Bytes{0x24, 0x00, 0x00, 0xFF, 0xC0}));
  // SUM of three rows from here, in the absolute column F: PtgAreaN to PtgArea, only the
  // relative parts moved.
  EXPECT_EQ(SharedFormulaForCell(
                Bytes{0x2D, 0x00, 0x00, 0x02, 0x00, 0x05, 0x80, 0x05, 0x80, 0x22, 0x01, 0x04, 0x00},
                10, 7),
            (Bytes{0x25, 0x0A, 0x00, 0x0C, 0x00, 0x05, 0x80, 0x05, 0x80, 0x22, 0x01, 0x04, 0x00}));
  // A 3-D reference carries offsets too; the string and CHOOSE jump table before it are
  // stepped over whole, not read as references.
  const Bytes mixed{0x17, 0x02, 0x00, 'a',  ',',                     // "a,"
                    0x19, 0x04, 0x01, 0x00, 0x04, 0x00, 0x08, 0x00,  // CHOOSE
                    0x5A, 0x01, 0x00, 0x01, 0x00, 0x01, 0xC0};       // Ref3d
  EXPECT_EQ(SharedFormulaForCell(mixed, 4, 4),
            (Bytes{0x17, 0x02, 0x00, 'a',  ',',  0x19, 0x04, 0x01, 0x00, 0x04,
                   0x00, 0x08, 0x00, 0x5A, 0x01, 0x00, 0x05, 0x00, 0x05, 0xC0}));
  // A token the engine does not know, or an expression cut short, converts to nothing.
  EXPECT_EQ(SharedFormulaForCell(Bytes{0x18, 0x01, 0x00}, 0, 0), std::nullopt);
  EXPECT_EQ(SharedFormulaForCell(Bytes{0x4C, 0xFF, 0xFF, 0x00}, 1, 0), std::nullopt);
  EXPECT_EQ(SharedFormulaForCell(Bytes{0x17, 0x05, 0x00, 'a'}, 1, 0), std::nullopt);

  EXPECT_EQ(xls::biff::ExpAnchor(test_support::Exp(4, 7)), (xls::biff::CellAddress{4, 7}));
  EXPECT_EQ(xls::biff::ExpAnchor(Bytes{0x01, 0x04, 0x00, 0x07, 0x00, 0x03}), std::nullopt);
}

// A sheet "码单" with 1 to 4 in A1:A4 and a formula in B1:B4: shared (=A1*2 filled down,
// as Excel stores it) or an array formula {=A1:A4*2}.
Bytes RangeWorkbook(bool array) {
  std::vector<Record> records{test_support::Dimensions(0, 4, 0, 2)};
  for (std::uint16_t row = 0; row < 4; ++row) records.push_back(test_support::Row(row, 0, 2));
  // PtgRefN one column to the left (A from B); for the array, PtgArea A1:A4 of array class.
  const Bytes shared{0x4C, 0x00, 0x00, 0xFF, 0xC0, 0x1E, 0x02, 0x00, 0x05};
  const Bytes whole{0x65, 0x00, 0x00, 0x03, 0x00, 0x00, 0xC0, 0x00, 0xC0, 0x1E, 0x02, 0x00, 0x05};
  for (std::uint16_t row = 0; row < 4; ++row) {
    records.push_back(test_support::Number(row, 0, 15, row + 1.0));
    records.push_back(test_support::Formula(row, 1, 2.0 * (row + 1), test_support::Exp(0, 1),
                                            array ? 0 : 0x0008));
    if (row == 0) {
      records.push_back(array ? test_support::ArrayFormula(0, 3, 1, 1, whole)
                              : test_support::SharedFormula(0, 3, 1, 1, shared));
    }
  }
  return test_support::BuildCompoundFile(
      3, {{u"Workbook", test_support::BuildStream({}, {{u"码单", records}})}});
}

// The records of the first sheet of a workbook file, read independently of the engine.
std::vector<Record> FirstSheetRecords(const fs::path& file) {
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  return test_support::ReadStream(*container.ReadStream(u"Workbook")).sheets.at(0);
}

// Column `column` (0 = A) of the CSV lines, rows from the first.
std::vector<std::string> CsvColumn(const std::string& csv, std::size_t column) {
  std::vector<std::string> values;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string field; std::getline(cells, field, ',');) fields.push_back(field);
    values.push_back(column < fields.size() ? fields[column] : "");
  }
  return values;
}

// A day number of the 1900 date system as LibreOffice shows it with the file's date format.
std::string UsDate(int day_number) {
  using namespace std::chrono;
  const year_month_day date{sys_days{1899y / December / 30} + days{day_number}};
  char text[16];
  std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(date.year()));
  return text;
}

class FormulaRangeTest : public ::testing::Test {
 protected:
  // Writes `text` into (row, column) of the range workbook, counted from 1.
  fs::path Written(bool array, int row, int column, const std::u16string& text) {
    const fs::path file = temp_.Path() / ("range" + std::to_string(files_++) + ".xls");
    test_support::SaveFile(file, RangeWorkbook(array));
    auto document = xls::XlsDocument::Open(file);
    document->SetCell(0, row, column, text);
    document->Save();
    return file;
  }

  // Column B as LibreOffice and gnumeric compute it, each compared with `expected`.
  void ExpectColumnB(const fs::path& file, const std::vector<std::string>& expected) {
    if (test_support::MissingProgram("soffice").empty()) {
      EXPECT_EQ(CsvColumn(test_support::LibreOfficeCsv(file, temp_.Path()), 1), expected)
          << "LibreOffice, " << file;
    }
    if (test_support::MissingProgram("ssconvert").empty()) {
      const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp_.Path());
      ASSERT_FALSE(sheets.empty());
      EXPECT_EQ(CsvColumn(sheets[0], 1), expected) << "gnumeric, " << file;
    }
  }

  test_support::TempDir temp_;
  int files_ = 0;
};

TEST_F(FormulaRangeTest, OverwrittenAnchorOfASharedFormulaLeavesOrdinaryFormulas) {
  const fs::path file = Written(false, 1, 2, u"10");
  const std::vector<Record> sheet = FirstSheetRecords(file);
  for (const Record& record : sheet) EXPECT_NE(record.type, 0x04BC) << "SHRFMLA left behind";
  // B3 now reads =A3*2 itself: PtgRef (row 2, column A, both relative), 2, multiply.
  const Bytes b3{0x44, 0x02, 0x00, 0x00, 0xC0, 0x1E, 0x02, 0x00, 0x05};
  int formulas = 0;
  for (const Record& record : sheet) {
    if (record.type != 0x0006) continue;
    ++formulas;
    EXPECT_EQ(record.body[14] & 0x08, 0) << "still marked shared";
    if (record.body[0] == 2) {
      EXPECT_EQ(Bytes(record.body.begin() + 22, record.body.end()), b3);
    }
  }
  EXPECT_EQ(formulas, 3);
  ExpectColumnB(file, {"10", "4", "6", "8"});
}

TEST_F(FormulaRangeTest, OtherCellsOfASharedFormulaKeepTheirAnchor) {
  ExpectColumnB(Written(false, 3, 2, u"x"), {"2", "4", "x", "8"});
  ExpectColumnB(Written(false, 4, 2, u""), {"2", "4", "6", ""});
}

// An array computes as a whole: its other cells keep what they showed, as values, and no
// ARRAY record is left for a spreadsheet to recompute from.
TEST_F(FormulaRangeTest, WritingIntoAnArrayFormulaLeavesTheOtherCellsShowingTheirValues) {
  for (const int written_row : {1, 2}) {
    const fs::path file = Written(true, written_row, 2, u"甲");
    int formulas = 0;
    for (const Record& record : FirstSheetRecords(file)) {
      EXPECT_NE(record.type, 0x0221) << "ARRAY left behind";
      formulas += record.type == 0x0006;
    }
    EXPECT_EQ(formulas, 0) << "a cell of the array still computes";
    std::vector<std::string> expected{"2", "4", "6", "8"};
    expected[static_cast<std::size_t>(written_row - 1)] = "甲";
    ExpectColumnB(file, expected);
  }
}

// {=TRANSPOSE(A1:D1)} in B1:B4: each cell's copy of the expression on its own would show
// the first element (or an error), not its own.
TEST_F(FormulaRangeTest, ATransposedArrayKeepsEveryOtherElement) {
  std::vector<Record> records{test_support::Dimensions(0, 4, 0, 4), test_support::Row(0, 0, 4)};
  for (std::uint16_t row = 1; row < 4; ++row) records.push_back(test_support::Row(row, 1, 2));
  // PtgArea A1:D1 (array class), PtgFunc TRANSPOSE (83).
  const Bytes transpose{0x65, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x03, 0xC0, 0x61, 83, 0x00};
  for (std::uint16_t row = 0; row < 4; ++row) {
    if (row == 0) records.push_back(test_support::Number(0, 0, 15, 10.0));
    records.push_back(test_support::Formula(row, 1, 10.0 * (row + 1), test_support::Exp(0, 1)));
    if (row != 0) continue;
    records.push_back(test_support::ArrayFormula(0, 3, 1, 1, transpose));
    records.push_back(test_support::Number(0, 2, 15, 30.0));
    records.push_back(test_support::Number(0, 3, 15, 40.0));
  }
  const fs::path file = temp_.Path() / "transpose.xls";
  test_support::SaveFile(
      file, test_support::BuildCompoundFile(
                3, {{u"Workbook", test_support::BuildStream({}, {{u"码单", records}})}}));
  auto document = xls::XlsDocument::Open(file);
  document->SetCell(0, 3, 2, u"7");
  document->Save();
  ExpectColumnB(file, {"10", "20", "7", "40"});
}

// The corpus file from Excel: its Sheet1 C3:C30 is one shared formula, =C2+7 filled down.
TEST_F(FormulaRangeTest, ExcelSharedFormulaGoesOnFromTheValueWrittenIntoItsAnchor) {
  const fs::path source =
      test_support::CorpusDir() / "excel" / "edr__Test_num_double_date_bool_string.xls";
  if (!fs::exists(source)) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
  if (!test_support::MissingProgram("soffice").empty()) GTEST_SKIP() << "LibreOffice is missing";
  const fs::path file = temp_.Path() / "excel.xls";
  fs::copy_file(source, file);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  auto document = xls::XlsDocument::Open(file);
  document->SetCell(document->WorksheetIndex(u"Sheet1"), 3, 3, u"100");
  document->Save();

  const std::string before = test_support::LibreOfficeCsv(source, temp_.Path(), 0, false);
  const std::string after = test_support::LibreOfficeCsv(file, temp_.Path(), 0, false);
  ASSERT_FALSE(after.empty());
  const std::vector<std::string> old_c = CsvColumn(before, 2);
  const std::vector<std::string> new_c = CsvColumn(after, 2);
  ASSERT_EQ(new_c.size(), old_c.size());
  ASSERT_GE(new_c.size(), 30u);
  EXPECT_EQ(new_c[0], old_c[0]);
  EXPECT_EQ(new_c[1], old_c[1]);
  for (std::size_t row = 3; row <= 30; ++row) {
    EXPECT_EQ(new_c[row - 1], UsDate(100 + 7 * static_cast<int>(row - 3))) << "C" << row;
  }
  // Every other column, formulas of their own shared ranges included, is as it was.
  for (const std::size_t column : {0u, 1u, 3u, 4u, 5u}) {
    EXPECT_EQ(CsvColumn(after, column), CsvColumn(before, column)) << "column " << column;
  }
  if (test_support::MissingProgram("ssconvert").empty()) {
    const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp_.Path());
    ASSERT_FALSE(sheets.empty());
    const std::vector<std::string> shown = CsvColumn(sheets[0], 2);
    ASSERT_GE(shown.size(), 5u);
    // Column C is formatted as dates: day 100 of 1900 is 9 April, then a week on each row.
    EXPECT_EQ(shown[2], "1900/04/09");
    EXPECT_EQ(shown[3], "1900/04/16");
    EXPECT_EQ(shown[4], "1900/04/23");
  }
  if (test_support::MissingProgram("/usr/bin/python3").empty() &&
      test_support::Run("/usr/bin/python3 -c 'import xlrd' 2>/dev/null")) {
    EXPECT_TRUE(
        test_support::Run("/usr/bin/python3 -c \"import xlrd, sys; "
                          "s = xlrd.open_workbook(sys.argv[1]).sheet_by_name('Sheet1'); "
                          "sys.exit(0 if s.cell_value(2, 2) == 100 else 1)\" '" +
                          file.string() + "'"))
        << "xlrd cannot read the written workbook";
  }
}

}  // namespace
