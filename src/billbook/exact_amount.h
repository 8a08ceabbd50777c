#pragma once

// The bill's totals as the window shows them ("1234.56" 元, "0.4000" m³) turned into exact
// integers of their smallest unit, so that sums over years of bills stay exact to the fen.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace billbook {

inline constexpr int kFenDecimals = 2;     // 元 in fen
inline constexpr int kVolumeDecimals = 4;  // m³ in 1/10000 m³

// `text` as a whole number of 10^-decimals: an optional minus sign, digits with optional
// thousands commas, and at most `decimals` digits after the point. Blank text is zero (a
// bill without lines shows no total). Nothing else is read: no exponent, no currency sign.
std::optional<std::int64_t> ScaledInteger(std::string_view text, int decimals);

// The integer back as its decimal text with exactly `decimals` places ("123456" -> "1234.56").
std::string ScaledText(std::int64_t value, int decimals);

}  // namespace billbook
