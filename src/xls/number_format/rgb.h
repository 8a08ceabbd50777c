#pragma once

#include <cstdint>

namespace xls::number_format {

// A colour as 8-bit red, green and blue: what a number format's [Red] or [Color10] names,
// and what a cell's font, fill or border is drawn in.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace xls::number_format
