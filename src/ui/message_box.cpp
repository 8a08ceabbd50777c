#include "ui/message_box.h"

#include <QMessageBox>
#include <QTimer>
#include <QtGlobal>
#include <cstdio>

namespace ui {
namespace {

bool AutoAcceptMessages() {
  return qEnvironmentVariableIntValue("VERDALON_AUTO_ACCEPT_MESSAGES") == 1;
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Verdalon"), text, QMessageBox::Ok, parent);
  if (AutoAcceptMessages()) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
    QTimer::singleShot(0, &box, &QMessageBox::accept);
  }
  box.exec();
}

}  // namespace ui
