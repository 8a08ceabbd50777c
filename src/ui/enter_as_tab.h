#pragma once

#include <QObject>
#include <functional>

namespace ui {

// Lets the clerk walk the window with Enter: in every control it watches, Enter (main or
// keypad) never reaches the control and instead moves the focus to the next tab stop, after
// the keystroke has been handled, as a real Tab would.
class EnterAsTab final : public QObject {
 public:
  // move_to_next_stop must move the focus on exactly as the Tab key does.
  EnterAsTab(std::function<void()> move_to_next_stop, QObject* parent);

  void Watch(QObject* control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> move_to_next_stop_;
};

}  // namespace ui
