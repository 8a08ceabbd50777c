#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "biff_streams.h"
#include "xls/biff/biff_workbook.h"
#include "xls/biff/byte_io.h"

namespace xls::biff {
namespace {

using test_support::Bytes;
using test_support::SheetSpec;

constexpr std::uint16_t kTextXf = 16;  // built-in format 49, "@"
constexpr std::uint16_t kCustomTextXf = 17;
constexpr std::uint16_t kRowXf = 18;
constexpr std::uint16_t kColumnXf = 19;

// Two sheets. "码单" has strings, numbers, a MULRK, a formula over them, a Text cell, a
// formatted row 10 (row index 9) and a formatted column 5, and an INDEX; "资料" comes after
// it, so its offset must move when "码单" grows.
Bytes SampleStream() {
  std::vector<test_support::Record> globals{
      test_support::Xf(49), test_support::Xf(164),           test_support::Xf(2),
      test_support::Xf(4),  test_support::Format(164, u"@"), test_support::Sst({u"买方", u"长"})};
  SheetSpec tally{
      u"码单",
      {test_support::Index(), test_support::ColInfo(4, 4, kColumnXf),
       test_support::Dimensions(0, 10, 0, 3), test_support::Row(0, 0, 3),
       test_support::Row(9, 0, 0, 0x0180, kRowXf), test_support::LabelSst(0, 0, 21, 0),
       test_support::Number(0, 1, 22, 2.5), test_support::MulRk(0, 2, {{23, 0x3FF00000}}),
       test_support::FormulaNumber(1, 0, 3.5), test_support::LabelSst(1, 1, kTextXf, 1)}};
  SheetSpec reference{u"资料",
                      {test_support::Dimensions(0, 1, 0, 1), test_support::Row(2, 1, 2),
                       test_support::LabelSst(2, 1, 15, 0)}};
  return test_support::BuildStream(globals, {tally, reference});
}

const Record* FindRecord(const std::vector<Record>& records, std::uint16_t type) {
  for (const Record& record : records) {
    if (record.type == type) return &record;
  }
  return nullptr;
}

std::vector<const Record*> CellRecordsAt(const std::vector<Record>& records, std::uint16_t row,
                                         std::uint16_t column) {
  std::vector<const Record*> found;
  for (const Record& record : records) {
    const bool cell = record.type == record_type::kNumber ||
                      record.type == record_type::kLabelSst || record.type == record_type::kBlank ||
                      record.type == record_type::kRk;
    if (cell && GetU16(record.body, 0) == row && GetU16(record.body, 2) == column) {
      found.push_back(&record);
    }
  }
  return found;
}

TEST(BiffWorkbook, ReadsCellsAsGeneralText) {
  const BiffWorkbook book = BiffWorkbook::Parse(SampleStream());
  ASSERT_EQ(book.SheetCount(), 2u);
  const std::size_t tally = book.FindWorksheet(u"码单").value();
  EXPECT_EQ(book.FindWorksheet(u"资料"), 1u);
  EXPECT_FALSE(book.FindWorksheet(u"码").has_value());
  EXPECT_EQ(book.CellText(tally, {0, 0}), u"买方");
  EXPECT_EQ(book.CellText(tally, {0, 1}), u"2.5");
  EXPECT_EQ(book.CellText(tally, {0, 2}), u"1");
  EXPECT_EQ(book.CellText(tally, {1, 0}), u"3.5");
  EXPECT_EQ(book.CellText(tally, {5, 5}), u"");
}

TEST(BiffWorkbook, UnchangedWorkbookSerialisesToItsOwnBytes) {
  const Bytes stream = SampleStream();
  BiffWorkbook book = BiffWorkbook::Parse(stream);
  EXPECT_FALSE(book.Modified());
  EXPECT_EQ(book.Serialize(), stream);
}

TEST(BiffWorkbook, WritesNumbersStringsAndBlanksWithTheRightFormats) {
  BiffWorkbook book = BiffWorkbook::Parse(SampleStream());
  const std::size_t tally = *book.FindWorksheet(u"码单");
  book.SetCellText(tally, {0, 1}, u"320.00");  // number over number: keeps XF 22
  book.SetCellText(tally, {0, 2}, u"杉木");    // string over a MULRK cell: keeps XF 23
  book.SetCellText(tally, {1, 1}, u"0012");    // Text cell: stays text
  book.SetCellText(tally, {0, 0}, u"");        // empties, keeps XF 21
  book.SetCellText(tally, {9, 3}, u"7");       // new cell in the formatted row
  book.SetCellText(tally, {20, 4}, u"=1+1");   // new cell in the formatted column
  book.SetCellText(tally, {30, 7}, u"  ");     // blanks only: text, default format
  book.SetCellText(tally, {40, 0}, u"");       // empty text on no cell: nothing appears
  const Bytes written = book.Serialize();

  const BiffWorkbook reread = BiffWorkbook::Parse(written);
  EXPECT_EQ(reread.CellText(tally, {0, 1}), u"320");
  EXPECT_EQ(reread.CellText(tally, {0, 2}), u"杉木");
  EXPECT_EQ(reread.CellText(tally, {1, 1}), u"0012");
  EXPECT_EQ(reread.CellText(tally, {0, 0}), u"");
  EXPECT_EQ(reread.CellText(tally, {9, 3}), u"7");
  EXPECT_EQ(reread.CellText(tally, {20, 4}), u"=1+1");
  EXPECT_EQ(reread.CellText(tally, {30, 7}), u"  ");
  EXPECT_EQ(reread.Sheet(tally).Find({40, 0}), nullptr);
  EXPECT_EQ(reread.CellText(1, {2, 1}), u"买方");  // the other sheet, found at its new offset

  const test_support::StreamView view = test_support::ReadStream(written);
  const std::vector<Record>& sheet = view.sheets[0];
  const auto xf_of = [&](std::uint16_t row, std::uint16_t column) {
    const auto cells = CellRecordsAt(sheet, row, column);
    EXPECT_EQ(cells.size(), 1u) << row << "," << column;
    return cells.empty() ? 0xFFFF : GetU16(cells[0]->body, 4);
  };
  EXPECT_EQ(CellRecordsAt(sheet, 0, 1)[0]->type, record_type::kNumber);
  EXPECT_EQ(xf_of(0, 1), 22);
  EXPECT_EQ(xf_of(0, 2), 23);
  EXPECT_EQ(CellRecordsAt(sheet, 0, 0)[0]->type, record_type::kBlank);
  EXPECT_EQ(xf_of(0, 0), 21);
  EXPECT_EQ(CellRecordsAt(sheet, 1, 1)[0]->type, record_type::kLabelSst);
  EXPECT_EQ(xf_of(9, 3), kRowXf);
  EXPECT_EQ(xf_of(20, 4), kColumnXf);
  EXPECT_EQ(xf_of(30, 7), 15);
  EXPECT_EQ(CellRecordsAt(sheet, 20, 4)[0]->type, record_type::kLabelSst);  // never a formula
}

TEST(BiffWorkbook, CustomTextFormatKeepsNumericTextAsText) {
  std::vector<test_support::Record> globals{test_support::Xf(49), test_support::Xf(164),
                                            test_support::Format(164, u"@")};
  SheetSpec sheet{
      u"S", {test_support::Dimensions(0, 1, 0, 1), test_support::LabelSst(0, 0, kCustomTextXf, 0)}};
  globals.push_back(test_support::Sst({u"x"}));
  BiffWorkbook book = BiffWorkbook::Parse(test_support::BuildStream(globals, {sheet}));
  book.SetCellText(0, {0, 0}, u"42");
  const BiffWorkbook reread = BiffWorkbook::Parse(book.Serialize());
  EXPECT_EQ(reread.Sheet(0).Find({0, 0})->value.kind, CellValue::Kind::kString);
}

TEST(BiffWorkbook, TextsLongerThanACellHoldsLeaveTheWorkbookAsItWas) {
  struct Case {
    std::u16string text;
    bool fits;
  };
  const Case cases[] = {
      {std::u16string(kMaxCellText, u'码'), true},
      {std::u16string(kMaxCellText + 1, u'码'), false},
      // Digits too: the length counts before the text can become a number.
      {std::u16string(kMaxCellText - 1, u'0') + u"7", true},
      {std::u16string(kMaxCellText, u'0') + u"7", false},
  };
  for (const Case& c : cases) {
    BiffWorkbook book = BiffWorkbook::Parse(SampleStream());
    const std::u16string before = book.CellText(0, {0, 0});
    if (c.fits) {
      book.SetCellText(0, {0, 0}, c.text);
      EXPECT_NE(book.CellText(0, {0, 0}), before) << c.text.size();
      continue;
    }
    try {
      book.SetCellText(0, {0, 0}, c.text);
      ADD_FAILURE() << c.text.size() << " characters were taken";
    } catch (const TextTooLong& too_long) {
      EXPECT_EQ(too_long.Length(), c.text.size());
    }
    EXPECT_EQ(book.CellText(0, {0, 0}), before);
    EXPECT_FALSE(book.Modified());
    EXPECT_TRUE(book.WrittenCells().empty());
  }
}

TEST(BiffWorkbook, WrittenSheetGetsConsistentBookkeeping) {
  BiffWorkbook book = BiffWorkbook::Parse(SampleStream());
  book.SetCellText(0, {40, 6}, u"新买方");
  book.SetCellText(0, {3, 0}, u"9");
  const Bytes written = book.Serialize();
  const test_support::StreamView view = test_support::ReadStream(written);

  // Globals: counts of the SST, RecalcId with engine id 0.
  const Record* sst = FindRecord(view.globals, record_type::kSst);
  ASSERT_NE(sst, nullptr);
  EXPECT_EQ(GetU32(sst->body, 0), 4u);  // LABELSST cells: 2 in 码单 + 1 new + 1 in 资料
  EXPECT_EQ(GetU32(sst->body, 4), 3u);
  const Record* recalc = FindRecord(view.globals, record_type::kRecalcId);
  ASSERT_NE(recalc, nullptr);
  EXPECT_EQ(GetU32(recalc->body, 4), 0u);
  ASSERT_NE(FindRecord(view.globals, record_type::kExtSst), nullptr);

  const std::vector<Record>& sheet = view.sheets[0];
  const Record* dimensions = FindRecord(sheet, record_type::kDimensions);
  EXPECT_EQ(GetU32(dimensions->body, 0), 0u);
  EXPECT_EQ(GetU32(dimensions->body, 4), 41u);
  EXPECT_EQ(GetU16(dimensions->body, 10), 7u);
  // The formula now asks to be calculated whenever the workbook is.
  const Record* formula = FindRecord(sheet, record_type::kFormula);
  EXPECT_EQ(formula->body[14] & 0x01, 0x01);
  // A ROW covers each new cell.
  bool row_40 = false;
  for (const Record& record : sheet) {
    if (record.type == record_type::kRow && GetU16(record.body, 0) == 40) {
      row_40 = GetU16(record.body, 2) == 6 && GetU16(record.body, 4) == 7;
    }
  }
  EXPECT_TRUE(row_40);

  // INDEX names each DBCELL by its stream position, and each DBCELL finds its rows.
  const Record* index = FindRecord(sheet, record_type::kIndex);
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(GetU32(index->body, 4), 0u);
  EXPECT_EQ(GetU32(index->body, 8), 41u);
  const std::size_t blocks = (index->body.size() - 16) / 4;
  EXPECT_EQ(blocks, 2u);  // rows 0-31 and 32-63
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::uint32_t dbcell = GetU32(index->body, 16 + 4 * b);
    ASSERT_EQ(GetU16(written, dbcell), record_type::kDbCell);
    const std::uint32_t to_first_row = GetU32(written, dbcell + 4);
    EXPECT_EQ(GetU16(written, dbcell - to_first_row), record_type::kRow);
  }
}

// Some writers store a cell twice, a MULRK first and the value later; the later record
// wins on reading, and must still win after the MULRK is split to write its neighbour.
TEST(BiffWorkbook, SplittingAMulRkKeepsALaterRecordOfTheSameCellWinning) {
  SheetSpec sheet{
      u"S",
      {test_support::Dimensions(0, 1, 0, 3),
       test_support::MulRk(0, 0, {{15, 0x3FF00000}, {15, 0x40000000}, {15, 0x40080000}}),
       test_support::Number(0, 1, 15, 42)}};
  BiffWorkbook book = BiffWorkbook::Parse(test_support::BuildStream({}, {sheet}));
  EXPECT_EQ(book.CellText(0, {0, 1}), u"42");
  book.SetCellText(0, {0, 2}, u"9");
  const BiffWorkbook reread = BiffWorkbook::Parse(book.Serialize());
  EXPECT_EQ(reread.CellText(0, {0, 0}), u"1");
  EXPECT_EQ(reread.CellText(0, {0, 1}), u"42");
  EXPECT_EQ(reread.CellText(0, {0, 2}), u"9");
}

// A damaged MULRK starting at column 0xFFFE runs off the sheet: read as wrapping round, it
// would overwrite columns 0 and 1, and go on doing so after those cells are written.
TEST(BiffWorkbook, MulRkPastTheLastColumnDoesNotWrapOntoTheFirst) {
  SheetSpec sheet{
      u"S",
      {test_support::Dimensions(0, 1, 0, 2), test_support::Number(0, 1, 15, 42),
       test_support::MulRk(
           0, 0xFFFE, {{15, 0x3FF00000}, {15, 0x40000000}, {15, 0x40080000}, {15, 0x40100000}})}};
  BiffWorkbook book = BiffWorkbook::Parse(test_support::BuildStream({}, {sheet}));
  EXPECT_EQ(book.CellText(0, {0, 1}), u"42");
  EXPECT_EQ(book.CellText(0, {0, 0}), u"");
  book.SetCellText(0, {0, 1}, u"买方");
  EXPECT_EQ(BiffWorkbook::Parse(book.Serialize()).CellText(0, {0, 1}), u"买方");
}

// A sheet filled below what it held, row after row, and cells written again: each cell is
// stored once, with what was written last, beside the cells the sheet already had.
TEST(BiffWorkbook, CellsWrittenBelowTheSheetAndAgainAreStoredOnce) {
  BiffWorkbook book = BiffWorkbook::Parse(SampleStream());
  struct Write {
    CellAddress cell;
    std::u16string text;
  };
  std::vector<Write> writes;
  for (std::uint16_t row = 2; row < 300; ++row) {
    std::u16string name(2, u'单');
    name[1] = static_cast<char16_t>(u'甲' + row);
    writes.push_back({{row, 0}, name});
    writes.push_back({{row, 3}, std::u16string(1, static_cast<char16_t>(u'0' + row % 10))});
  }
  writes.push_back({{2, 0}, u"又写一次"});  // a new cell written again
  writes.push_back({{0, 1}, u"7"});         // a cell the sheet had
  writes.push_back({{0, 3}, u"8"});         // the MULRK's
  for (const Write& write : writes) book.SetCellText(0, write.cell, write.text);

  const Bytes written = book.Serialize();
  const BiffWorkbook reread = BiffWorkbook::Parse(written);
  const std::vector<Record> sheet = test_support::ReadStream(written).sheets[0];
  std::map<CellAddress, std::u16string> last;
  for (const Write& write : writes) last[write.cell] = write.text;
  for (const auto& [cell, text] : last) {
    SCOPED_TRACE(std::to_string(cell.row) + "," + std::to_string(cell.column));
    EXPECT_EQ(reread.CellText(0, cell), text);
    EXPECT_EQ(CellRecordsAt(sheet, cell.row, cell.column).size(), 1u);
  }
  EXPECT_EQ(reread.CellText(0, {0, 0}), u"买方");
  EXPECT_EQ(reread.CellText(0, {0, 2}), u"1");
}

TEST(BiffWorkbook, MalformedStreamsFailCleanly) {
  const Bytes good = SampleStream();
  for (std::size_t cut : {std::size_t{0}, std::size_t{3}, good.size() / 2, good.size() - 1}) {
    const Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_THROW(BiffWorkbook::Parse(truncated), BiffFormatError) << cut;
  }
  Bytes biff5 = good;
  biff5[4] = 0x00;
  biff5[5] = 0x05;  // BOF version 0x0500
  try {
    BiffWorkbook::Parse(biff5);
    FAIL();
  } catch (const BiffFormatError& e) {
    EXPECT_EQ(e.Problem(), FormatProblem::kOlderFormat);
  }
  std::vector<test_support::Record> encrypted{{record_type::kFilePass, {0, 0, 1, 0}}};
  try {
    BiffWorkbook::Parse(test_support::BuildStream(encrypted, {}));
    FAIL();
  } catch (const BiffFormatError& e) {
    EXPECT_EQ(e.Problem(), FormatProblem::kEncrypted);
  }
}

}  // namespace
}  // namespace xls::biff
