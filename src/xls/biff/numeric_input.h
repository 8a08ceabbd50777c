#pragma once

#include <optional>
#include <string_view>

namespace xls::biff {

// Whether a text assigned to a cell reads as a number by a spreadsheet's ordinary input
// rules, and which. Accepted, after dropping surrounding spaces (U+0020 only):
//   an optional sign '+' or '-';
//   digits, optionally grouped by thousands with ',' ("1,234,567": 1 to 3 digits, then
//   groups of exactly three), and/or a '.' with digits after it ("5.", ".5", "320.00");
//   an optional exponent 'e' or 'E', optional sign, one or more digits ("1e5", "2E-3").
// Anything else stays text: blanks only, letters or units ("4m"), percent and currency
// signs, full-width digits, hexadecimal, "inf"/"nan", and magnitudes beyond the double
// range (which a cell cannot hold). "-0" gives 0.
std::optional<double> ParseNumericInput(std::u16string_view text);

}  // namespace xls::biff
