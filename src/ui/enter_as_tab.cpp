#include "ui/enter_as_tab.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <utility>

namespace ui {
namespace {

// Ctrl+Enter types a line feed rather than a carriage return, and Alt+Enter types nothing:
// only the plain and shifted keys give the carriage return that stands for Tab.
bool IsCarriageReturn(const QKeyEvent& key) {
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  return enter && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

EnterAsTab::EnterAsTab(std::function<void()> move_to_next_stop, QObject* parent)
    : QObject(parent), move_to_next_stop_(std::move(move_to_next_stop)) {}

void EnterAsTab::Watch(QObject* control) {
  control->installEventFilter(this);
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !IsCarriageReturn(*static_cast<QKeyEvent*>(event))) {
    return QObject::eventFilter(watched, event);
  }
  // Queued, so the focus moves once this keystroke is over, like a posted Tab.
  QMetaObject::invokeMethod(this, move_to_next_stop_, Qt::QueuedConnection);
  return true;
}

}  // namespace ui
