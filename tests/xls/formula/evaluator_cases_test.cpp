// The evaluator against LibreOffice, one table: templates/formula-samples/formula-cases.xls
// holds per row a formula (B), its inputs (C:E) and the result LibreOffice computed for it
// (F), with the formula's text in A and what the case shows in G. The file is made by
// tools/make_formula_cases.py, which also says how the expected values were taken.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "base/text_encoding.h"
#include "xls/biff/cell_value.h"
#include "xls/formula/workbook_calculation.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using xls::biff::CellValue;
using xls::formula::Value;

// LibreOffice's booleans are numbers: TRUE and 1 are the same result there.
bool SameResult(const Value& actual, const CellValue& expected) {
  const auto number = [](const Value& v) {
    return v.kind == Value::Kind::kBoolean ? (v.boolean ? 1.0 : 0.0) : v.number;
  };
  switch (expected.kind) {
    case CellValue::Kind::kNumber:
      return (actual.kind == Value::Kind::kNumber || actual.kind == Value::Kind::kBoolean) &&
             std::fabs(number(actual) - expected.number) <=
                 1e-12 * std::max(1.0, std::fabs(expected.number));
    case CellValue::Kind::kBoolean:
      return (actual.kind == Value::Kind::kNumber || actual.kind == Value::Kind::kBoolean) &&
             number(actual) == (expected.boolean ? 1 : 0);
    case CellValue::Kind::kString:
      return actual.kind == Value::Kind::kText && actual.text == expected.text;
    case CellValue::Kind::kError:
      return actual.kind == Value::Kind::kError &&
             static_cast<std::uint8_t>(actual.error) == expected.error;
    case CellValue::Kind::kEmpty:
      return actual.kind == Value::Kind::kText && actual.text.empty();
  }
  return false;
}

TEST(Evaluator, ComputesWhatLibreOfficeComputes) {
  const auto document =
      xls::XlsDocument::Open(fs::path(VERDALON_FORMULA_SAMPLES) / "formula-cases.xls");
  const auto& book = document->Book();
  const xls::formula::WorkbookCalculation calculation(
      book, xls::formula::CurrentSerialTime(xls::formula::UsesDate1904(book)));
  const auto& cells = book.Sheet(0).Cells();
  const auto& outcomes = calculation.Outcomes(0);
  int cases = 0;
  for (std::uint16_t row = 0; cells.contains({row, 1}); ++row) {
    const auto outcome = outcomes.find({row, 1});
    ASSERT_NE(outcome, outcomes.end()) << "row " << row + 1;
    const std::string formula = base::ToUtf8(book.CellText(0, {row, 0}));
    const std::string shows = base::ToUtf8(book.CellText(0, {row, 6}));
    ASSERT_TRUE(outcome->second.value.has_value()) << formula << " (" << shows << ")";
    const auto expected = cells.find({row, 5});
    const CellValue wanted = expected == cells.end() ? CellValue{} : expected->second.value;
    EXPECT_TRUE(SameResult(*outcome->second.value, wanted))
        << formula << " (" << shows << "): got "
        << base::ToUtf8(xls::biff::DisplayText(xls::formula::StoredForm(*outcome->second.value)))
        << ", LibreOffice " << base::ToUtf8(xls::biff::DisplayText(wanted));
    ++cases;
  }
  EXPECT_GE(cases, 55);
}

}  // namespace
