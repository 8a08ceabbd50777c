#include <QString>
#include <exception>

#include "desktop_opener.h"
#include "failure_report.h"
#include "form1.h"
#include "message_box.h"
#include "single_instance_guard.h"
#include "verdalon_application.h"
#include "workbook/embedded_application.h"
#include "workbook_binding.h"

int main(int argc, char** argv) {
  ui::VerdalonApplication app(argc, argv);

  ui::SingleInstanceGuard guard(ui::DefaultLockPath());
  switch (guard.TryAcquire()) {
    case ui::SingleInstanceGuard::Outcome::Acquired:
      break;
    case ui::SingleInstanceGuard::Outcome::AnotherCopyRuns:
      ui::ShowMessage(nullptr, QString::fromUtf16(ui::kAlreadyRunningMessage));
      return 0;
    case ui::SingleInstanceGuard::Outcome::CannotLock:
      // Whether another copy runs cannot be known: say what is wrong and where.
      ui::ShowMessage(nullptr, ui::CannotLockMessage(guard.LockFolder()));
      return 1;
  }

  workbook::EmbeddedApplicationFactory spreadsheets(ui::OpenWithDesktop);
  ui::Form1 form;
  ui::WorkbookBinding binding(form, spreadsheets, ui::ProgramDirectory());
  try {
    binding.LoadReferenceData();
  } catch (const std::exception&) {
    // Without buyers and seller there is nothing to work with; no tally exists yet.
    ui::FailAndExit(ui::DescribeFailure(std::current_exception()));
  }
  form.ShowCentred();
  return app.exec();
}
