// 500 VLOOKUPs into a 2,000-row price table (templates/formula-samples/lookup-500.xls, made
// by tools/make_lookup_bench.py), half through whole columns: each result is the one
// LibreOffice stored when it wrote the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "xls/formula/workbook_calculation.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;

TEST(LookupWorkbook, ComputesWhatLibreOfficeStored) {
  const auto document =
      xls::XlsDocument::Open(fs::path(VERDALON_FORMULA_SAMPLES) / "lookup-500.xls");
  const auto& book = document->Book();
  const xls::formula::WorkbookCalculation calculation(book, 45000.5);
  const auto& outcomes = calculation.Outcomes(0);
  ASSERT_EQ(outcomes.size(), 500u);
  for (const auto& [cell, outcome] : outcomes) {
    ASSERT_TRUE(outcome.value.has_value()) << "row " << cell.row + 1;
    const xls::biff::CellData* stored = book.Sheet(0).Find(cell);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(outcome.value->kind, xls::formula::Value::Kind::kNumber) << "row " << cell.row + 1;
    EXPECT_EQ(outcome.value->number, stored->value.number) << "row " << cell.row + 1;
  }
}

}  // namespace
