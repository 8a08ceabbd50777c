#pragma once

#include <QString>

class QWidget;

namespace ui {

// Asks the clerk, in a box with the program's caption, whether to print from the
// spreadsheet program rather than from Verdalon's preview, giving `warning` as the reason.
// True for the spreadsheet program; closing the box keeps the preview.
bool AskToPrintFromSpreadsheet(QWidget* parent, const QString& warning);

}  // namespace ui
