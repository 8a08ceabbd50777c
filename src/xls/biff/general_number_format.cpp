#include "xls/biff/general_number_format.h"

#include <cmath>
#include <cstdlib>

#include "base/significant_digits.h"

namespace xls::biff {

namespace {

constexpr int kFirstScientificExponent = 15;      // 1E+15 and up
constexpr int kLastScientificSmallExponent = -5;  // 1E-05 and below

struct Decimal {
  bool negative = false;
  std::string digits;  // 15 at most, no trailing zeros, at least one digit
  int exponent = 0;    // of the first digit
};

Decimal ToDecimal(double value) {
  const base::SignificantDigits significant = base::ToSignificantDigits(std::fabs(value));
  return {value < 0, significant.digits, significant.point - 1};
}

std::string Scientific(const Decimal& d) {
  std::string out(1, d.digits[0]);
  if (d.digits.size() > 1) {
    out += '.';
    out.append(d.digits, 1);
  }
  const int magnitude = std::abs(d.exponent);
  out += d.exponent < 0 ? "E-" : "E+";
  if (magnitude < 10) out += '0';
  return out + std::to_string(magnitude);
}

std::string Plain(const Decimal& d) {
  std::string out;
  if (d.exponent < 0) {
    out = "0.";
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out += d.digits;
    return out;
  }
  const auto integer_digits = static_cast<std::size_t>(d.exponent) + 1;
  out = d.digits.substr(0, integer_digits);
  if (d.digits.size() <= integer_digits) {
    out.append(integer_digits - d.digits.size(), '0');
  } else {
    out += '.';
    out.append(d.digits, integer_digits);
  }
  return out;
}

}  // namespace

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return "#NUM!";
  if (value == 0) return "0";
  const Decimal decimal = ToDecimal(value);
  const bool scientific = decimal.exponent >= kFirstScientificExponent ||
                          decimal.exponent <= kLastScientificSmallExponent;
  std::string text = decimal.negative ? "-" : "";
  text += scientific ? Scientific(decimal) : Plain(decimal);
  return text;
}

}  // namespace xls::biff
