#include "ui/wheel_ignored_while_closed.h"

#include <QComboBox>
#include <QEvent>

namespace ui {
namespace {

class SwallowWheel final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    // Accepted and kept here: neither the box nor the window behind it turns the wheel into
    // a change of the buyer.
    event->accept();
    return true;
  }
};

}  // namespace

void IgnoreWheelWhileClosed(QComboBox& combo) {
  // The text field passes the wheel on to the box, so the box's filter sees both.
  combo.installEventFilter(new SwallowWheel(&combo));
}

}  // namespace ui
