#pragma once

#include <cstdint>
#include <vector>

#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Paper width and height in points (1/72 inch) for the file's paper code, upright; unknown
// codes give A4.
struct PaperSize {
  double width = 595.276;
  double height = 841.89;
};
PaperSize PaperForCode(std::uint16_t code);

// One printed page: the block of cells it shows, and whether the sheet's title rows stand
// above it and its title columns to its left.
struct PageSlice {
  std::uint16_t first_row = 0;
  std::uint16_t last_row = 0;
  std::uint16_t first_column = 0;
  std::uint16_t last_column = 0;
  bool title_rows = false;
  bool title_columns = false;
};

// The room printed row and column headings take, in points on the sheet (they shrink with
// it): the row numbers' column is 1 cm wide, the column letters' row 12.8 pt high.
inline constexpr double kRowHeadingWidth = kPointsPerInch / 2.54;
inline constexpr double kColumnHeadingHeight = 12.8;

// How the sheet falls on paper. Lengths are points on paper; cell sizes on the sheet are
// multiplied by scale.
struct PagePlan {
  PaperSize paper;  // turned for landscape
  double scale = 1;
  CellRange range;  // the cells printed: the print area, else A1 to the last cell that shows
  std::vector<PageSlice> pages;  // down first, then across; none with nothing on it
  std::optional<LineSpan> title_rows;
  std::optional<LineSpan> title_columns;
  bool headings = false;  // row numbers and column letters printed
};

// Widths and heights of the sheet in points at 100 %. digit_width_points is the width of
// a digit of the workbook's default font, the unit column widths count in.
double ColumnWidthPoints(const SheetLayout& layout, std::uint16_t column,
                         double digit_width_points);
double RowHeightPoints(const SheetLayout& layout, std::uint16_t row);

// The cells that show on paper when no print area is set: up to the last one with text,
// a border or a fill, merged ranges included. Nothing when the sheet is blank.
std::optional<CellRange> UsedRange(const SheetLayout& layout);

// Cuts the sheet into pages: scale (or the largest whole percentage at which the cut gives
// no more pages across and down than asked for, never above 100 %), then pages as wide and
// tall as the paper inside its margins holds, less the headings and, from the first page
// that starts past them, the title rows and columns; cut before manual page breaks too,
// unless the sheet is fit to pages. Pages on which no cell shows (no text, border
// or fill, no part of a merged range) are left out, as spreadsheet programs leave them; a
// blank sheet has no pages.
PagePlan PlanPages(const SheetLayout& layout, double digit_width_points);

}  // namespace xls::layout
