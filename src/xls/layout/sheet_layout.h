#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "xls/formula/uncomputable.h"
#include "xls/number_format/rgb.h"

namespace xls::layout {

// What a sheet looks like on paper, read from its records: plain data, no drawing. Rows and
// columns count from 0; lengths are in the units the file stores them in, so that whoever
// draws the sheet decides how a character width turns into points.

using number_format::Rgb;

enum class Underline : std::uint8_t { kNone, kSingle, kDouble };

struct Font {
  std::u16string name;
  double points = 10;
  bool bold = false;
  bool italic = false;
  bool strikeout = false;
  Underline underline = Underline::kNone;
  Rgb colour;
};

enum class HorizontalAlignment : std::uint8_t {
  kGeneral,  // text to the left, numbers to the right
  kLeft,
  kCentre,
  kRight,
  kFill,
  kJustify,
  kCentreAcrossSelection,
  kDistributed,
};
enum class VerticalAlignment : std::uint8_t { kTop, kCentre, kBottom, kJustify, kDistributed };

// The line styles a cell border can have, as the file numbers them.
enum class BorderStyle : std::uint8_t {
  kNone,
  kThin,
  kMedium,
  kDashed,
  kDotted,
  kThick,
  kDouble,
  kHair,
  kMediumDashed,
  kDashDot,
  kMediumDashDot,
  kDashDotDot,
  kMediumDashDotDot,
  kSlantedDashDot,
};

struct Border {
  BorderStyle style = BorderStyle::kNone;
  Rgb colour;
};

// A cell's format with every index resolved.
struct CellStyle {
  std::size_t font = 0;  // into SheetLayout::fonts
  HorizontalAlignment horizontal = HorizontalAlignment::kGeneral;
  VerticalAlignment vertical = VerticalAlignment::kBottom;
  bool wrap = false;
  std::uint8_t indent = 0;  // in steps of three character widths
  Border left, right, top, bottom;
  std::optional<Rgb> fill;     // solid background; nothing for none
  bool general_number = true;  // numbers in General form, which a narrow cell shortens
  std::uint8_t rotation = 0;   // the file's text rotation: 0 none, 1-180 degrees, 255 stacked
  bool shrink_to_fit = false;
};

struct PrintCell {
  std::uint16_t row = 0;
  std::uint16_t column = 0;
  std::u16string text;               // as the number format shows the value
  bool is_number = false;            // numbers, dates and booleans stand to the right under General
  std::size_t style = 0;             // into SheetLayout::styles
  std::optional<Rgb> text_colour;    // a colour the number format asks for ([Red])
  bool is_logical_or_error = false;  // ... unless it is TRUE, FALSE or an error: centred
};

struct CellRange {
  std::uint16_t first_row = 0;
  std::uint16_t last_row = 0;
  std::uint16_t first_column = 0;
  std::uint16_t last_column = 0;
  bool Contains(std::uint16_t row, std::uint16_t column) const {
    return row >= first_row && row <= last_row && column >= first_column && column <= last_column;
  }
  friend bool operator==(const CellRange&, const CellRange&) = default;
};

enum class Orientation : std::uint8_t { kPortrait, kLandscape };

// A run of whole rows or whole columns, first to last.
struct LineSpan {
  std::uint16_t first = 0;
  std::uint16_t last = 0;
  friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

// Margins are stored in inches, papers and the sheet drawn on them measured in points.
inline constexpr double kPointsPerInch = 72.0;

struct PageSetup {
  std::uint16_t paper_size = 9;  // the file's paper code; 9 is A4
  Orientation orientation = Orientation::kPortrait;
  std::uint16_t scale_percent = 100;
  bool fit_to_pages = false;
  std::uint16_t fit_width = 1;   // pages across; 0: as many as it takes
  std::uint16_t fit_height = 1;  // pages down; 0: as many as it takes
  // Inches. Without margin records, spreadsheets use these.
  double left_margin = 0.75;
  double right_margin = 0.75;
  double top_margin = 1.0;
  double bottom_margin = 1.0;
  bool centre_horizontally = false;
  bool centre_vertically = false;
  bool print_gridlines = false;
  // Header and footer as the file codes them (&L, &C, &R sections, &P page, &N pages,
  // &A sheet, &D date, &T time, &F file); empty for none. Their distances from the paper's
  // edge are in inches.
  std::u16string header;
  std::u16string footer;
  std::optional<std::uint16_t> first_page_number;  // when the sheet sets its own
  double header_margin = 0.5;
  double footer_margin = 0.5;
  std::optional<CellRange> print_area;
  std::vector<std::uint16_t> row_breaks;     // a page starts at each of these rows
  std::vector<std::uint16_t> column_breaks;  // a page starts at each of these columns
  // Print_Titles: rows printed again at the top, and columns at the left, of every page
  // that starts beyond them.
  std::optional<LineSpan> title_rows;
  std::optional<LineSpan> title_columns;
  bool print_headings = false;  // column letters and row numbers around the cells
  // Whether headers and footers take the page's scale (fit to pages too), and whether their
  // left and right parts end at the page margins or at a fixed distance from the paper's
  // edges. Both are Excel's defaults.
  bool header_footer_scales = true;
  bool header_footer_on_margins = true;
};

// A printed cell whose formula Verdalon cannot compute: it prints the result the file holds,
// and whoever shows the printout says so. `sheet_of_cause` names the sheet of why.cell.
struct UncomputedCell {
  std::uint16_t row = 0;
  std::uint16_t column = 0;
  formula::Uncomputable why;
  std::u16string sheet_of_cause;
};

// What a printed cell asks for that Verdalon's renderer does not draw as spreadsheet programs
// do: rotated or stacked text (printed level) and runs of several fonts in one text (printed
// in the cell's font).
enum class UndrawnFeature : std::uint8_t { kRotatedText, kRichText };

struct UndrawnCell {
  UndrawnFeature feature = UndrawnFeature::kRotatedText;
  std::uint16_t row = 0;
  std::uint16_t column = 0;
};

// Column widths in 1/256 of the width of the default font's digit; row heights in twips.
// The reader always gives at least one font (the first is the workbook's default) and one
// style; a layout without them prints nothing.
struct SheetLayout {
  std::u16string sheet_name;  // for &A in headers and footers
  std::u16string file_name;   // for &F; the reader leaves it to whoever knows the file
  std::vector<Font> fonts;
  std::vector<CellStyle> styles;
  std::vector<PrintCell> cells;  // by row, then column
  std::vector<CellRange> merges;
  std::vector<std::uint16_t> column_widths;  // per column up to the last one set
  std::uint16_t default_column_width = 8 * 256;
  std::vector<bool> hidden_columns;
  std::vector<std::uint16_t> row_heights;  // per row up to the last one set
  std::uint16_t default_row_height = 255;
  std::vector<bool> hidden_rows;
  PageSetup page;
  std::vector<UncomputedCell> uncomputed;  // by row, then column
  std::vector<UndrawnCell> undrawn;        // by row, then column
  std::size_t drawings = 0;                // pictures, charts and shapes, which do not print

  std::uint16_t ColumnWidth(std::uint16_t column) const {
    return column < column_widths.size() ? column_widths[column] : default_column_width;
  }
  bool ColumnHidden(std::uint16_t column) const {
    return column < hidden_columns.size() && hidden_columns[column];
  }
  std::uint16_t RowHeight(std::uint16_t row) const {
    return row < row_heights.size() ? row_heights[row] : default_row_height;
  }
  bool RowHidden(std::uint16_t row) const { return row < hidden_rows.size() && hidden_rows[row]; }
};

}  // namespace xls::layout
