#pragma once

#include <compare>
#include <cstdint>

namespace xls::biff {

// A cell as BIFF8 addresses it: row and column, both counted from 0. Ordered row first,
// then column, the order in which a sheet stores its cells.
struct CellAddress {
  std::uint16_t row = 0;
  std::uint16_t column = 0;

  friend constexpr auto operator<=>(const CellAddress&, const CellAddress&) = default;
};

}  // namespace xls::biff
