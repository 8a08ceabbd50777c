#pragma once

#include <QObject>

class QLineEdit;

namespace ui {

// A box that is not being edited shows the start of its text, as the classic edit control
// does. Qt leaves the caret, and with it the visible part of a text wider than its box, where
// the last edit or setText put it, which is the end: 12345678901234.6000 would read as
// "01234.6000", a small number. The text itself is never touched.
class StartInView final : public QObject {
 public:
  using QObject::QObject;

  // From now on the box turns back to the start of its text whenever the focus moves on to
  // another control.
  void Watch(QLineEdit* box);

  // After a programmatic change of text: back to the start, unless the box is the one the
  // user is editing (it holds its window's focus), whose caret stays where typing goes on.
  static void ShowStartUnlessEdited(QLineEdit& box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ui
