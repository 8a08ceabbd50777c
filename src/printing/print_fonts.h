#pragma once

#include <QFont>

#include "xls/layout/sheet_layout.h"

namespace printing {

// The face a cell's font is drawn with: the name the workbook gives, and where that is
// 宋体 (SimSun) the same stand-ins the window uses when it is not installed. point_size is
// the size on paper, after the page's scale.
QFont CellFont(const xls::layout::Font& font, double point_size);

// The width in points of the digit "0" in the workbook's default font, the unit column
// widths are counted in. It is measured in the face the system resolves the font's name to,
// as other spreadsheet programs measure it, so that columns come out as wide as there.
double DigitWidthPoints(const xls::layout::Font& default_font);

}  // namespace printing
