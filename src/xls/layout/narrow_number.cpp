#include "xls/layout/narrow_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace xls::layout {

namespace {

// The value of a number's General text ("-3.14159", "1.5E+20"); nothing for other texts,
// such as Chinese numerals.
std::optional<double> ParseGeneral(const std::u16string& text) {
  std::string ascii;
  for (const char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string EraseTrailingDecimalZeros(std::string text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return text;
  std::size_t end = text.find('E');
  if (end == std::string::npos) end = text.size();
  std::size_t last = end;
  while (last > point + 1 && text[last - 1] == '0') --last;
  if (last == point + 1) last = point;
  return text.erase(last, end - last);
}

// Fixed notation with `decimals` decimals, trailing zeros dropped, never "-0".
std::string Fixed(double value, int decimals) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 300), value);
  std::string text = EraseTrailingDecimalZeros(buffer);
  if (text == "-0") text = "0";
  return text;
}

// Scientific notation with a two-digit exponent at least, trailing zeros dropped.
std::string Scientific(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*E", std::min(decimals, 20), value);
  return EraseTrailingDecimalZeros(buffer);
}

// The General text of `value` in at most `characters` characters where it can be: the
// decimals that room leaves after the whole part, sign and point, else scientific form.
std::string GeneralInCharacters(double value, int characters) {
  const double magnitude = std::fabs(value);
  const bool negative = std::signbit(value);
  auto scientific = [&] {
    const double exponent = magnitude > 0 ? std::log10(magnitude) : 0;
    const int format_characters = 6 + (std::fabs(exponent) >= 100 ? 1 : 0);  // 1.E+00
    int decimals = std::max(characters - format_characters, 0);
    if (decimals > 0 && negative) --decimals;
    return Scientific(value, decimals);
  };
  if (magnitude != 0 && magnitude < 1e-4) return scientific();
  const double exponent = magnitude > 0 ? std::log10(magnitude) : 0;
  const int whole_digits = exponent >= 0 ? static_cast<int>(std::ceil(exponent)) : 1;
  if (whole_digits > 15) return scientific();
  int decimals = std::max(characters - whole_digits, 0);
  if (decimals > 0 && negative) --decimals;
  if (decimals > 0) --decimals;  // the point
  std::string text = Fixed(value, decimals);
  if (static_cast<int>(text.size()) > characters) text = scientific();
  return text;
}

std::u16string Wide(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

}  // namespace

namespace {

// How wide a text of digits, points, minus signs and Es can be at most; infinity for any other
// text, whose width only measuring tells.
double WidestPossible(std::u16string_view text, const NumberGlyphWidths& glyphs) {
  if (glyphs.widest_digit <= 0) return std::numeric_limits<double>::infinity();
  double width = 0;
  for (const char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      width += glyphs.widest_digit;
    } else if (c == u'.') {
      width += glyphs.point;
    } else if (c == u'-') {
      width += glyphs.minus;
    } else if (c == u'E') {
      width += glyphs.exponent;
    } else {
      return std::numeric_limits<double>::infinity();
    }
  }
  return width;
}

}  // namespace

std::u16string FitNumberText(const std::u16string& shown, bool general, double room,
                             const NumberGlyphWidths& glyphs,
                             const std::function<double(std::u16string_view)>& width_of) {
  // Most numbers of a long table fit by far: that is settled without shaping their text.
  if (WidestPossible(shown, glyphs) <= room || width_of(shown) <= room) return shown;
  const std::optional<double> value = general ? ParseGeneral(shown) : std::nullopt;
  if (value && glyphs.widest_digit > 0) {
    // Characters are counted as digits first; a point, minus or E narrower than a digit
    // leaves room for more of them.
    std::string text = GeneralInCharacters(*value, static_cast<int>(room / glyphs.widest_digit));
    const auto count = [&text](char c) {
      return static_cast<double>(std::count(text.begin(), text.end(), c));
    };
    double points = count('.');
    if (text == "0" && *value != 0) points = 1;
    const double widened = room + (glyphs.widest_digit - glyphs.point) * points +
                           (glyphs.widest_digit - glyphs.minus) * count('-') +
                           (glyphs.widest_digit - glyphs.exponent) * count('E');
    if (widened != room) {
      text = GeneralInCharacters(*value, static_cast<int>(widened / glyphs.widest_digit));
    }
    const std::u16string fitted = Wide(text);
    if (width_of(fitted) <= widened) return fitted;
  }
  return u"###";
}

}  // namespace xls::layout
