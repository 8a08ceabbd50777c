#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/form1.h"

namespace ui::testing {

// A message as the program said it, without the line breaks the box puts in for the eye.
inline QString MessageText(const QMessageBox& box) {
  return box.text().remove(QChar::LineSeparator);
}

// Answers every message box that comes up with OK and keeps its text.
class MessageAnswerer {
 public:
  MessageAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(MessageText(*box));
        box->accept();
      }
    });
    timer_.start(5);
  }
  QStringList texts;

 private:
  QTimer timer_;
};

// A shown, active Form1 whose timers are stopped, so a test decides when a tick happens.
class WindowTest : public ::testing::Test {
 public:
  static QString Cell(const char* array, int row) {
    return QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(row);
  }

 protected:
  void SetUp() override {
    form_ = std::make_unique<Form1>();
    form_->Timer1().stop();
    form_->Timer2().stop();
    BeforeShow(*form_);
    form_->ShowCentred();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    Settle();
  }

  // What the program does between creating the window and showing it.
  virtual void BeforeShow(Form1&) {}

  Form1& form() { return *form_; }

  QWidget* Control(const QString& name) {
    auto* control = form_->findChild<QWidget*>(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
  }
  QLineEdit* Edit(const QString& name) { return qobject_cast<QLineEdit*>(Control(name)); }
  // The name of the control holding the focus; the buyer box's inner editor counts as Combo1.
  QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) return QStringLiteral("<none>");
    if (focus == form_->Combo1()->lineEdit()) return form_->Combo1()->objectName();
    return focus->objectName();
  }

  void Focus(const QString& name) {
    Control(name)->setFocus(Qt::OtherFocusReason);
    Settle();
  }

  // Key and mouse go to whatever has the focus, as a real keyboard would.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    Settle();
  }
  // Chinese characters arrive as key events that carry only their text, as from an input
  // method's commit.
  void Type(const QString& text) {
    for (QChar character : text) {
      QWidget* focus = QApplication::focusWidget();
      if (character.unicode() < 128) {
        QTest::keyClick(focus, character.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
      }
    }
    Settle();
  }

  // Lets queued work (the Tab that Enter posts, the deferred select-all) happen.
  static void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }

 private:
  std::unique_ptr<Form1> form_;
};

}  // namespace ui::testing
