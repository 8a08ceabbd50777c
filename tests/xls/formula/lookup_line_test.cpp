// The lines lookups search: which position each kind of search finds, and that a line is
// read from its cells once per calculation, a whole column only as far as its values go.
#include <gtest/gtest.h>

#include <map>

#include "xls/formula/context.h"
#include "xls/formula/lookup_line.h"

namespace {

using xls::formula::Area;
using xls::formula::LookupLine;
using xls::formula::LookupLines;
using xls::formula::Value;

LookupLine Line() {
  return LookupLine({Value::Number(1), Value::Text(u"b"), Value::Number(3), Value{},
                     Value::Text(u"D*"), Value::Number(3), Value::Boolean(true), Value::Number(5),
                     Value::Text(u"f")});
}

TEST(LookupLine, FindsWhatEachSearchLooksFor) {
  struct Case {
    const char* what;
    Value wanted;
    std::optional<std::size_t> exact;      // MATCH 0, with wildcards
    std::optional<std::size_t> not_above;  // MATCH 1
  };
  const Case cases[] = {
      {"a number's first place", Value::Number(3), 2, 5},
      {"a number between two", Value::Number(4), std::nullopt, 5},
      {"below the least number", Value::Number(0), std::nullopt, std::nullopt},
      {"a text without regard to case", Value::Text(u"B"), 1, 1},
      {"a text between two", Value::Text(u"c"), std::nullopt, 1},
      {"a wildcard pattern", Value::Text(u"d?"), 4, 4},
      {"a literal star after ~", Value::Text(u"d~*"), 4, 4},
      {"a boolean, not the number 1", Value::Boolean(true), 6, 6},
      {"a text, not a number", Value::Text(u"5"), std::nullopt, std::nullopt},
  };
  const LookupLine line = Line();
  for (const Case& c : cases) {
    EXPECT_EQ(line.FindExact(c.wanted, true), c.exact) << c.what;
    EXPECT_EQ(line.FindLastNotAbove(c.wanted), c.not_above) << c.what;
  }
  const LookupLine falling({Value::Number(9), Value::Number(6), Value::Number(2)});
  EXPECT_EQ(falling.FindLastNotBelow(Value::Number(5)), 1u);
  EXPECT_EQ(falling.FindLastNotBelow(Value::Number(10)), std::nullopt);
}

// A sheet of a few cells that counts how often a lookup reads it.
class CountingSheet : public xls::formula::Context {
 public:
  std::map<xls::biff::CellAddress, Value> cells;
  int reads = 0;

  Value CellValue(std::size_t, xls::biff::CellAddress cell) override {
    const auto found = cells.find(cell);
    return found == cells.end() ? Value{} : found->second;
  }
  void ForEachCell(
      const Area& area,
      const std::function<void(xls::biff::CellAddress, const Value&)>& visit) override {
    ++reads;
    for (const auto& [cell, value] : cells) {
      if (cell.row >= area.first_row && cell.row <= area.last_row &&
          cell.column >= area.first_column && cell.column <= area.last_column) {
        visit(cell, value);
      }
    }
  }
  std::size_t OriginSheet() const override { return 0; }
  xls::biff::CellAddress Origin() const override { return {}; }
  bool ArrayFormula() const override { return false; }
  bool Date1904() const override { return false; }
  double Now() const override { return 0; }
};

TEST(LookupLines, ReadAWholeColumnOnceAndOnlyToItsLastValue) {
  CountingSheet sheet;
  sheet.cells[{0, 4}] = Value::Text(u"P1");
  sheet.cells[{2, 4}] = Value::Text(u"P3");
  sheet.cells[{2, 5}] = Value::Number(7);
  LookupLines lines;
  const Area column_e{0, 0, 0xFFFF, 4, 4};
  for (int lookup = 0; lookup < 3; ++lookup) {
    const LookupLine& line = lines.Line(column_e, sheet);
    EXPECT_EQ(line.Size(), 3u);
    EXPECT_EQ(line.FindExact(Value::Text(u"p3"), false), 2u);
  }
  EXPECT_EQ(sheet.reads, 1);
  lines.Line(Area{0, 0, 0xFFFF, 5, 5}, sheet);  // another column is another line
  EXPECT_EQ(sheet.reads, 2);
}

}  // namespace
