#pragma once

// Builders of the records that describe how a sheet looks on paper, written from the
// published BIFF8 layouts rather than through the engine, for hand-built workbooks.

#include <cstdint>
#include <string>
#include <vector>

#include "biff_streams.h"

namespace layout_test {

using test_support::Bytes;
using test_support::Record;

using test_support::PutF64;
using test_support::PutU16;

Record Font(const std::u16string& name, std::uint16_t twips, bool bold = false, bool italic = false,
            std::uint8_t underline = 0, std::uint16_t colour = 0x7FFF);

struct XfSpec {
  std::uint16_t font = 0;
  std::uint16_t format = 0;
  std::uint8_t horizontal = 0;  // 0 general, 1 left, 2 centre, 3 right
  std::uint8_t vertical = 2;    // 0 top, 1 centre, 2 bottom
  bool wrap = false;
  std::uint8_t border = 0;        // one style on all four sides
  std::uint16_t fill_colour = 0;  // 0: no fill, else a solid fill of this palette index
  std::uint8_t rotation = 0;
  bool shrink_to_fit = false;
};
Record Xf(const XfSpec& style);

Record ColInfo(std::uint16_t first, std::uint16_t last, std::uint16_t width, bool hidden = false);
Record DefColWidth(std::uint16_t digits);
Record RowHeight(std::uint16_t row, std::uint16_t twips, bool hidden = false);
Record MergeCells(const std::vector<std::array<std::uint16_t, 4>>& ranges);  // r0 r1 c0 c1
Record Setup(std::uint16_t paper, std::uint16_t scale, std::uint16_t fit_width,
             std::uint16_t fit_height, bool portrait);
Record Margin(std::uint16_t type, double inches);
Record Flag(std::uint16_t type, bool on);  // HCENTER, VCENTER, PRINTGRIDLINES
Record WsBool(bool fit_to_page);
Record RowBreaks(const std::vector<std::uint16_t>& rows);
Record Header(const std::u16string& code);
// The built-in name Print_Area of the sheet (0-based) as one 3-D area.
Record PrintArea(std::uint16_t sheet, std::uint16_t first_row, std::uint16_t last_row,
                 std::uint16_t first_column, std::uint16_t last_column);
// The built-in name Print_Titles of the sheet as Excel writes rows and columns together: a
// ptgMemFunc round the columns' and the rows' ptgArea3d and their union.
Record PrintTitles(std::uint16_t sheet, std::uint16_t first_row, std::uint16_t last_row,
                   std::uint16_t first_column, std::uint16_t last_column);
Record Formula(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double cached,
               const Bytes& tokens);

}  // namespace layout_test
