#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <functional>

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

  // Draws the picture, or its brighter variant shown while the button is held down, at a
  // device pixel ratio.
  using PictureMaker = std::function<QPixmap(bool pressed, qreal device_pixel_ratio)>;

  // The pictures are drawn again whenever the button finds itself on a screen of another
  // scale, so they are always as sharp as the screen allows.
  void SetPictures(PictureMaker maker);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QPixmap& Picture(bool pressed);

  QColor face_;
  PictureMaker maker_;
  qreal pictures_ratio_ = 0;
  QPixmap normal_;
  QPixmap pressed_;
};

}  // namespace ui
