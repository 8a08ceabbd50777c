#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QString>

#include "xls/layout/page_plan.h"
#include "xls/layout/sheet_layout.h"

namespace printing {

// The plan of pages for a layout, with column widths measured in its default font.
xls::layout::PagePlan PlanFor(const xls::layout::SheetLayout& layout);

// The paper of a plan, upright or turned, without margins of the device's own: the sheet's
// margins are part of what is drawn.
QPageLayout PaperLayout(const xls::layout::SheetLayout& layout, const xls::layout::PagePlan& plan);

// Draws every page of the sheet onto a printer, a PDF writer or a preview. The device is
// set to the sheet's paper first. first_page_number is the number &P gives the first page
// (unless the sheet sets its own), for printing several sheets as one document. Returns the
// number of pages.
int PrintSheet(const xls::layout::SheetLayout& layout, QPagedPaintDevice& device,
               int first_page_number = 1);

// Writes the sheet as a PDF file; false when the file cannot be written.
bool WriteSheetPdf(const xls::layout::SheetLayout& layout, const QString& path,
                   int first_page_number = 1);

}  // namespace printing
