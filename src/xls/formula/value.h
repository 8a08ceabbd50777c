#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "xls/biff/cell_value.h"

namespace xls::formula {

using biff::ErrorCode;

// A rectangle of cells on one worksheet (rows and columns from 0, both ends included).
struct Area {
  std::size_t sheet = 0;
  std::uint16_t first_row = 0;
  std::uint16_t last_row = 0;
  std::uint16_t first_column = 0;
  std::uint16_t last_column = 0;

  std::size_t Rows() const { return static_cast<std::size_t>(last_row - first_row) + 1; }
  std::size_t Columns() const { return static_cast<std::size_t>(last_column - first_column) + 1; }
  bool SingleCell() const { return first_row == last_row && first_column == last_column; }
};

struct Array;

// What an expression yields while it is evaluated: a plain value (empty, number, text,
// boolean, error), a reference to cells (one or more areas, read when an operand needs the
// values), an array of plain values, or the name of a function the workbook names (the
// first argument of a user-defined function call).
struct Value {
  enum class Kind { kEmpty, kNumber, kText, kBoolean, kError, kReference, kArray, kFunctionName };
  Kind kind = Kind::kEmpty;
  double number = 0;
  std::u16string text;
  bool boolean = false;
  ErrorCode error = ErrorCode::kValue;
  std::vector<Area> areas;
  std::shared_ptr<const Array> array;
  // A reference whose token has the array class: operators take all its cells, not the one
  // in the formula's row or column.
  bool array_class = false;

  static Value Number(double value);
  static Value Text(std::u16string value);
  static Value Boolean(bool value);
  static Value Error(ErrorCode code);
  static Value Reference(std::vector<Area> areas, bool array_class = false);
  static Value FromArray(Array array);
  static Value FunctionName(std::u16string name);

  bool IsError() const { return kind == Kind::kError; }
  bool IsScalar() const {
    return kind != Kind::kReference && kind != Kind::kArray && kind != Kind::kFunctionName;
  }
};

// A rectangle of plain values, row by row.
struct Array {
  std::size_t rows = 0;
  std::size_t columns = 0;
  std::vector<Value> values;

  const Value& At(std::size_t row, std::size_t column) const {
    return values[row * columns + column];
  }
};

// A plain value as a cell stores it (an empty value as 0, as a formula cell shows it).
biff::CellValue StoredForm(const Value& value);

}  // namespace xls::formula
