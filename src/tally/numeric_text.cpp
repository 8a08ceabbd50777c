#include "tally/numeric_text.h"

#include "base/significant_digits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace tally {
namespace {

constexpr bool IsIgnoredBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n';
}
constexpr bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The text without the blanks that reading ignores, narrowed to ASCII: anything outside
// ASCII ends a number anyway, so it becomes a character that no rule accepts.
std::string WithoutBlanks(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (IsIgnoredBlank(c)) continue;
    out.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
  }
  return out;
}

int DigitValue(char c, int radix) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < radix ? value : -1;
}

// "&H..." and "&O...": an unsigned integer taken as a signed 16-bit number when it fits
// in 16 bits, as a signed 32-bit number when it fits in 32, and too large otherwise.
double ParseRadix(std::string_view digits, int radix) {
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = DigitValue(c, radix);
    if (digit < 0) break;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) throw Overflow("radix number beyond 32 bits");
  }
  if (value <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::size_t SkipDigits(std::string_view s, std::size_t pos) {
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') ++pos;
  return pos;
}

// Length of the longest leading decimal number: sign, digits, point, digits, exponent.
// Returns 0 when no digit stands before or after the point.
struct DecimalSpan {
  std::size_t mantissa_end = 0;  // end of sign, digits and fraction
  std::size_t end = 0;           // end including a complete exponent
  bool has_digits = false;
};

DecimalSpan ScanDecimal(std::string_view s) {
  DecimalSpan span;
  std::size_t pos = 0;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
  const std::size_t int_begin = pos;
  pos = SkipDigits(s, pos);
  span.has_digits = pos > int_begin;
  if (pos < s.size() && s[pos] == '.') {
    const std::size_t frac_begin = pos + 1;
    const std::size_t frac_end = SkipDigits(s, frac_begin);
    span.has_digits = span.has_digits || frac_end > frac_begin;
    pos = frac_end;
  }
  span.mantissa_end = span.end = pos;
  if (!span.has_digits) return span;
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
    std::size_t exp = pos + 1;
    if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
    const std::size_t exp_end = SkipDigits(s, exp);
    if (exp_end > exp) span.end = exp_end;  // "1e" reads as 1
  }
  return span;
}

// Whether a decimal text that from_chars found out of range is too large rather than too
// small. Out-of-range values lie beyond 1e308 or below 1e-323, so the decimal exponent of
// the leading digit tells which.
bool IsTooLarge(std::string_view number, std::size_t mantissa_end) {
  const std::string_view mantissa = number.substr(0, mantissa_end);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first_nonzero = mantissa.find_first_of("123456789");
  if (first_nonzero == std::string_view::npos) return false;  // zero is never too large
  const long long leading = first_nonzero < point
                                ? static_cast<long long>(point - first_nonzero) - 1
                                : -static_cast<long long>(first_nonzero - point);
  long long exponent = 0;
  if (mantissa_end < number.size()) {
    std::size_t e = mantissa_end + 1;
    bool negative = false;
    if (number[e] == '+' || number[e] == '-') negative = number[e++] == '-';
    for (; e < number.size() && exponent < 1'000'000'000; ++e) {
      exponent = exponent * 10 + (number[e] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return leading + exponent > 0;
}

double ParseDecimal(std::string_view s) {
  const DecimalSpan span = ScanDecimal(s);
  if (!span.has_digits) return 0.0;
  std::string number(s.substr(0, span.end));
  if (span.end > span.mantissa_end) number[span.mantissa_end] = 'e';  // 'd'/'D' exponents
  const char* first = number.data();
  if (*first == '+') ++first;  // from_chars accepts '-' only
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (IsTooLarge(number, span.mantissa_end)) throw Overflow("number beyond the double range");
    return number[0] == '-' ? -0.0 : 0.0;
  }
  if (ec != std::errc() || std::isinf(value)) throw Overflow("number beyond the double range");
  return value;
}

// The texts of a tally are nearly always plain decimals such as "117.25" or "0.4000". With
// at most 15 digits, digits / 10^decimals is a division of two exactly held doubles, which
// IEEE rounds correctly: the same value the general path gives, without its copies.
std::optional<double> ParsePlainDecimal(std::u16string_view text) {
  constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t digits = 0;
  int digit_count = 0;
  int decimals = -1;  // digits after the point, -1 while no point was seen
  for (char16_t c : text) {
    if (c == u'.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (!IsDigit(c)) return std::nullopt;
    digits = digits * 10 + static_cast<std::uint64_t>(c - u'0');
    ++digit_count;
    if (decimals >= 0) ++decimals;
  }
  if (digit_count == 0 || digit_count > 15) return std::nullopt;
  return static_cast<double>(digits) / kPowersOfTen[decimals < 0 ? 0 : decimals];
}

}  // namespace

double ParseNumber(std::u16string_view text) {
  if (const std::optional<double> plain = ParsePlainDecimal(text)) return *plain;
  const std::string s = WithoutBlanks(text);
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return ParseRadix(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return ParseRadix(std::string_view(s).substr(2), 8);
  }
  return ParseDecimal(s);
}

std::u16string FormatFixed(double value, FixedPattern pattern) {
  if (!std::isfinite(value)) return {};
  const int decimals = pattern == FixedPattern::FourDecimals ? 4 : 2;
  const base::SignificantDigits sig = base::ToSignificantDigits(std::fabs(value));

  // Lay the digits out on fixed positions: integer part (at least one digit) then the decimals.
  const int integer_digits = sig.point > 0 ? sig.point : 1;
  std::string fixed(static_cast<std::size_t>(integer_digits + decimals), '0');
  const int first_position = sig.point > 0 ? 0 : integer_digits - sig.point;  // of digit 0
  bool round_up = false;
  for (std::size_t i = 0; i < sig.digits.size(); ++i) {
    const int position = first_position + static_cast<int>(i);
    if (position < static_cast<int>(fixed.size())) {
      fixed[static_cast<std::size_t>(position)] = sig.digits[i];
    } else {
      if (position == static_cast<int>(fixed.size())) round_up = sig.digits[i] >= '5';
      break;
    }
  }
  if (round_up) {
    std::size_t i = fixed.size();
    while (i > 0 && fixed[i - 1] == '9') fixed[--i] = '0';
    if (i == 0) {
      fixed.insert(fixed.begin(), '1');
    } else {
      ++fixed[i - 1];
    }
  }

  std::u16string out;
  out.reserve(fixed.size() + 2);
  if (value < 0.0) out.push_back(u'-');
  const std::size_t point_at = fixed.size() - static_cast<std::size_t>(decimals);
  for (std::size_t i = 0; i < fixed.size(); ++i) {
    if (i == point_at) out.push_back(u'.');
    out.push_back(static_cast<char16_t>(fixed[i]));
  }
  return out;
}

bool SortsBefore(std::u16string_view a, std::u16string_view b) {
  return a < b;
}

}  // namespace tally
