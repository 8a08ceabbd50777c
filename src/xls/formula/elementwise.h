#pragma once

#include <algorithm>
#include <cstddef>

#include "xls/formula/value.h"

namespace xls::formula {

// An array's element for position (row, column) of a larger result, a single row or column
// repeated across it as spreadsheets do; #N/A outside it.
inline Value Broadcast(const Array& array, std::size_t row, std::size_t column) {
  const std::size_t r = array.rows == 1 ? 0 : row;
  const std::size_t c = array.columns == 1 ? 0 : column;
  if (r >= array.rows || c >= array.columns) return Value::Error(ErrorCode::kNotAvailable);
  return array.At(r, c);
}

// The array of pick(row, column) over the largest shape of the given arrays.
template <typename Pick>
Value CombineArrays(std::initializer_list<const Array*> arrays, Pick pick) {
  Array out;
  for (const Array* array : arrays) {
    out.rows = std::max(out.rows, array->rows);
    out.columns = std::max(out.columns, array->columns);
  }
  out.values.reserve(out.rows * out.columns);
  for (std::size_t r = 0; r < out.rows; ++r) {
    for (std::size_t c = 0; c < out.columns; ++c) out.values.push_back(pick(r, c));
  }
  return Value::FromArray(std::move(out));
}

}  // namespace xls::formula
