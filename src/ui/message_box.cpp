#include "ui/message_box.h"

#include <QMessageBox>

namespace ui {

void ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Verdalon"), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace ui
