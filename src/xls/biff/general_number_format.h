#pragma once

#include <string>

namespace xls::biff {

// A number as a General cell gives it as text: rounded to 15 significant digits, without
// trailing zeros. Magnitudes from 1E-05 (exclusive) up to 1E+15 (exclusive) are written
// plainly ("0.0001", "123456789012345"); smaller and larger ones in scientific form with a
// signed exponent of at least two digits ("1E-05", "1.5E+20", "1E+100"). Zero gives "0"
// (also for -0); infinities and NaN, which no cell can hold, give "#NUM!".
std::string FormatGeneral(double value);

}  // namespace xls::biff
