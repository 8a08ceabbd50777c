// Runs the program's start-up (one-instance guard, window, start-up load from the workbook
// beside this executable, show) and prints the
// wall-clock time, in nanoseconds since the epoch, at which the window is first exposed.
// tools/measure_window.py subtracts the moment it started this process.
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>

#include "ui/form1.h"
#include "ui/single_instance_guard.h"
#include "ui/verdalon_application.h"
#include "ui/workbook_binding.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

int main(int argc, char** argv) {
  ui::VerdalonApplication app(argc, argv);
  QTemporaryDir lock_folder;
  ui::SingleInstanceGuard guard(lock_folder.filePath(QStringLiteral("verdalon.lock")));
  if (guard.TryAcquire() != ui::SingleInstanceGuard::Outcome::Acquired) return 1;

  workbook::EmbeddedApplicationFactory spreadsheets([](const xls::XlsDocument&) {});
  ui::Form1 form;
  ui::WorkbookBinding binding(form, spreadsheets, workbook::ProgramDirectory());
  binding.LoadReferenceData();
  form.ShowCentred();

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (form.windowHandle() == nullptr || !form.windowHandle()->isExposed()) return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
    QCoreApplication::exit(0);
  });
  poll.start(0);
  return app.exec();
}
