// Rules by which Excel's results differ from plain arithmetic, and the functions LibreOffice
// cannot write into an .xls (so the case table cannot hold them), on a sheet held in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "xls/biff/formula_tokens.h"
#include "xls/formula/array_lifting.h"
#include "xls/formula/date_time_text.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"
#include "xls/formula/text_number.h"
#include "xls/number_format/serial_date.h"

namespace {

using xls::biff::CellAddress;
using xls::formula::Area;
using xls::formula::Value;

class SheetContext : public xls::formula::Context {
 public:
  std::map<CellAddress, Value> cells;
  std::set<std::uint16_t> hidden_rows;
  std::set<CellAddress> subtotal_cells;
  bool array_formula = false;

  Value CellValue(std::size_t, CellAddress cell) override {
    const auto found = cells.find(cell);
    return found == cells.end() ? Value{} : found->second;
  }
  void ForEachCell(const Area& area,
                   const std::function<void(CellAddress, const Value&)>& visit) override {
    for (const auto& [cell, value] : cells) {
      if (cell.row >= area.first_row && cell.row <= area.last_row &&
          cell.column >= area.first_column && cell.column <= area.last_column) {
        visit(cell, value);
      }
    }
  }
  std::size_t OriginSheet() const override { return 0; }
  CellAddress Origin() const override { return {100, 100}; }
  bool ArrayFormula() const override { return array_formula; }
  bool RowHidden(std::size_t, std::uint16_t row) const override {
    return hidden_rows.contains(row);
  }
  bool SubtotalCell(std::size_t, CellAddress cell) const override {
    return subtotal_cells.contains(cell);
  }
  bool Date1904() const override { return false; }
  double Now() const override { return 0; }
};

TEST(ExcelRules, ReadsTextsAsNumbersAsExcelDoes) {
  struct Case {
    std::u16string text;
    std::optional<double> number;
  };
  const Case cases[] = {
      {u"12%", 0.12},
      {u" 1,200 ", 1200},
      {u"¥3", 3},
      {u"-￥1,000.5", -1000.5},
      {u"$-2", -2},
      {u"2026-12-08", 46364},
      {u"2026/12/8", 46364},
      {u"2026-12-08 18:00", 46364.75},
      {u"12:30", 12.5 / 24},
      {u"8:05:30 PM", (20 * 3600 + 5 * 60 + 30) / 86400.0},
      {u"1900-03-01", 61},  // after the 1900-02-29 spreadsheets count
      {u"2026年12月8日", 46364},
      {u"(1,200)", -1200},
      {u"(¥3)", -3},
      {u"(-3)", std::nullopt},
      {u"(2026-12-08)", std::nullopt},
      {u"2026年12月8", std::nullopt},
      {u"12%%", std::nullopt},
      {u"2026-02-29", std::nullopt},
      {u"2026-13-01", std::nullopt},
      {u"12:60", std::nullopt},
      {u"13:00 PM", std::nullopt},
      {u"¥", std::nullopt},
      {u"¥-", std::nullopt},
      {u"-¥-3", std::nullopt},
      {u"3¥", std::nullopt},
      {u"12 m", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<double> number = xls::formula::NumberOfText(c.text, false);
    ASSERT_EQ(number.has_value(), c.number.has_value())
        << std::string(c.text.begin(), c.text.end());
    if (number) {
      EXPECT_NEAR(*number, *c.number, 1e-9) << std::string(c.text.begin(), c.text.end());
    }
  }
  EXPECT_EQ(xls::formula::NumberOfText(u"1904-01-02", true), 1);
}

// Arithmetic reads only the dates and times that cannot be taken two ways, where DATEVALUE
// and TIMEVALUE read all the forms bills write; where both read a text they agree on it.
TEST(ExcelRules, ArithmeticReadsTheUnambiguousDatesDateValueReads) {
  struct Case {
    std::u16string text;
    bool in_arithmetic;
  };
  const Case cases[] = {
      {u"2026-12-08", true},    {u"2026/12/8", true},
      {u"2026年12月8日", true}, {u"2026-12-08 18:00", true},
      {u"12:30", true},         {u"8:05:30 PM", true},
      {u"26-12-8", false},    // which century
      {u"12/8/2026", false},  // month or day first
      {u"下午1:30", false},     {u"13时30分", false},
      {u"12:60", false},  // minutes that run over
  };
  for (const Case& c : cases) {
    const std::string shown(c.text.begin(), c.text.end());
    const std::optional<xls::formula::DateTimeText> read = xls::formula::ParseDateTimeText(c.text);
    ASSERT_TRUE(read.has_value()) << shown;
    const double seconds = read->seconds.value_or(0);
    const double serial = read->year ? xls::number_format::SerialOfDateTime(
                                           *read->year, read->month, read->day, seconds, false)
                                     : seconds / 86400;
    const std::optional<double> number = xls::formula::NumberOfText(c.text, false);
    ASSERT_EQ(number.has_value(), c.in_arithmetic) << shown;
    if (number) {
      EXPECT_NEAR(*number, serial, 1e-9) << shown;
    }
  }
}

// A date without its year is the current year's; without a current year it is no date.
TEST(ExcelRules, DateValueTakesADateWithoutAYearInTheCurrentYear) {
  struct Case {
    std::u16string text;
    int current_year;
    std::optional<int> year;  // nothing: no date
    int month = 0;
    int day = 0;
    double seconds = 0;
  };
  const Case cases[] = {
      {u"12-8", 2026, 2026, 12, 8},     {u"12/8", 2026, 2026, 12, 8},
      {u"12月8日", 2025, 2025, 12, 8},  {u"8-Dec", 2026, 2026, 12, 8},
      {u"Dec-8", 2026, 2026, 12, 8},    {u"8 december", 2026, 2026, 12, 8},
      {u"8-Dec-25", 2026, 2025, 12, 8}, {u"3-4 10:30", 2026, 2026, 3, 4, 10.5 * 3600},
      {u"2-29", 2024, 2024, 2, 29},     {u"2-29", 2026, std::nullopt},
      {u"13-8", 2026, std::nullopt},    {u"12-8-", 2026, std::nullopt},
      {u"8-Dex", 2026, std::nullopt},   {u"2026-12-8", 1999, 2026, 12, 8},  // a year written stays
  };
  for (const Case& c : cases) {
    const std::string shown(c.text.begin(), c.text.end());
    const auto read = xls::formula::ParseDateTimeText(c.text, c.current_year);
    ASSERT_EQ(read.has_value(), c.year.has_value()) << shown;
    if (!read) continue;
    EXPECT_EQ(read->year, c.year) << shown;
    EXPECT_EQ(read->month, c.month) << shown;
    EXPECT_EQ(read->day, c.day) << shown;
    EXPECT_EQ(read->seconds.value_or(0), c.seconds) << shown;
  }
  EXPECT_FALSE(xls::formula::ParseDateTimeText(u"12-8").has_value());
}

TEST(ExcelRules, ALastSumThatIsZeroTo15DigitsIsZero) {
  namespace ptg = xls::biff::ptg;
  struct Case {
    std::uint8_t op;
    Value left;
    Value right;
    double final_result;  // as the last step of a cell's formula
  };
  const Case cases[] = {
      {ptg::kSub, Value::Number(0.3), Value::Number(0.1 + 0.2), 0},
      {ptg::kAdd, Value::Number(-0.3), Value::Number(0.1 + 0.2), 0},
      {ptg::kSub, Value::Number(2301.77), Value::Number(1000.1 + 1301.67), 0},
      {ptg::kSub, Value::Text(u"0.3"), Value::Number(0.1 + 0.2), 0},
      // A difference that shows in 15 digits stays.
      {ptg::kSub, Value::Number(1.0000000000001), Value::Number(1), 1.0000000000001 - 1},
      {ptg::kAdd, Value::Number(0.1), Value::Number(0.2), 0.1 + 0.2},
  };
  SheetContext context;
  for (const Case& c : cases) {
    const Value final_sum = xls::formula::ApplyFinalSum(c.op, c.left, c.right, context);
    ASSERT_EQ(final_sum.kind, Value::Kind::kNumber);
    EXPECT_EQ(final_sum.number, c.final_result) << c.left.number << " op " << c.right.number;
  }
  // Inside a larger expression the same difference keeps its last bits.
  const Value inner = xls::formula::ApplyBinaryOperator(ptg::kSub, Value::Number(0.3),
                                                        Value::Number(0.1 + 0.2), context);
  EXPECT_NE(inner.number, 0);
  EXPECT_EQ(
      xls::formula::ApplyFinalSum(ptg::kSub, Value::Text(u"x"), Value::Number(1), context).kind,
      Value::Kind::kError);
}

// The functions called by name on column A (rows 0 to 4: 2, 5, 7, "x", 9) and B (labels).
class NamedFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    const double numbers[] = {2, 5, 7};
    for (std::uint16_t row = 0; row < 3; ++row) {
      context.cells[{row, 0}] = Value::Number(numbers[row]);
    }
    context.cells[{3, 0}] = Value::Text(u"x");
    context.cells[{4, 0}] = Value::Number(9);
    const char16_t* labels[] = {u"甲", u"乙", u"甲", u"乙", u"甲"};
    for (std::uint16_t row = 0; row < 5; ++row) context.cells[{row, 1}] = Value::Text(labels[row]);
  }
  static Value Column(std::uint16_t column) {
    return Value::Reference({Area{0, 0, 4, column, column}});
  }
  Value Call(std::u16string_view name, std::vector<Value> arguments) {
    const xls::formula::FunctionInfo* info = xls::formula::FunctionByName(name);
    EXPECT_NE(info, nullptr);
    try {
      return info->body(arguments, context);
    } catch (const xls::formula::ErrorResult& error) {
      return Value::Error(error.code);
    }
  }
  SheetContext context;
};

