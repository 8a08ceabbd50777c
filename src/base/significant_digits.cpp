#include "base/significant_digits.h"

#include <array>
#include <charconv>
#include <string_view>

namespace base {

SignificantDigits ToSignificantDigits(double magnitude) {
  SignificantDigits out;
  if (magnitude == 0.0) return out;
  // to_chars, unlike printf, is correctly rounded and knows no locale.
  std::array<char, 40> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::scientific, 14);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  // text is "d.ddddddddddddde[+-]xx"
  const std::size_t e = text.find('e');
  out.digits.push_back(text[0]);
  out.digits.append(text.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  out.point = exponent + 1;
  while (!out.digits.empty() && out.digits.back() == '0') out.digits.pop_back();
  return out;
}

}  // namespace base
