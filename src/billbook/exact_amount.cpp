#include "billbook/exact_amount.h"

#include <limits>

namespace billbook {

namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::int64_t> ScaledInteger(std::string_view text, int decimals) {
  if (IsBlank(text)) return 0;
  text = Trimmed(text);
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10;
  std::int64_t value = 0;
  int digits = 0;
  int fraction_digits = -1;  // -1 until the point
  bool last_was_comma = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      const int digit = c - '0';
      if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return std::nullopt;
      value = value * 10 + digit;
      ++digits;
      if (fraction_digits >= 0 && ++fraction_digits > decimals) return std::nullopt;
      last_was_comma = false;
    } else if (c == ',' && fraction_digits < 0 && digits > 0 && !last_was_comma) {
      last_was_comma = true;
    } else if (c == '.' && fraction_digits < 0 && !last_was_comma) {
      fraction_digits = 0;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || last_was_comma) return std::nullopt;
  for (int i = fraction_digits < 0 ? 0 : fraction_digits; i < decimals; ++i) {
    if (value > kLimit) return std::nullopt;
    value *= 10;
  }
  return negative ? -value : value;
}

std::string ScaledText(std::int64_t value, int decimals) {
  const bool negative = value < 0;
  // Digits of the magnitude, kept unsigned so that the smallest int64 has one too.
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits;
  while (magnitude > 0 || static_cast<int>(digits.size()) <= decimals) {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  }
  if (decimals > 0) digits.insert(digits.end() - decimals, '.');
  return negative ? "-" + digits : digits;
}

}  // namespace billbook
