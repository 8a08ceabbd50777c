#pragma once

#include <string>

#include "xls/layout/sheet_layout.h"

namespace workbook {

// Beside the failure texts: what the clerk reads when a sheet about to be printed holds
// formulas Verdalon cannot compute, so that its printout would not show their results.

// One line per such cell: which cell ("H19", with the sheet where it is another) and why.
std::u16string DescribeUncomputedCell(const xls::layout::SheetLayout& layout,
                                      const xls::layout::UncomputedCell& cell);

// The whole warning for the print preview, naming every such cell (the first ten, and how
// many more), and offering the spreadsheet program instead. Empty when there is none.
std::u16string UncomputedFormulasWarning(const xls::layout::SheetLayout& layout);

// The one notice before a printout: the formulas above and what the printout cannot draw as
// the spreadsheet program does (rotated text, several fonts in one cell, each
// with the first cell and how many; pictures and shapes), offering the spreadsheet program
// instead. Empty when the printout shows the sheet as the spreadsheet program would.
std::u16string PrintoutWarning(const xls::layout::SheetLayout& layout);

}  // namespace workbook
