#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace ui {

// A group box painted the classic way: its background fills the whole rectangle, an etched
// line runs round it from half the caption's height down, and the caption sits on the line.
// It swallows mouse presses, so a press on it or on a label inside never reaches the window
// (only the window's bare margin starts a drag).
class EtchedFrame final : public QWidget {
 public:
  EtchedFrame(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString caption_;
  // Kept apart from the widget's font, which the controls inside inherit.
  QFont caption_font_;
};

}  // namespace ui
