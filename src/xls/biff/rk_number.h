#pragma once

#include <bit>
#include <cstdint>

namespace xls::biff {

// An RK value: a 30-bit integer or the top 30 bits of a double, optionally divided by 100.
inline double DecodeRk(std::uint32_t rk) {
  constexpr std::uint32_t kDividedBy100 = 0x1;
  constexpr std::uint32_t kInteger = 0x2;
  double value = 0;
  if ((rk & kInteger) != 0) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    value = std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
  }
  return (rk & kDividedBy100) != 0 ? value / 100 : value;
}

}  // namespace xls::biff
