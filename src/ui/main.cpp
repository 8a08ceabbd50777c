#include <QString>

#include "form1.h"
#include "message_box.h"
#include "single_instance_guard.h"
#include "startup_load.h"
#include "verdalon_application.h"

int main(int argc, char** argv) {
  ui::VerdalonApplication app(argc, argv);

  ui::SingleInstanceGuard guard(ui::DefaultLockPath());
  if (!guard.TryAcquire()) {
    ui::ShowMessage(nullptr, QString::fromUtf16(ui::kAlreadyRunningMessage));
    return 0;
  }

  ui::Form1 form;
  ui::RunStartupLoad(form);
  form.ShowCentred();
  return app.exec();
}
