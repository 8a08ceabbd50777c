#include "ui/verdalon_application.h"

#include <exception>

#include "ui/button_pictures.h"
#include "ui/failure_report.h"
#include "ui/plain_dialog_buttons_style.h"
#include "ui/qt_chinese_texts.h"

namespace ui {

VerdalonApplication::VerdalonApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Verdalon"));
  setApplicationDisplayName(QStringLiteral("Verdalon"));
  setApplicationVersion(QStringLiteral(VERDALON_VERSION));
  setOrganizationName(QStringLiteral("Verdalon"));
  setWindowIcon(MonitorIcon());
  // The program speaks Chinese on every desktop, Qt's own words included.
  InstallChineseQtTexts(*this);
  setStyle(new PlainDialogButtonsStyle(style()->name()));
}

bool VerdalonApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    FailAndExit(DescribeFailure(std::current_exception()));
  }
}

}  // namespace ui
