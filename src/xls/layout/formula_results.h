#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "xls/biff/record.h"
#include "xls/biff/sheet_substream.h"

namespace xls::layout {

// Recomputes the results of the sheet's simple formulas from the cells they refer to.
//
// A workbook that Verdalon has written holds new numbers but the formulas' old results:
// the engine does not calculate, and a spreadsheet program recalculates on opening. A
// printout made without one would show the template's totals as they were before the
// tally was written (金额合计 0.00). Formulas made of numbers, references to cells and
// ranges of this sheet, + - * / and unary minus, percent, and SUM, MIN, MAX, AVERAGE,
// COUNT, ABS and ROUND are computed again; any other formula keeps the result the file holds.
//
// cells: the sheet's cells by (row << 16 | column), changed in place.
void RecomputeFormulas(const std::vector<biff::Record>& sheet_records,
                       std::map<std::uint32_t, biff::CellValue>& cells);

}  // namespace xls::layout
