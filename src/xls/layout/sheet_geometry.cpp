#include "xls/layout/sheet_geometry.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "xls/biff/byte_io.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"

namespace xls::layout {

namespace {

namespace record_type = biff::record_type;
namespace col_info_record = biff::col_info_record;
namespace row_record = biff::row_record;
namespace default_row_height_record = biff::default_row_height_record;

namespace merge_cells_record = biff::merge_cells_record;
using biff::GetU16;

constexpr std::size_t kMaxColumns = 256;

void SetColumn(SheetLayout& layout, std::size_t column, std::uint16_t width, bool hidden) {
  if (layout.column_widths.size() <= column) {
    layout.column_widths.resize(column + 1, layout.default_column_width);
    layout.hidden_columns.resize(column + 1, false);
  }
  layout.column_widths[column] = width;
  layout.hidden_columns[column] = hidden;
}

// STANDARDWIDTH, where present, is exact; DEFCOLWIDTH counts whole digits without padding.
std::uint16_t DefaultColumnWidthOf(const std::vector<biff::Record>& sheet,
                                   double default_font_twips) {
  std::optional<std::uint16_t> standard_width;
  std::optional<std::uint16_t> default_digits;
  for (const biff::Record& record : sheet) {
    if (record.type == record_type::kStandardWidth) {
      standard_width = GetU16(record.body, biff::default_width_record::kWidth);
    }
    if (record.type == record_type::kDefColWidth) {
      default_digits = GetU16(record.body, biff::default_width_record::kWidth);
    }
  }
  if (standard_width) return *standard_width;
  return DefaultColumnWidth(default_digits.value_or(8), default_font_twips);
}

void ReadColumnInfo(std::span<const std::uint8_t> body, SheetLayout& layout) {
  const std::uint16_t first = GetU16(body, col_info_record::kFirstColumn);
  const std::uint16_t last = GetU16(body, col_info_record::kLastColumn);
  const std::uint16_t width = GetU16(body, col_info_record::kWidth);
  const bool hidden = (GetU16(body, col_info_record::kOptions) & col_info_record::kHidden) != 0;
  for (std::size_t c = first; c <= last && c < kMaxColumns; ++c) {
    SetColumn(layout, c, width, hidden || width == 0);
  }
}

void ReadRow(std::span<const std::uint8_t> body, SheetLayout& layout) {
  const std::uint16_t row = GetU16(body, row_record::kRow);
  const std::uint16_t height = GetU16(body, row_record::kHeight) & row_record::kHeightMask;
  const bool hidden = (GetU16(body, row_record::kFlags) & row_record::kHidden) != 0;
  if (layout.row_heights.size() <= row) {
    layout.row_heights.resize(std::size_t{row} + 1, layout.default_row_height);
    layout.hidden_rows.resize(std::size_t{row} + 1, false);
  }
  layout.row_heights[row] = height;
  layout.hidden_rows[row] = hidden || height == 0;
}

// The merged ranges, leaving out those whose ends are the wrong way round.
void ReadMerges(std::span<const std::uint8_t> body, SheetLayout& layout) {
  const auto column = [&body](std::size_t at) {
    return static_cast<std::uint16_t>(GetU16(body, at) & merge_cells_record::kColumnMask);
  };
  const std::uint16_t count = GetU16(body, merge_cells_record::kCount);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = merge_cells_record::kFirstRange + merge_cells_record::kRangeSize * i;
    const CellRange range{GetU16(body, at + merge_cells_record::kFirstRow),
                          GetU16(body, at + merge_cells_record::kLastRow),
                          column(at + merge_cells_record::kFirstColumn),
                          column(at + merge_cells_record::kLastColumn)};
    if (range.first_row <= range.last_row && range.first_column <= range.last_column) {
      layout.merges.push_back(range);
    }
  }
}

}  // namespace

std::uint16_t DefaultColumnWidth(std::uint16_t digits, double default_font_twips) {
  // The padding, in 1/256 digit, that spreadsheets add to DEFCOLWIDTH's whole digits.
  const double padding = 40960.0 / std::max(default_font_twips - 15.0, 60.0) + 50.0;
  const double width = digits * 256.0 + std::floor(padding);
  return static_cast<std::uint16_t>(std::min(width, 65535.0));
}

void ReadSheetGeometry(const std::vector<biff::Record>& sheet, double default_font_twips,
                       SheetLayout& layout) {
  layout.default_column_width = DefaultColumnWidthOf(sheet, default_font_twips);
  for (const biff::Record& record : sheet) {
    switch (record.type) {
      case record_type::kColInfo:
        ReadColumnInfo(record.body, layout);
        break;
      case record_type::kDefaultRowHeight: {
        const std::uint16_t flags = GetU16(record.body, default_row_height_record::kFlags);
        layout.default_row_height = GetU16(record.body, default_row_height_record::kHeight);
        if ((flags & default_row_height_record::kRowsHidden) != 0) layout.default_row_height = 0;
        break;
      }
      case record_type::kRow:
        ReadRow(record.body, layout);
        break;
      case record_type::kMergeCells:
        ReadMerges(record.body, layout);
        break;
      default:
        break;
    }
  }
}

}  // namespace xls::layout
