#pragma once

#include <QString>

#include "xls/layout/sheet_layout.h"

class QPrintPreviewDialog;
class QWidget;

namespace printing {

// Verdalon's print preview of a sheet: the pages as they will print, from which the clerk
// prints on any printer the system knows or saves a PDF file. No other program is started.
// Returns when the preview is closed.
void ShowPrintPreview(QWidget* parent, const xls::layout::SheetLayout& layout);

// What the clerk is told when the PDF cannot be written to `path`: the file, and why.
QString PdfSaveFailureText(const QString& path);

// The same preview, not yet shown, for callers that show it themselves (tests, timing).
// The dialog deletes itself when closed.
QPrintPreviewDialog* CreatePrintPreview(QWidget* parent, const xls::layout::SheetLayout& layout);

}  // namespace printing
