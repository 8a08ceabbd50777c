#pragma once

#include <string>

namespace xls::number_format {

// A non-negative value's digits, rounded half away from zero to a number of decimals.
struct RoundedDigits {
  std::string integer;   // no leading zeros; "0" for a value below one
  std::string decimals;  // exactly as many digits as asked for
};

// The rounding works on the value's 15 significant digits, as spreadsheets round: 2.345 is
// stored a little below itself but shows as 2.35 with two places.
RoundedDigits RoundToDecimals(double value, int decimals);

}  // namespace xls::number_format
