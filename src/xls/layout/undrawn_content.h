#pragma once

#include <vector>

#include "xls/biff/record.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Fills layout.undrawn and layout.drawings: the printed cells whose text is rotated, shrunk to
// fit or made of runs in several fonts, and the pictures, charts and shapes the sheet prints
// (comments, filter arrows and objects set not to print are not counted), so that whoever shows the
// printout can say that it will differ from the spreadsheet program's. Reads the layout's cells and
// styles, the globals' shared strings and the sheet's own records.
void FindUndrawnContent(const std::vector<biff::Record>& globals,
                        const std::vector<biff::Record>& sheet, SheetLayout& layout);

}  // namespace xls::layout
