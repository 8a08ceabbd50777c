#include "tally_print_preview.h"

#include <QApplication>

#include "desktop_opener.h"
#include "print_preview.h"
#include "workbook/automation_error.h"
#include "workbook/sheet_print_source.h"
#include "xls_association.h"

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
