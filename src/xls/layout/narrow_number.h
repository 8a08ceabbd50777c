#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace xls::layout {

// Widths, in one unit, of the characters a number's text is measured by: the widest digit,
// the decimal point, the minus sign and the exponent's E.
struct NumberGlyphWidths {
  double widest_digit = 0;
  double point = 0;
  double minus = 0;
  double exponent = 0;
};

// What a number shows in a cell `room` wide, as spreadsheet programs print it. A text that
// fits stays. One that does not is never cut, as its last digits would read as another
// figure: a number in General form is first shortened to fewer decimals (3.142), or to
// scientific form when its whole part does not fit (1.23E+08), counting how many digits the
// room holds; a number in any other format, or one still too wide, prints as "###" (as
// LibreOffice prints it; Excel repeats the '#' across the cell). `general` says the cell's format
// is General; `width_of` measures a text in the unit of `glyphs` and `room`.
std::u16string FitNumberText(const std::u16string& shown, bool general, double room,
                             const NumberGlyphWidths& glyphs,
                             const std::function<double(std::u16string_view)>& width_of);

}  // namespace xls::layout
