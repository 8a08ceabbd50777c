#include "ui/graphical_button.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace ui {

GraphicalButton::GraphicalButton(const QColor& face, QWidget* parent)
    : QAbstractButton(parent), face_(face) {
  setFocusPolicy(Qt::StrongFocus);
}

void GraphicalButton::SetFace(const QColor& face) {
  face_ = face;
  update();
}

void GraphicalButton::SetPictures(PictureMaker maker) {
  maker_ = std::move(maker);
  pictures_ratio_ = 0;
  update();
}

const QPixmap& GraphicalButton::Picture(bool pressed) {
  const qreal ratio = devicePixelRatioF();
  if (maker_ && ratio != pictures_ratio_) {
    normal_ = maker_(false, ratio);
    pressed_ = maker_(true, ratio);
    pictures_ratio_ = ratio;
  }
  return pressed ? pressed_ : normal_;
}

void GraphicalButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool down = isDown();
  painter.fillRect(rect(), face_);

  const QPixmap& picture = Picture(down);
  if (!picture.isNull()) {
    // Centred in whole window pixels, as at 100 %.
    const QSize size = picture.deviceIndependentSize().toSize();
    const QPoint corner((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawPixmap(corner, picture);
  }
  if (!text().isEmpty()) {
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
  }
  qDrawWinButton(&painter, rect(), palette(), down, nullptr);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

}  // namespace ui
