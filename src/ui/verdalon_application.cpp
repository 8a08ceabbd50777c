#include "ui/verdalon_application.h"

#include <exception>

#include "ui/button_pictures.h"
#include "ui/failure_report.h"

namespace ui {

VerdalonApplication::VerdalonApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Verdalon"));
  setApplicationDisplayName(QStringLiteral("Verdalon"));
  setApplicationVersion(QStringLiteral(VERDALON_VERSION));
  setOrganizationName(QStringLiteral("Verdalon"));
  setWindowIcon(MonitorIcon());
}

bool VerdalonApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    FailAndExit(DescribeFailure(std::current_exception()));
  }
}

}  // namespace ui
