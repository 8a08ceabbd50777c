#include "ui/start_in_view.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace ui {

void StartInView::Watch(QLineEdit* box) {
  box->installEventFilter(this);
}

void StartInView::ShowStartUnlessEdited(QLineEdit& box) {
  if (box.window()->focusWidget() == &box) return;
  box.setCursorPosition(0);
}

bool StartInView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Another window coming to the front (a message box, another program) or a context menu
    // does not end the edit: the box keeps its caret for when the user comes back.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      static_cast<QLineEdit*>(watched)->setCursorPosition(0);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
