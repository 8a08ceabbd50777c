#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "xls/biff/biff_workbook.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// A cell format (XF) as the sheet's cells refer to it.
struct CellFormat {
  CellStyle style;
  std::uint16_t number_format = 0;
};

// The workbook-wide look of cells: fonts, number formats, cell formats and the colour
// palette, from the globals' FONT, FORMAT, XF and PALETTE records, and the date system.
struct WorkbookStyles {
  std::vector<Font> fonts;  // by the index XF records use (index 4 is never stored)
  std::vector<CellFormat> formats;
  std::map<std::uint16_t, std::u16string> number_formats;  // FORMAT records
  bool date1904 = false;

  // The code of a number format index: the file's own, else the built-in one.
  std::u16string NumberFormatCode(std::uint16_t index) const;
  // The format of an XF index; out-of-range indexes get the default cell format.
  const CellFormat& Format(std::uint16_t xf) const;
};

// Colour index to RGB: the file's PALETTE where it has one, else the default palette;
// the "automatic" indexes give black for text and lines.
Rgb PaletteColour(const std::vector<Rgb>& palette, std::uint16_t index);
std::vector<Rgb> DefaultPalette();

// The number formats and date system as the globals read them, the looks of the cell
// formats they list, and the fonts. Throws BiffFormatError for records too short for
// their fields.
WorkbookStyles ReadWorkbookStyles(const biff::BiffWorkbook& book);

}  // namespace xls::layout
