#pragma once

#include <QFont>

#include "xls/layout/sheet_layout.h"

namespace printing {

// The face a cell's font is drawn with: the name the workbook gives; where that is not
// installed, 宋体 (SimSun) takes the window's stand-ins, 黑体 a sans-serif Chinese face, Arial,
// Times New Roman and Courier New faces of the same widths, and any other the face the system
// substitutes. point_size is the size on paper, after the page's scale.
QFont CellFont(const xls::layout::Font& font, double point_size);

// The width in points of the digit "0" in the workbook's default font, the unit column
// widths are counted in. It is measured in the face the system resolves the font's name to,
// as other spreadsheet programs measure it, so that columns come out as wide as there.
double DigitWidthPoints(const xls::layout::Font& default_font);

}  // namespace printing
