#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

class QWidget;

namespace ui {

// A second copy of the program asks the running one to show its window, so the clerk who
// started the program again, not finding its window, gets it in front. The request is a file
// beside the one-instance lock that the running copy watches: the second copy adds a line to
// it. Files serve on every platform without a network module or a window to send messages to.
QString FrontRequestPath(const QString& lock_path);

// The running copy's side: brings `window` (and any box it has open) to the front, restored
// from the taskbar if minimised, whenever the request file changes. Starts from an empty file.
class FrontRequestWatcher final : public QObject {
 public:
  FrontRequestWatcher(QWidget& window, QString request_path);

 private:
  void Answer();

  QWidget& window_;
  QString request_path_;
  QFileSystemWatcher watcher_;
};

// The second copy's side: lets the running copy take the foreground and asks it to. Whether
// the request arrives is not known here; the second copy ends either way.
void RequestFront(const QString& request_path);

}  // namespace ui