TEST_F(NamedFunctions, ComputeAsExcel) {
  struct Case {
    std::u16string_view name;
    std::vector<Value> arguments;
    Value expected;
  };
  const Case cases[] = {
      {u"_xlfn.MAXIFS", {Column(0), Column(1), Value::Text(u"甲")}, Value::Number(9)},
      {u"_xlfn.MINIFS", {Column(0), Column(1), Value::Text(u"乙")}, Value::Number(5)},
      {u"_xlfn.MINIFS", {Column(0), Column(1), Value::Text(u"丙")}, Value::Number(0)},
      {u"_xlfn.IFS",
       {Value::Boolean(false), Value::Number(1), Value::Number(2), Value::Text(u"中")},
       Value::Text(u"中")},
      {u"_xlfn.IFS",
       {Value::Boolean(false), Value::Number(1)},
       Value::Error(xls::formula::ErrorCode::kNotAvailable)},
      {u"_xlfn.SWITCH",
       {Value::Number(2), Value::Number(1), Value::Text(u"一"), Value::Number(2),
        Value::Text(u"二")},
       Value::Text(u"二")},
      {u"_xlfn.SWITCH",
       {Value::Text(u"2"), Value::Number(2), Value::Text(u"二"), Value::Text(u"其他")},
       Value::Text(u"其他")},
      {u"_xlfn.IFNA",
       {Value::Error(xls::formula::ErrorCode::kValue), Value::Number(0)},
       Value::Error(xls::formula::ErrorCode::kValue)},
      {u"SUMIFS",
       {Column(0), Column(1), Value::Text(u"甲"), Column(0), Value::Text(u">2")},
       Value::Number(16)},
      {u"COUNTIFS", {Column(1), Value::Text(u"<>甲")}, Value::Number(2)},
  };
  for (const Case& c : cases) {
    const Value result = Call(c.name, c.arguments);
    EXPECT_EQ(result.kind, c.expected.kind) << std::string(c.name.begin(), c.name.end());
    EXPECT_EQ(result.number, c.expected.number);
    EXPECT_EQ(result.text, c.expected.text);
    if (result.IsError()) {
      EXPECT_EQ(result.error, c.expected.error);
    }
  }
}

