#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace ui {

// A push button in the graphical style: the face is painted in the button's own colour with,
// where it has one, its picture centred on it, inside a raised border that sinks while held
// down. The theme's own button look would not show the pictures as drawn.
class GraphicalButton final : public QAbstractButton {
 public:
  GraphicalButton(const QColor& face, QWidget* parent);

  // A face that follows the desktop's colour scheme is set again when the scheme changes.
  void SetFace(const QColor& face);
  QColor Face() const { return face_; }

  // The picture and its brighter variant shown while the button is held down.
  void SetPictures(const QPixmap& normal, const QPixmap& pressed);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor face_;
  QPixmap normal_;
  QPixmap pressed_;
};

}  // namespace ui
