#pragma once

#include <vector>

#include "xls/biff/record.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Column widths and hidden columns (COLINFO, DEFCOLWIDTH, STANDARDWIDTH), row heights and
// hidden rows (ROW, DEFAULTROWHEIGHT) and merged ranges (MERGEDCELLS) of a sheet, into the
// layout. default_font_twips is the height of the workbook's first font, on which a
// spreadsheet bases the default column width's padding.
void ReadSheetGeometry(const std::vector<biff::Record>& sheet, double default_font_twips,
                       SheetLayout& layout);

// The width in 1/256 digit of a column that only DEFCOLWIDTH (in whole digits) describes:
// spreadsheets add a few pixels of padding that grow with the font.
std::uint16_t DefaultColumnWidth(std::uint16_t digits, double default_font_twips);

}  // namespace xls::layout
