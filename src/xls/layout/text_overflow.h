#pragma once

#include <cstdint>
#include <functional>

#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Where a cell's text stands across its cell, as spreadsheet programs print it.
struct TextPlacement {
  HorizontalAlignment horizontal;  // never kGeneral: numbers right, text left, TRUE/#N/A centred
  bool wraps;                      // broken into lines inside the cell
  // Drawn in a font made smaller until it fits the cell's inner width, so it never runs over
  // (shrink to fit; text that wraps is wrapped instead, as Excel does).
  bool shrinks = false;
};

// The placement a cell's style gives its text. Justified text, across or down, wraps, and
// then is not shrunk. Under
// General, logical and error values stand centred, as Excel prints them (LibreOffice puts a
// formula's TRUE, FALSE or error on the right, as a number).
TextPlacement PlaceText(const CellStyle& style, bool is_number, bool is_logical_or_error = false);

// A run of columns, both ends included.
struct ColumnSpan {
  std::uint16_t first = 0;
  std::uint16_t last = 0;
  friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// The columns the text of a cell outside merged ranges may cover (a merged range's text
// keeps to its range). Text that neither wraps nor shrinks runs on over empty neighbours of its
// row, on the side it is aligned away from: text standing left (and filled or centred across a
// selection) to the right, text standing right to the left, centred text both ways. A
// number never runs over, as it would be read as another. `column_is_free(c)` says whether
// column c of the row holds no text and no merged range; the run stops before the first
// that does, and at the ends of `within`, the columns the page shows.
ColumnSpan OverflowColumns(std::uint16_t column, const TextPlacement& placement, bool is_number,
                           ColumnSpan within,
                           const std::function<bool(std::uint16_t)>& column_is_free);

// The columns a text centred across the selection is centred on, as Excel and LibreOffice
// centre it: its own and those after it in its row for which joins(c) holds (empty, not
// merged, and centred across the selection as well), up to the first that does not. The run
// may go on past the page's columns: the text is then placed on the whole run and cut.
ColumnSpan CentreAcrossColumns(std::uint16_t column,
                               const std::function<bool(std::uint16_t)>& joins);

// The sides on which a text runs off the page: where its run (span, from OverflowColumns)
// reaches the end of the columns the page shows (within) on a side it runs to, and the column
// beyond is free, spreadsheet programs print it on to the edge of the printable area, also
// past the last column in use, rather than cutting it at the last column.
struct PageEdges {
  bool left = false;
  bool right = false;
  friend bool operator==(const PageEdges&, const PageEdges&) = default;
};
PageEdges RunsOffPage(ColumnSpan span, const TextPlacement& placement, bool is_number,
                      ColumnSpan within, const std::function<bool(std::uint16_t)>& column_is_free);

}  // namespace xls::layout
