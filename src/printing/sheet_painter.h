#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <cstddef>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "printing/heading_painter.h"
#include "xls/layout/narrow_number.h"
#include "xls/layout/page_plan.h"
#include "xls/layout/sheet_layout.h"
#include "xls/layout/text_overflow.h"

namespace printing {

// Draws the pages of a sheet layout as a spreadsheet program prints them: fills, grid lines
// where the sheet asks for them, cell texts in their fonts and alignment, merged cells and
// borders, each page placed inside the margins (centred where the sheet says so) at the
// plan's scale.
class SheetPainter {
 public:
  SheetPainter(const xls::layout::SheetLayout& layout, xls::layout::PagePlan plan,
               double digit_width_points);

  const xls::layout::PagePlan& Plan() const { return plan_; }

  // Paints one page; the painter's device is the whole sheet of paper, its origin the
  // paper's top left corner, with dots_per_point device units to the point.
  // first_page_number is what &P shows on the first page, unless the sheet sets its own.
  void PaintPage(QPainter& painter, std::size_t page, double dots_per_point,
                 int first_page_number = 1) const;

 private:
  struct PageGrid {
    std::vector<double> column_left;  // points on paper, one more than the columns
    std::vector<double> row_top;      // points on paper, one more than the rows
    xls::layout::PageSlice slice;
  };

  // A page's blocks of cells (title rows and columns, where the page prints them, then its
  // own cells) and its headings.
  struct PageFrame {
    std::vector<PageGrid> blocks;
    PageHeadings headings;
  };
  PageFrame FrameFor(std::size_t page) const;
  QRectF CellRect(const PageGrid& grid, std::uint16_t first_row, std::uint16_t last_row,
                  std::uint16_t first_column, std::uint16_t last_column) const;
  // The rectangle of a range on the page's grid, also of its parts on other pages.
  QRectF RangeRect(const PageGrid& grid, const xls::layout::CellRange& range) const;
  const xls::layout::CellRange* MergeAt(std::uint16_t row, std::uint16_t column) const;
  bool HasText(std::uint16_t row, std::uint16_t column) const;

  void PaintFills(QPainter& p, const PageGrid& grid, double k) const;
  void PaintGridlines(QPainter& p, const PageGrid& grid, double k) const;
  // The text pass: which cells draw a text on the page, and how far each may run over.
  bool DrawsTextOf(const PageGrid& grid, const xls::layout::PrintCell& cell,
                   const xls::layout::CellRange* merge) const;
  QRectF OverflowClip(const PageGrid& grid, const xls::layout::PrintCell& cell,
                      const xls::layout::TextPlacement& placement) const;
  // The cells a text stands on as on one: a merged range, or the empty cells after it that
  // are centred across the selection with it; nothing for a text of its own cell.
  std::optional<xls::layout::CellRange> TextRangeOf(const xls::layout::PrintCell& cell) const;
  void PaintTexts(QPainter& p, const PageGrid& grid, double k) const;
  void PaintText(QPainter& p, const PageGrid& grid, const xls::layout::PrintCell& cell,
                 const xls::layout::CellRange* merge, double k) const;
  void PaintBorders(QPainter& p, const PageGrid& grid, double k) const;

  const xls::layout::SheetLayout& layout_;
  xls::layout::PagePlan plan_;
  double digit_width_;

  // What the text pass needs to know of each of the layout's fonts at the plan's scale: the
  // face, the widths a number is fitted with, and whether bold must be drawn by hand.
  // Looked up once per font rather than per cell: shaping a digit takes as long as drawing it.
  struct FontFacts {
    QFont face;
    xls::layout::NumberGlyphWidths glyphs;
    bool synthetic_bold = false;
    double line_height = 0;  // points on paper
  };
  const FontFacts& FactsOf(std::size_t font, const QPaintDevice* device, double k) const;
  mutable std::map<std::tuple<std::size_t, const QPaintDevice*, double>, FontFacts> font_facts_;
};

}  // namespace printing
