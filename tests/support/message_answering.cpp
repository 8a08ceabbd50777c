#include "message_answering.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace test_support {
namespace {

class MessageAnswerer final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        // Without the line breaks the box puts in for the eye: the message as the program said it.
        const QString text = box->text().remove(QChar::LineSeparator);
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        std::fflush(stderr);
        // Queued: the box's own event loop must be running before it can be accepted.
        QTimer::singleShot(0, box, &QMessageBox::accept);
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void AnswerEveryMessageBox() {
  QCoreApplication* app = QCoreApplication::instance();
  app->installEventFilter(new MessageAnswerer(app));
}

}  // namespace test_support
