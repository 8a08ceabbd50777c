#pragma once

#include <QApplication>

namespace ui {

// The program's application object: it carries the program's identity, and it is where a
// failure that escaped an event handler ends up (the message, then the end).
class VerdalonApplication final : public QApplication {
 public:
  VerdalonApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ui
