#include "ui/front_request.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QWidget>

#include "ui/foreground_permission.h"

namespace ui {

QString FrontRequestPath(const QString& lock_path) {
  return lock_path + QStringLiteral(".front");
}

void ClearFrontRequests(const QString& request_path) {
  // If the file cannot be made, the program runs on without the service.
  QFile file(request_path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.close();
}

FrontRequestWatcher::FrontRequestWatcher(QWidget& window, QString request_path)
    : window_(window), request_path_(std::move(request_path)) {
  watcher_.addPath(request_path_);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FrontRequestWatcher::Answer);
}

void FrontRequestWatcher::Answer() {
  // A watch ends with its file (removed, or replaced by a save); watch the new one.
  if (!watcher_.files().contains(request_path_)) watcher_.addPath(request_path_);
  window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window_.show();
  window_.raise();
  window_.activateWindow();
  // A message or the print preview the window has open stays in front of it.
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != &window_) {
    modal->raise();
    modal->activateWindow();
  }
}

void RequestFront(const QString& request_path) {
  AllowAnyProcessToTakeTheForeground();
  QFile file(request_path);
  // Appended, so the file changes in size as well as in time: a watcher that compares either
  // sees every request, however close together.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
}

}  // namespace ui
