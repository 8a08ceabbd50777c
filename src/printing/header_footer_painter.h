#pragma once

#include <QPainter>

#include "xls/layout/page_plan.h"
#include "xls/layout/sheet_layout.h"

namespace printing {

// Draws the sheet's header and footer on one page as spreadsheet programs place them: the
// three parts share a band as high as the highest of them, each centred in it, the
// header's band hanging from the header margin and the footer's standing on the footer
// margin; each part's lines in their own fonts and sizes; the left part starts at
// the left page margin, the right part ends at the right one and the centre part is centred
// between them (or, where the sheet says so, 0.75 inch from the paper's edges). Where the
// sheet asks for it (Excel's default), fonts and lines take the page's scale, fit to pages
// included. The painter's origin is the paper's top left corner, k device dots to the
// point.
void PaintHeaderFooter(QPainter& painter, const xls::layout::SheetLayout& layout,
                       const xls::layout::PagePlan& plan, int page_number, double k);

}  // namespace printing
