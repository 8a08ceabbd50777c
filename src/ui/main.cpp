#include <QString>
#include <exception>

#include "ui/book_command.h"
#include "ui/desktop_opener.h"
#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/front_request.h"
#include "ui/message_box.h"
#include "ui/print_command.h"
#include "ui/single_instance_guard.h"
#include "ui/tally_print_preview.h"
#include "ui/verdalon_application.h"
#include "ui/workbook_binding.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"

int main(int argc, char** argv) {
  ui::VerdalonApplication app(argc, argv);

  const QString lock_path = ui::DefaultLockPath();
  ui::SingleInstanceGuard guard(lock_path);
  switch (guard.TryAcquire()) {
    case ui::SingleInstanceGuard::Outcome::Acquired:
      ui::ClearFrontRequests(ui::FrontRequestPath(lock_path));
      break;
    case ui::SingleInstanceGuard::Outcome::AnotherCopyRuns:
      ui::ShowMessage(nullptr, QString::fromUtf16(ui::kAlreadyRunningMessage));
      // After the message, so the running copy's window cannot cover it.
      ui::RequestFront(ui::FrontRequestPath(lock_path));
      return 0;
    case ui::SingleInstanceGuard::Outcome::CannotLock:
      // Whether another copy runs cannot be known: say what is wrong and where.
      ui::ShowMessage(nullptr, ui::CannotLockMessage(guard.LockFolder()));
      return 1;
  }

  // The export shows the workbook it has just saved as it stands in memory: the print
  // preview that stands in for a missing spreadsheet program reads no file again.
  workbook::EmbeddedApplicationFactory spreadsheets(ui::OpenForPrinting,
                                                    workbook::SavedWorkbookReopening::kFromMemory);
  ui::Form1 form;
  ui::WorkbookBinding binding(form, spreadsheets, workbook::ProgramDirectory());
  ui::PrintCommand print(form, workbook::ProgramDirectory());
  ui::BookCommand book(form, binding, workbook::ProgramDirectory());
  try {
    binding.LoadReferenceData();
  } catch (const std::exception&) {
    // Without buyers and seller there is nothing to work with; no tally exists yet.
    ui::FailAndExit(ui::DescribeFailure(std::current_exception()));
  }
  form.ShowCentred();
  ui::FrontRequestWatcher front_requests(form, ui::FrontRequestPath(lock_path));
  return app.exec();
}
