#include "layout_records.h"

#include <array>

namespace layout_test {

using test_support::PutCharacters;
using test_support::PutU32;

Record Font(const std::u16string& name, std::uint16_t twips, bool bold, bool italic,
            std::uint8_t underline, std::uint16_t colour) {
  Record r{0x0031, {}};
  PutU16(r.body, twips);
  PutU16(r.body, italic ? 0x0002 : 0);
  PutU16(r.body, colour);
  PutU16(r.body, bold ? 700 : 400);
  PutU16(r.body, 0);  // escapement
  r.body.push_back(underline);
  r.body.push_back(0);    // family
  r.body.push_back(134);  // GB2312 character set
  r.body.push_back(0);
  r.body.push_back(static_cast<std::uint8_t>(name.size()));
  PutCharacters(r.body, name);
  return r;
}

Record Xf(const XfSpec& style) {
  Record r{0x00E0, {}};
  PutU16(r.body, style.font);
  PutU16(r.body, style.format);
  PutU16(r.body, 0x0001);  // locked, a cell format
  r.body.push_back(static_cast<std::uint8_t>(style.horizontal | (style.wrap ? 0x08 : 0) |
                                             (style.vertical << 4)));
  r.body.push_back(style.rotation);
  r.body.push_back(style.shrink_to_fit ? 0x10 : 0);  // indent 0
  r.body.push_back(0);
  const std::uint32_t b = style.border;
  PutU32(r.body, b | b << 4 | b << 8 | b << 12 | 8u << 16 | 8u << 23);  // black lines
  std::uint32_t more = 8u | 8u << 7;
  if (style.fill_colour != 0) more |= 1u << 26;  // solid
  PutU32(r.body, more);
  PutU16(r.body, style.fill_colour != 0 ? (style.fill_colour | 65u << 7) : (64u | 65u << 7));
  return r;
}

Record ColInfo(std::uint16_t first, std::uint16_t last, std::uint16_t width, bool hidden) {
  Record r{0x007D, {}};
  PutU16(r.body, first);
  PutU16(r.body, last);
  PutU16(r.body, width);
  PutU16(r.body, 15);
  PutU16(r.body, hidden ? 1 : 0);
  PutU16(r.body, 0);
  return r;
}

Record DefColWidth(std::uint16_t digits) {
  Record r{0x0055, {}};
  PutU16(r.body, digits);
  return r;
}

Record RowHeight(std::uint16_t row, std::uint16_t twips, bool hidden) {
  Record r{0x0208, {}};
  PutU16(r.body, row);
  PutU16(r.body, 0);
  PutU16(r.body, 8);
  PutU16(r.body, twips);
  PutU32(r.body, 0);
  PutU16(r.body, 0x0100 | 0x0040 | (hidden ? 0x0020 : 0));
  PutU16(r.body, 15);
  return r;
}

Record MergeCells(const std::vector<std::array<std::uint16_t, 4>>& ranges) {
  Record r{0x00E5, {}};
  PutU16(r.body, static_cast<std::uint32_t>(ranges.size()));
  for (const auto& range : ranges) {
    for (std::uint16_t v : range) PutU16(r.body, v);
  }
  return r;
}

Record Setup(std::uint16_t paper, std::uint16_t scale, std::uint16_t fit_width,
             std::uint16_t fit_height, bool portrait) {
  Record r{0x00A1, {}};
  PutU16(r.body, paper);
  PutU16(r.body, scale);
  PutU16(r.body, 1);  // first page number (not used)
  PutU16(r.body, fit_width);
  PutU16(r.body, fit_height);
  PutU16(r.body, portrait ? 0x0002 : 0);
  PutU16(r.body, 600);
  PutU16(r.body, 600);
  PutF64(r.body, 0.3);  // header margin
  PutF64(r.body, 0.4);  // footer margin
  PutU16(r.body, 1);
  return r;
}

Record Margin(std::uint16_t type, double inches) {
  Record r{type, {}};
  PutF64(r.body, inches);
  return r;
}

Record Flag(std::uint16_t type, bool on) {
  Record r{type, {}};
  PutU16(r.body, on ? 1 : 0);
  return r;
}

Record WsBool(bool fit_to_page) {
  Record r{0x0081, {}};
  PutU16(r.body, 0x04C1 | (fit_to_page ? 0x0100 : 0));
  return r;
}

Record RowBreaks(const std::vector<std::uint16_t>& rows) {
  Record r{0x001B, {}};
  PutU16(r.body, static_cast<std::uint32_t>(rows.size()));
  for (std::uint16_t row : rows) {
    PutU16(r.body, row);
    PutU16(r.body, 0);
    PutU16(r.body, 255);
  }
  return r;
}

Record Header(const std::u16string& code) {
  Record r{0x0014, {}};
  PutU16(r.body, static_cast<std::uint32_t>(code.size()));
  PutCharacters(r.body, code);
  return r;
}

Record PrintArea(std::uint16_t sheet, std::uint16_t first_row, std::uint16_t last_row,
                 std::uint16_t first_column, std::uint16_t last_column) {
  Record r{0x0018, {}};
  PutU16(r.body, 0x0020);  // built in
  r.body.push_back(0);     // no shortcut key
  r.body.push_back(1);     // name length
  PutU16(r.body, 11);      // formula size: one ptgArea3d
  PutU16(r.body, 0);
  PutU16(r.body, sheet + 1u);
  r.body.insert(r.body.end(), {0, 0, 0, 0});
  r.body.push_back(0);     // compressed name
  r.body.push_back(0x06);  // Print_Area
  r.body.push_back(0x3B);  // ptgArea3d
  PutU16(r.body, 0);       // EXTERNSHEET entry
  PutU16(r.body, first_row);
  PutU16(r.body, last_row);
  PutU16(r.body, first_column);
  PutU16(r.body, last_column);
  return r;
}

Record PrintTitles(std::uint16_t sheet, std::uint16_t first_row, std::uint16_t last_row,
                   std::uint16_t first_column, std::uint16_t last_column) {
  Record r{0x0018, {}};
  PutU16(r.body, 0x0020);  // built in
  r.body.push_back(0);
  r.body.push_back(1);
  PutU16(r.body, 3 + 11 + 11 + 1);
  PutU16(r.body, 0);
  PutU16(r.body, sheet + 1u);
  r.body.insert(r.body.end(), {0, 0, 0, 0});
  r.body.push_back(0);
  r.body.push_back(0x07);  // Print_Titles
  r.body.push_back(0x29);  // ptgMemFunc over the 23 bytes that follow
  PutU16(r.body, 23);
  auto area = [&r](std::uint16_t r0, std::uint16_t r1, std::uint16_t c0, std::uint16_t c1) {
    r.body.push_back(0x3B);
    PutU16(r.body, 0);
    PutU16(r.body, r0);
    PutU16(r.body, r1);
    PutU16(r.body, c0);
    PutU16(r.body, c1);
  };
  area(0, 0xFFFF, first_column, last_column);
  area(first_row, last_row, 0, 0xFF);
  r.body.push_back(0x10);  // ptgUnion
  return r;
}

Record Formula(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double cached,
               const Bytes& tokens) {
  Record r{0x0006, {}};
  PutU16(r.body, row);
  PutU16(r.body, column);
  PutU16(r.body, xf);
  PutF64(r.body, cached);
  PutU16(r.body, 0);
  PutU32(r.body, 0);
  PutU16(r.body, static_cast<std::uint32_t>(tokens.size()));
  r.body.insert(r.body.end(), tokens.begin(), tokens.end());
  return r;
}

}  // namespace layout_test
