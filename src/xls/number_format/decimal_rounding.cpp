#include "xls/number_format/decimal_rounding.h"

#include "base/significant_digits.h"

namespace xls::number_format {

namespace {

// Adds one at the last digit; a carry out of the first digit adds a digit in front.
void RoundUp(std::string& digits, int& point) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  ++point;
}

}  // namespace

RoundedDigits RoundToDecimals(double value, int decimals) {
  const base::SignificantDigits significant = base::ToSignificantDigits(value);
  // Digits with the point at `point`: pad so that every needed place exists.
  std::string digits = significant.digits;
  int point = significant.point;
  if (digits.empty()) point = 1;
  if (point <= 0) {
    digits.insert(0, static_cast<std::size_t>(1 - point), '0');
    point = 1;
  }
  const std::size_t keep = static_cast<std::size_t>(point + decimals);
  if (digits.size() < keep + 1) digits.resize(keep + 1, '0');
  const bool round_up = digits[keep] >= '5';
  digits.resize(keep);
  if (round_up) RoundUp(digits, point);
  RoundedDigits out;
  out.integer = digits.substr(0, static_cast<std::size_t>(point));
  out.decimals = digits.substr(static_cast<std::size_t>(point));
  const std::size_t first = out.integer.find_first_not_of('0');
  out.integer = first == std::string::npos ? "0" : out.integer.substr(first);
  return out;
}

}  // namespace xls::number_format
