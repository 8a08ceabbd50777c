#pragma once

#include <cstdint>

#include "xls/biff/record.h"

namespace xls::biff {

// Builders of the records the engine writes into a sheet; rows and columns count from 0.

inline constexpr std::uint16_t kDefaultCellXf = 15;
inline constexpr std::uint16_t kDefaultRowHeight = 0x00FF;  // twips, when the sheet names none

Record NumberRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value);
Record LabelSstRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf,
                      std::uint32_t string_index);
// A boolean (is_error false) or an error code (is_error true).
Record BoolErrRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint8_t value,
                     bool is_error);
Record BlankRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf);
Record RkRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk);
// A row of default format and the given height, covering columns [first, last).
Record RowRecord(std::uint16_t row, std::uint16_t first_column, std::uint16_t last_column,
                 std::uint16_t height);

}  // namespace xls::biff
