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

// The running copy's side, as soon as it holds the lock: empties the request file, so that
// neither a request left by an earlier run nor one made while this copy still loads its
// workbook counts (its window comes up in front anyway when first shown).
void ClearFrontRequests(const QString& request_path);

// Then, once the window is shown: brings `window` (and any box it has open) to the front,
// restored from the taskbar if minimised, whenever the request file changes.
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
