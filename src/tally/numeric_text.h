#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tally {

// Raised when a text names a number beyond the double range.
class Overflow : public std::overflow_error {
  using std::overflow_error::overflow_error;
};

// Reads the number at the start of a text, as a clerk's typing is read everywhere:
// blanks, tabs and line feeds are ignored wherever they stand, "&H"/"&O" introduce
// hexadecimal/octal integers, otherwise the longest leading decimal number counts and
// the rest is ignored. Text without a number gives 0. Only '.' is a decimal point.
double ParseNumber(std::u16string_view text);  // throws Overflow beyond the double range

// The two fixed-decimal layouts of computed fields.
enum class FixedPattern { FourDecimals, TwoDecimals };  // "0.0000" and "0.00"

// Writes a value with a fixed number of decimals. The value is first taken to 15
// significant digits, so a double a few ulps off a short decimal counts as that decimal;
// halves then round away from zero. A non-finite value gives the empty text.
std::u16string FormatFixed(double value, FixedPattern pattern);

// The plain code-unit order in which zero suppression compares a text with its threshold.
bool SortsBefore(std::u16string_view a,
                 std::u16string_view b);  // the text order of ZeroSuppression

}  // namespace tally
