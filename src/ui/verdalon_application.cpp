#include "verdalon_application.h"

#include <exception>

#include "button_pictures.h"
#include "failure_report.h"

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
