// Writing into a data table's results: the table's other cells keep showing what they
// showed. No tool we have writes data tables into .xls, so the workbook is built from
// hand-made records and the result checked with LibreOffice, gnumeric and xlrd.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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

namespace record_type = xls::biff::record_type;

TEST(FormulaTokens, TextConstantsSplitAtTheTokenLimitWithoutBreakingAPair) {
  EXPECT_EQ(xls::biff::TextConstant(u""), (Bytes{0x17, 0x00, 0x00}));
  EXPECT_EQ(xls::biff::TextConstant(u"a二"), (Bytes{0x17, 0x02, 0x01, 'a', 0x00, 0x8C, 0x4E}));
  // 254 letters and a pair that would straddle the limit: the pair goes whole into a second
  // token, joined by the concatenation operator.
  const std::u16string long_text = std::u16string(254, u'x') + u"𠮷";
  const Bytes tokens = xls::biff::TextConstant(long_text);
  ASSERT_EQ(tokens.size(), 3 + 254 + 3 + 4 + 1u);
  EXPECT_EQ(tokens[1], 254);
  EXPECT_EQ(Bytes(tokens.begin() + 257, tokens.end()),
            (Bytes{0x17, 0x02, 0x01, 0x42, 0xD8, 0xB7, 0xDF, 0x08}));
  EXPECT_EQ(xls::biff::TblAnchor(test_support::Tbl(2, 1)), (xls::biff::CellAddress{2, 1}));
  EXPECT_EQ(xls::biff::TblAnchor(test_support::Exp(2, 1)), std::nullopt);
}

// Sheet "码单": the input cell A1 (2), B2 =A1*10, the input values 1 to 4 in A3:A6 and the
// data table's results in B3:B6 (column input A1). The cached results are of every kind:
// 10, "二十", TRUE and #DIV/0!, so that what a cell shows tells the cached result from a
// recomputed one.
Bytes TableWorkbook() {
  std::vector<Record> records{test_support::Dimensions(0, 6, 0, 2)};
  for (std::uint16_t row = 0; row < 6; ++row) records.push_back(test_support::Row(row, 0, 2));
  records.push_back(test_support::Number(0, 0, 15, 2));
  records.push_back(
      test_support::Formula(1, 1, 20, Bytes{0x44, 0x00, 0x00, 0x00, 0xC0, 0x1E, 0x0A, 0x00, 0x05}));
  for (std::uint16_t row = 2; row < 6; ++row) {
    records.push_back(test_support::Number(row, 0, 15, row - 1.0));
    Record result = test_support::Formula(row, 1, 10, test_support::Tbl(2, 1));
    if (row > 2) {
      result.body[6] = static_cast<std::uint8_t>(row - 3);  // text, boolean, error
      result.body[8] = row == 4 ? 0x01 : 0x07;              // TRUE, #DIV/0!
      result.body[12] = result.body[13] = 0xFF;
    }
    records.push_back(result);
    if (row == 2) records.push_back(test_support::DataTable(2, 5, 1, 1, false, 0, 0));
    if (row == 3)
      records.push_back({record_type::kString, Bytes{0x02, 0x00, 0x01, 0x8C, 0x4E, 0x41, 0x53}});
  }
  return test_support::BuildCompoundFile(
      3, {{u"Workbook", test_support::BuildStream({}, {{u"码单", records}})}});
}

std::vector<Record> FirstSheetRecords(const fs::path& file) {
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  return test_support::ReadStream(*container.ReadStream(u"Workbook")).sheets.at(0);
}

std::vector<std::string> CsvColumnB(const std::string& csv) {
  std::vector<std::string> values;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream cells(line);
    std::string field;
    std::getline(cells, field, ',');
    values.push_back(std::getline(cells, field, ',') ? field : "");
  }
  return values;
}

// The record of the cell (row, column), counted from 0.
const Record* CellRecord(const std::vector<Record>& sheet, std::uint16_t row,
                         std::uint16_t column) {
  for (const Record& record : sheet) {
    if ((record.type == record_type::kFormula || record.type == record_type::kNumber ||
         record.type == record_type::kBoolErr) &&
        record.body[0] == row && record.body[2] == column) {
      return &record;
    }
  }
  return nullptr;
}

class DataTableTest : public ::testing::Test {
 protected:
  // Writes `text` into (row, column) of the table workbook, counted from 1.
  fs::path Written(int row, int column, const std::u16string& text) {
    const fs::path file = temp_.Path() / ("table" + std::to_string(files_++) + ".xls");
    test_support::SaveFile(file, TableWorkbook());
    auto document = xls::XlsDocument::Open(file);
    document->SetCell(0, row, column, text);
    document->Save();
    return file;
  }

