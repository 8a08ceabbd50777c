#pragma once

#include <cstdint>

#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// The sides of a cell whose own borders print.
struct CellSides {
  bool left = true;
  bool right = true;
  bool top = true;
  bool bottom = true;
  friend bool operator==(const CellSides&, const CellSides&) = default;
};

// A merged range prints as one cell: no line runs through it, and its outline is drawn
// piece by piece, each edge cell giving the part along its own side, as Excel draws it.
// (LibreOffice stretches the top-left cell's top and left line, the top-right cell's right
// line and the bottom-left cell's bottom line along the whole range; the two agree where the
// edge cells agree, as they do in ranges bordered as a whole.) Outside a merged range
// (merge null) every side prints.
CellSides OutlineSides(const CellRange* merge, std::uint16_t row, std::uint16_t column);

// Whether the range has a cell among the given rows and columns (all ends included).
bool Overlaps(const CellRange& range, std::uint32_t first_row, std::uint32_t last_row,
              std::uint32_t first_column, std::uint32_t last_column);

}  // namespace xls::layout
