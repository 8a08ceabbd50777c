#include "ui/tally_print_preview.h"

#include <QApplication>

#include "printing/print_preview.h"
#include "ui/desktop_opener.h"
#include "ui/xls_association.h"
#include "workbook/automation_error.h"
#include "workbook/sheet_print_source.h"

namespace ui {

void PreviewTallySheet(QWidget* parent, const std::filesystem::path& workbook) {
  printing::ShowPrintPreview(parent, workbook::LoadSheetLayout(workbook, kTallySheet));
}

void OpenForPrinting(const std::filesystem::path& workbook) {
  QWidget* window = QApplication::activeWindow();
  if (DesktopHasXlsProgram()) {
    try {
      OpenWithDesktop(workbook);
      return;
    } catch (const workbook::AutomationError&) {
      // The desktop named a program but could not start it: print from here instead.
    }
  }
  PreviewTallySheet(window, workbook);
}

}  // namespace ui