  // LibreOffice's CSV writes a boolean in a cell of General format as 1, gnumeric's as TRUE.
  void ExpectColumnB(const fs::path& file, std::vector<std::string> expected) {
    if (test_support::MissingProgram("ssconvert").empty()) {
      const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp_.Path());
      ASSERT_FALSE(sheets.empty());
      EXPECT_EQ(CsvColumnB(sheets[0]), expected) << "gnumeric, " << file;
    }
    if (test_support::MissingProgram("soffice").empty()) {
      std::replace(expected.begin(), expected.end(), std::string("TRUE"), std::string("1"));
      EXPECT_EQ(CsvColumnB(test_support::LibreOfficeCsv(file, temp_.Path())), expected)
          << "LibreOffice, " << file;
    }
  }

  // xlrd, a strict reader, opens the file and finds the Python condition on sheet s true.
  void ExpectXlrd(const fs::path& file, const std::string& condition) {
    if (!test_support::Run("/usr/bin/python3 -c 'import xlrd' 2>/dev/null")) return;
    EXPECT_TRUE(
        test_support::Run("/usr/bin/python3 -c \"import xlrd, sys; "
                          "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
                          "sys.exit(0 if " +
                          condition + " else 1)\" '" + file.string() + "'"))
        << condition << ", " << file;
  }

  test_support::TempDir temp_;
  int files_ = 0;
};

TEST_F(DataTableTest, AWrittenResultLeavesTheOthersShowingTheirCachedResults) {
  const fs::path file = Written(4, 2, u"7");
  const std::vector<Record> sheet = FirstSheetRecords(file);
  for (const Record& record : sheet)
    EXPECT_NE(record.type, record_type::kTable) << "TABLE left behind";
  ASSERT_NE(CellRecord(sheet, 2, 1), nullptr);
  EXPECT_EQ(CellRecord(sheet, 2, 1)->type, record_type::kNumber) << "B3 is a number of its own";
  ASSERT_NE(CellRecord(sheet, 4, 1), nullptr);
  EXPECT_EQ(CellRecord(sheet, 4, 1)->type, record_type::kBoolErr) << "B5 is a boolean of its own";
  ASSERT_NE(CellRecord(sheet, 5, 1), nullptr);
  EXPECT_EQ(CellRecord(sheet, 5, 1)->type, record_type::kBoolErr) << "B6 is an error of its own";
  ExpectColumnB(file, {"", "20", "10", "7", "TRUE", "#DIV/0!"});
  ExpectXlrd(file,
             "s.cell_value(2, 1) == 10 and s.cell_value(3, 1) == 7 and "
             "s.cell(4, 1).ctype == xlrd.XL_CELL_BOOLEAN and s.cell_value(4, 1) == 1 and "
             "s.cell(5, 1).ctype == xlrd.XL_CELL_ERROR and s.cell_value(5, 1) == 7");
}

TEST_F(DataTableTest, AWrittenFirstResultTakesTheTableWithIt) {
  const fs::path file = Written(3, 2, u"甲");
  const std::vector<Record> sheet = FirstSheetRecords(file);
  for (const Record& record : sheet)
    EXPECT_NE(record.type, record_type::kTable) << "TABLE left behind";
  // The text result is a constant formula now: ="二十".
  const Record* text = CellRecord(sheet, 3, 1);
  ASSERT_NE(text, nullptr);
  ASSERT_EQ(text->type, record_type::kFormula);
  EXPECT_EQ(Bytes(text->body.begin() + 20, text->body.end()),
            (Bytes{0x07, 0x00, 0x17, 0x02, 0x01, 0x8C, 0x4E, 0x41, 0x53}));
  ExpectColumnB(file, {"", "20", "甲", "二十", "TRUE", "#DIV/0!"});
  ExpectXlrd(file, "s.cell_value(2, 1) == '\\u7532' and s.cell_value(3, 1) == '\\u4e8c\\u5341'");
}

TEST_F(DataTableTest, WritingBesideTheResultsKeepsTheTableComputing) {
  // A4, an input value, and B2, the formula the table varies, lie outside the results.
  const fs::path file = Written(4, 1, u"5");
  int tables = 0;
  for (const Record& record : FirstSheetRecords(file))
    tables += record.type == record_type::kTable ? 1 : 0;
  EXPECT_EQ(tables, 1);
  if (test_support::MissingProgram("soffice").empty()) {
    // LibreOffice computes the table anew: 10 times each input value.
    EXPECT_EQ(CsvColumnB(test_support::LibreOfficeCsv(file, temp_.Path())),
              (std::vector<std::string>{"", "20", "10", "50", "30", "40"}));
  }
  // The table's results read the written formula cell: the engine cannot compute a table,
  // so they hold #N/A (never their old results) until a spreadsheet program computes them.
  ExpectXlrd(Written(2, 2, u"3"),
             "s.cell_value(1, 1) == 3 and s.cell(2, 1).ctype == xlrd.XL_CELL_ERROR and "
             "s.cell_value(2, 1) == 0x2A");
}

}  // namespace
