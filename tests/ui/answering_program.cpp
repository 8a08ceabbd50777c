// Linked into a test-only build of the program: its message boxes answer themselves, and the
// windows it shows are reported, so tests can start the real program and read from standard
// error what it said and when its window appeared.
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

#include "message_answering.h"

namespace {

class ShownWindowReporter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->isWindow() &&
          qobject_cast<QMessageBox*>(widget) == nullptr) {
        std::fprintf(stderr, "window shown: %s\n", qPrintable(widget->objectName()));
        std::fflush(stderr);
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

void AnswerMessagesFromTheStart() {
  test_support::AnswerEveryMessageBox();
  QCoreApplication* app = QCoreApplication::instance();
  app->installEventFilter(new ShownWindowReporter(app));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(AnswerMessagesFromTheStart)
