#include "xls/layout/formula_results.h"

#include <gtest/gtest.h>

#include "layout_records.h"

namespace {

using layout_test::Bytes;
using xls::biff::CellValue;
using xls::layout::RecomputeFormulas;

std::uint32_t Key(std::uint32_t row, std::uint32_t column) {
  return row << 16 | column;
}

Bytes Ref(std::uint16_t row, std::uint8_t column) {
  return {0x24, static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(row >> 8), column, 0xC0};
}

Bytes Area(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
           std::uint8_t last_column) {
  return {0x25, static_cast<std::uint8_t>(first_row),
          0,    static_cast<std::uint8_t>(last_row),
          0,    first_column,
          0xC0, last_column,
          0xC0};
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kAttrSum = {0x19, 0x10, 0, 0};
const Bytes kAdd = {0x03};
const Bytes kDivide = {0x06};
Bytes SumVar(std::uint8_t count) {
  return {0x22, count, 4, 0};
}

// The template's amounts in H5:H7 and a text in H8, with stale results of 0 everywhere.
std::map<std::uint32_t, CellValue> Amounts() {
  return {{Key(4, 7), CellValue::Number(740)},  {Key(5, 7), CellValue::Number(1561.77)},
          {Key(6, 7), CellValue::Number(2268)}, {Key(7, 7), CellValue::String(u"备注")},
          {Key(18, 7), CellValue::Number(0)},   {Key(19, 7), CellValue::Number(0)},
          {Key(20, 7), CellValue::Number(0)}};
}

TEST(FormulaResults, SumsAndArithmeticOverTheSheetsCells) {
  auto cells = Amounts();
  RecomputeFormulas(
      {
          layout_test::Formula(18, 7, 15, 0, Join({Area(4, 16, 7, 7), kAttrSum})),
          layout_test::Formula(19, 7, 15, 0,
                               Join({Area(4, 5, 7, 7), Ref(6, 7), SumVar(2), Ref(18, 7), kAdd})),
      },
      cells);
  EXPECT_DOUBLE_EQ(cells[Key(18, 7)].number, 4569.77);      // text and empty cells left out
  EXPECT_DOUBLE_EQ(cells[Key(19, 7)].number, 2 * 4569.77);  // refers to the other formula
}

TEST(FormulaResults, WhatCannotBeComputedKeepsTheFilesResult) {
  auto cells = Amounts();
  cells[Key(20, 7)] = CellValue::Number(99);
  cells[Key(21, 7)] = CellValue::Number(5);
  cells[Key(22, 7)] = CellValue::Number(6);
  cells[Key(23, 7)] = CellValue::Number(7);
  RecomputeFormulas(
      {
          // A text cell in arithmetic, a division by zero, an unknown function, a cycle.
          layout_test::Formula(18, 7, 15, 0, Join({Ref(7, 7), Ref(4, 7), kAdd})),
          layout_test::Formula(19, 7, 15, 0, Join({Ref(4, 7), Ref(30, 0), kDivide})),
          layout_test::Formula(20, 7, 15, 99, Join({Ref(4, 7), Bytes{0x21, 0x1F, 0x00}})),
          layout_test::Formula(21, 7, 15, 5, Join({Ref(22, 7)})),
          layout_test::Formula(22, 7, 15, 6, Join({Ref(21, 7)})),
          // One that depends on a formula that cannot be computed stays as it was too.
          layout_test::Formula(23, 7, 15, 7, Join({Ref(20, 7), Ref(4, 7), kAdd})),
      },
      cells);
  EXPECT_DOUBLE_EQ(cells[Key(18, 7)].number, 0);
  EXPECT_DOUBLE_EQ(cells[Key(19, 7)].number, 0);
  EXPECT_DOUBLE_EQ(cells[Key(20, 7)].number, 99);
  EXPECT_DOUBLE_EQ(cells[Key(21, 7)].number, 5);
  EXPECT_DOUBLE_EQ(cells[Key(22, 7)].number, 6);
  EXPECT_DOUBLE_EQ(cells[Key(23, 7)].number, 7);
}

}  // namespace