// Edges and errors of the functions, by Excel's documented results.
TEST_F(NamedFunctions, EdgesAndErrors) {
  using xls::formula::ErrorCode;
  const auto n = [](double v) { return Value::Number(v); };
  const auto error = [](ErrorCode code) { return Value::Error(code); };
  struct Case {
    std::u16string_view name;
    std::vector<Value> arguments;
    Value expected;
  };
  const Case cases[] = {
      {u"CEILING", {n(2.5), n(-1)}, error(ErrorCode::kNumber)},
      {u"CEILING", {n(0.3), n(0.1)}, n(0.30000000000000004)},  // 3 steps, not 4
      {u"FLOOR", {n(2.5), n(0)}, error(ErrorCode::kDivisionByZero)},
      {u"MROUND", {n(5), n(-2)}, error(ErrorCode::kNumber)},
      {u"MROUND", {n(-5), n(-2)}, n(-6)},
      {u"FACT", {n(171)}, error(ErrorCode::kNumber)},
      {u"LOG", {n(8), n(1)}, error(ErrorCode::kDivisionByZero)},
      {u"LN", {n(0)}, error(ErrorCode::kNumber)},
      {u"GCD", {n(-1), n(2)}, error(ErrorCode::kNumber)},
      {u"LCM", {n(4), n(6), n(0)}, n(0)},
      {u"QUOTIENT", {n(1), n(0)}, error(ErrorCode::kDivisionByZero)},
      {u"RANDBETWEEN", {n(5), n(4)}, error(ErrorCode::kNumber)},
      {u"ERROR.TYPE", {n(1)}, error(ErrorCode::kNotAvailable)},
      {u"ISEVEN", {Value::Boolean(true)}, error(ErrorCode::kValue)},
      {u"ISODD", {n(-3.7)}, Value::Boolean(true)},
      {u"WEEKDAY", {n(46364), n(4)}, error(ErrorCode::kNumber)},
      {u"WEEKDAY", {n(46364), n(16)}, n(4)},     // a Tuesday, weeks from Saturday
      {u"WEEKNUM", {n(46022), n(21)}, n(1)},     // 2025-12-31 in ISO week 1 of 2026
      {u"WEEKNUM", {n(46023), n(2)}, n(1)},      // 2026-01-01
      {u"EOMONTH", {n(45322), n(1)}, n(45351)},  // 2024-01-31 to 2024-02-29
      {u"EDATE", {n(45382), n(-1)}, n(45351)},   // 2024-03-31 back to 2024-02-29
      {u"WORKDAY", {n(46360), n(1)}, n(46363)},  // Friday to Monday
      {u"NETWORKDAYS", {n(46363), n(46360)}, n(-2)},
      {u"DATEDIF", {n(46364), n(46363), Value::Text(u"d")}, error(ErrorCode::kNumber)},
      {u"DAYS360", {n(45351), n(45382)}, n(30)},  // from the last of February
      {u"DAYS360", {n(45351), n(45382), Value::Boolean(true)}, n(31)},
      {u"TIME", {n(-1), n(0), n(0)}, error(ErrorCode::kNumber)},
      {u"MEDIAN", {Value::Text(u"x")}, error(ErrorCode::kValue)},
      {u"MODE", {n(1), n(2)}, error(ErrorCode::kNotAvailable)},
      {u"STDEV", {n(1)}, error(ErrorCode::kDivisionByZero)},
      {u"LARGE", {Column(0), n(5)}, error(ErrorCode::kNumber)},
      {u"RANK", {n(4), Column(0)}, error(ErrorCode::kNotAvailable)},
      {u"COUNTIFS",
       {Column(0), n(2), Value::Reference({Area{0, 0, 1, 1, 1}}), Value::Text(u"甲")},
       error(ErrorCode::kValue)},  // ranges of different shapes
  };
  for (const Case& c : cases) {
    const Value result = Call(c.name, c.arguments);
    const std::string name(c.name.begin(), c.name.end());
    ASSERT_EQ(result.kind, c.expected.kind) << name;
    if (result.IsError()) {
      EXPECT_EQ(result.error, c.expected.error) << name;
    } else if (result.kind == Value::Kind::kBoolean) {
      EXPECT_EQ(result.boolean, c.expected.boolean) << name;
    } else {
      EXPECT_DOUBLE_EQ(result.number, c.expected.number) << name;
    }
  }
}

