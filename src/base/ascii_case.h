#pragma once

#include <algorithm>
#include <string_view>

namespace base {

// The one ASCII case fold: letters a-z become A-Z and every other character stays as it is.
// Spreadsheet sheet names and automation ProgIDs compare this way; compound-file names fold
// further letters on top of it.
template <typename Char>
constexpr Char AsciiUpper(Char c) {
  return (c >= Char('a') && c <= Char('z')) ? static_cast<Char>(c - (Char('a') - Char('A'))) : c;
}

template <typename Char>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<Char> a,
                                      std::basic_string_view<Char> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](Char x, Char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

}  // namespace base
