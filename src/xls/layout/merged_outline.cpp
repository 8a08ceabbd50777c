#include "xls/layout/merged_outline.h"

namespace xls::layout {

CellSides OutlineSides(const CellRange* merge, std::uint16_t row, std::uint16_t column) {
  if (merge == nullptr) return {};
  return {column == merge->first_column, column == merge->last_column, row == merge->first_row,
          row == merge->last_row};
}

bool Overlaps(const CellRange& range, std::uint32_t first_row, std::uint32_t last_row,
              std::uint32_t first_column, std::uint32_t last_column) {
  return range.first_row <= last_row && range.last_row >= first_row &&
         range.first_column <= last_column && range.last_column >= first_column;
}

}  // namespace xls::layout
