#include "ui/tally_print_preview.h"

#include <QApplication>
#include <exception>

#include "printing/print_preview.h"
#include "ui/desktop_opener.h"
#include "ui/failure_report.h"
#include "ui/message_box.h"
#include "ui/spreadsheet_hand_off_prompt.h"
#include "ui/xls_association.h"
#include "workbook/automation_error.h"
#include "workbook/formula_descriptions.h"
#include "workbook/sheet_print_source.h"
#include "xls/xls_document.h"

namespace ui {

namespace {

// The spreadsheet program computes what Verdalon cannot; false where there is none, or it
// did not start, so that the preview is shown after all.
bool HandOffToSpreadsheet(QWidget* parent, const std::filesystem::path& workbook) {
  if (!DesktopHasXlsProgram()) {
    ShowMessage(parent,
                QStringLiteral("本机没有能打开 .xls 工作簿的电子表格程序，只能在本程序中预览。"));
    return false;
  }
  try {
    OpenWithDesktop(workbook);
    return true;
  } catch (const workbook::AutomationError&) {
    ShowMessage(parent, FailureMessage(DescribeFailure(std::current_exception())));
    return false;
  }
}

}  // namespace

void PreviewTallySheet(QWidget* parent, const xls::XlsDocument& workbook) {
  // The print follows the save directly: the results it stored are those of the moment of
  // printing, and the printout is what the file holds.
  const xls::layout::SheetLayout layout = workbook::LoadSavedSheetLayout(workbook, kTallySheet);
  const std::u16string warning = workbook::PrintoutWarning(layout);
  if (!warning.empty() && AskToPrintFromSpreadsheet(parent, QString::fromStdU16String(warning)) &&
      HandOffToSpreadsheet(parent, workbook.Path())) {
    return;
  }
  printing::ShowPrintPreview(parent, layout);
}

void OpenForPrinting(const xls::XlsDocument& workbook) {
  QWidget* window = QApplication::activeWindow();
  if (DesktopHasXlsProgram()) {
    try {
      OpenWithDesktop(workbook.Path());
      return;
    } catch (const workbook::AutomationError&) {
      // The desktop named a program but could not start it: print from here instead.
    }
  }
  PreviewTallySheet(window, workbook);
}

}  // namespace ui
