// Formulas the engine does not compute (FISHER in templates/formula-samples/
// uncomputable.xls): the save keeps their records and asks the spreadsheet program to
// compute them; a formula reading a written cell gets #N/A rather than its old result, one
// reading nothing written keeps its result, a formula reading an uncomputed one is
// uncomputed too, and the print layout names each with its cause.
#include <gtest/gtest.h>

#include <filesystem>

#include "biff_streams.h"
#include "compound_files.h"
#include "xls/biff/record_fields.h"
#include "xls/cfb/compound_file.h"
#include "xls/layout/sheet_layout_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using xls::biff::CellValue;
using xls::formula::UncomputableReason;

TEST(UncomputableFormulas, AreLeftToTheSpreadsheetWithoutAStaleResult) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / "uncomputable.xls";
  fs::copy_file(fs::path(VERDALON_FORMULA_SAMPLES) / "uncomputable.xls", file);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  const auto saved = xls::XlsDocument::Open(file);
  saved->SetCell(0, 1, 1, u"2");
  saved->Save();
  const auto document = xls::XlsDocument::Open(file);
  const auto value = [&](std::uint16_t row, std::uint16_t column) {
    const xls::biff::CellData* cell = document->Sheet(0).Find({row, column});
    return cell != nullptr ? cell->value : CellValue{};
  };
  EXPECT_EQ(value(0, 1).number, 4);                      // B1 =A1*2, computed
  EXPECT_EQ(value(0, 2).kind, CellValue::Kind::kError);  // C1 reads A1: not "一" any more
  EXPECT_EQ(value(0, 2).error, 0x2A);
  EXPECT_EQ(value(1, 2).kind, CellValue::Kind::kError);  // C2 reads C1
  EXPECT_EQ(value(0, 3).text, u"二");                    // D1 reads nothing written

  // Every one of them asks to be computed when a spreadsheet program loads the file.
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  const auto stream = test_support::ReadStream(*container.ReadStream(u"Workbook"));
  int flagged = 0;
  for (const auto& record : stream.sheets.at(0)) {
    if (record.type == xls::biff::record_type::kFormula &&
        (record.body[xls::biff::formula_record::kFlags] &
         xls::biff::formula_record::kAlwaysCalculate) != 0) {
      ++flagged;
    }
  }
  EXPECT_EQ(flagged, 4);

  // The print names each with its cause, read from the file afresh or, right after the
  // save, from what that save found.
  for (const xls::layout::SheetLayout& layout :
       {xls::layout::ReadSheetLayoutFile(file, u"码单"),
        xls::layout::ReadSavedSheetLayout(*saved, u"码单")}) {
    ASSERT_EQ(layout.uncomputed.size(), 3u);
    const auto& c1 = layout.uncomputed[0];
    EXPECT_EQ(c1.row, 0);
    EXPECT_EQ(c1.column, 2);
    EXPECT_EQ(c1.why.reason, UncomputableReason::kUnknownFunction);
    EXPECT_EQ(c1.why.detail, u"FISHER");
    const auto& d1 = layout.uncomputed[1];
    EXPECT_EQ(d1.column, 3);
    const auto& c2 = layout.uncomputed[2];
    EXPECT_EQ(c2.row, 1);
    EXPECT_EQ(c2.column, 2);
    EXPECT_EQ(c2.why.cell, (xls::biff::CellAddress{0, 2}));  // the cause: C1
    EXPECT_EQ(c2.sheet_of_cause, u"码单");
  }
}

}  // namespace
