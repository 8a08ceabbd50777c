#pragma once

#include <QPainter>
#include <QString>
#include <cstdint>
#include <vector>

#include "xls/layout/sheet_layout.h"

namespace printing {

// A run of neighbouring columns (or rows) on a page: the first one's index and the edges of
// each, in points on paper, one more edge than there are columns.
struct HeadingRun {
  std::uint16_t first = 0;
  std::vector<double> edges;
};

// Where a page's printed headings stand: the letters in a band `height` high along the top
// of the cells, from `top` down; the numbers in a band `width` wide down their left, from
// `left` on. Title columns and rows come as runs of their own, before the page's own.
struct PageHeadings {
  std::vector<HeadingRun> columns;
  std::vector<HeadingRun> rows;
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// "A" … "Z", "AA" …: a column's name as spreadsheets print it over the column.
QString ColumnLetters(std::uint16_t column);

// Draws the headings as spreadsheet programs print them: each letter and number centred in
// a box of its own, in the workbook's default font at the page's scale, and a frame round
// the headings and the cells together (cells_right and cells_bottom are the cells' far
// edges). Hidden columns and rows have no box. k is device dots to the point.
void PaintHeadings(QPainter& painter, const PageHeadings& headings, const xls::layout::Font& font,
                   double scale, double cells_right, double cells_bottom, double k);

}  // namespace printing
