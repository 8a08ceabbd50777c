#pragma once

#include <string>

namespace base {

// The magnitude of a finite double as at most 15 significant decimal digits, rounded to
// nearest, trailing zeros dropped: value = 0.d1d2... * 10^point. Fifteen digits is what
// a double holds for certain, so a value a few ulps off a short decimal counts as that
// decimal. Shared by the fixed-decimal texts of the tally and the General texts of cells.
struct SignificantDigits {
  std::string digits;  // no leading or trailing zeros; empty for zero
  int point = 0;       // how many digits stand before the decimal point
};

SignificantDigits ToSignificantDigits(double magnitude);

}  // namespace base
