#include "ui/column_navigation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <utility>

namespace ui {
namespace {

// The clerk arrives in a box by Tab (or Enter, which moves on as Tab), an arrow move (the
// focus set from code) or a click. The focus also comes back when the window is activated
// again or a context menu closes; the clerk is then in the middle of an edit, and selecting
// the text would let the next keystroke wipe it out.
bool IsArrival(Qt::FocusReason reason) {
  switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::OtherFocusReason:
      return true;
    default:
      return false;
  }
}

}  // namespace

void ColumnNavigation::AddColumn(std::vector<QLineEdit*> boxes) {
  const std::size_t column = columns_.size();
  for (std::size_t row = 0; row < boxes.size(); ++row) {
    places_.insert(boxes[row], Place{column, row});
    boxes[row]->installEventFilter(this);
  }
  columns_.push_back(std::move(boxes));
}

bool ColumnNavigation::eventFilter(QObject* watched, QEvent* event) {
  const auto place = places_.constFind(watched);
  if (place == places_.cend()) return QObject::eventFilter(watched, event);

  if (event->type() == QEvent::FocusIn && IsArrival(static_cast<QFocusEvent*>(event)->reason())) {
    // Deferred: a mouse press gives the focus first and then places the caret, which would
    // undo a selection made now.
    QMetaObject::invokeMethod(static_cast<QLineEdit*>(watched), &QLineEdit::selectAll,
                              Qt::QueuedConnection);
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    // Shift, Ctrl and Alt do not matter: any Up or Down moves.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      MoveWithinColumn(*place, key == Qt::Key_Down);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void ColumnNavigation::MoveWithinColumn(Place from, bool down) {
  const std::vector<QLineEdit*>& column = columns_[from.column];
  const std::size_t count = column.size();
  const std::size_t target = down ? (from.row + 1) % count : (from.row + count - 1) % count;
  column[target]->setFocus(Qt::OtherFocusReason);
}

}  // namespace ui
