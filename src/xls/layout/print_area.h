#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "xls/biff/record.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// The built-in name Print_Area of the sheet at sheet_index (0 is the first BOUNDSHEET),
// read from the globals' NAME records: the range it covers, or nothing when the sheet
// prints what it holds. A print area of several ranges is taken as the one range that
// covers them all.
std::optional<CellRange> FindPrintArea(const std::vector<biff::Record>& globals,
                                       std::size_t sheet_index);

// The built-in name Print_Titles of the sheet: the rows (a range over every column) and the
// columns (a range over every row) printed again on each page.
struct PrintTitles {
  std::optional<LineSpan> rows;
  std::optional<LineSpan> columns;
};
PrintTitles FindPrintTitles(const std::vector<biff::Record>& globals, std::size_t sheet_index);

}  // namespace xls::layout