// The IS functions of a range in an array formula, one result per cell (column A: 2, 5, 7,
// "x", 9, then an empty cell); ISEVEN and ISODD take arrays but refuse a range, as Excel's.
TEST_F(NamedFunctions, InformationFunctionsTakeRangesCellByCellInArrayFormulas) {
  using xls::formula::ErrorCode;
  context.array_formula = true;
  const Value column = Value::Reference({Area{0, 0, 5, 0, 0}});
  xls::formula::Array numbers{3, 1, {Value::Number(4), Value::Text(u"3"), Value::Number(-3.5)}};
  const Value array = Value::FromArray(numbers);
  const Value t = Value::Boolean(true);
  const Value f = Value::Boolean(false);
  const Value value_error = Value::Error(ErrorCode::kValue);
  struct Case {
    std::u16string_view name;
    Value argument;
    std::vector<Value> expected;
  };
  const Case cases[] = {
      {u"ISBLANK", column, {f, f, f, f, f, t}},
      {u"ISNUMBER", column, {t, t, t, f, t, f}},
      {u"ISTEXT", column, {f, f, f, t, f, f}},
      {u"ISNONTEXT", column, {t, t, t, f, t, t}},
      {u"ISLOGICAL", column, {f, f, f, f, f, f}},
      {u"ISBLANK", array, {f, f, f}},
      {u"ISEVEN", array, {t, f, f}},
      {u"ISODD", array, {f, t, t}},
      {u"ISEVEN", column, {value_error}},
  };
  for (const Case& c : cases) {
    const std::string name(c.name.begin(), c.name.end());
    const xls::formula::FunctionInfo* info = xls::formula::FunctionByName(c.name);
    ASSERT_NE(info, nullptr) << name;
    const std::optional<Value> lifted =
        xls::formula::LiftOverArrays(*info, std::vector<Value>{c.argument}, context);
    ASSERT_TRUE(lifted.has_value()) << name;
    std::vector<Value> results{*lifted};
    if (lifted->kind == Value::Kind::kArray) results = lifted->array->values;
    ASSERT_EQ(results.size(), c.expected.size()) << name;
    for (std::size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].kind, c.expected[i].kind) << name << " element " << i;
      EXPECT_EQ(results[i].boolean, c.expected[i].boolean) << name << " element " << i;
    }
  }
  // Outside an array formula a range is read in the formula's row (row 100: empty).
  context.array_formula = false;
  EXPECT_FALSE(xls::formula::LiftOverArrays(*xls::formula::FunctionByName(u"ISBLANK"),
                                            std::vector<Value>{column}, context));
}

TEST_F(NamedFunctions, SubtotalLeavesOutHiddenRowsAndOtherSubtotals) {
  context.hidden_rows = {1};          // the 5
  context.subtotal_cells = {{4, 0}};  // the 9
  const struct {
    double function;
    double expected;
  } cases[] = {{9, 14}, {109, 9}, {102, 2}, {3, 4}, {103, 3}, {4, 7}, {101, 4.5}};
  for (const auto& c : cases) {
    const Value result = Call(u"SUBTOTAL", {Value::Number(c.function), Column(0)});
    ASSERT_EQ(result.kind, Value::Kind::kNumber) << c.function;
    EXPECT_DOUBLE_EQ(result.number, c.expected) << c.function;
  }
}

}  // namespace
