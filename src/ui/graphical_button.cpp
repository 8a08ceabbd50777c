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

void GraphicalButton::SetPictures(const QPixmap& normal, const QPixmap& pressed) {
  normal_ = normal;
  pressed_ = pressed;
  update();
}

void GraphicalButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool down = isDown();
  painter.fillRect(rect(), face_);

  const QPixmap& picture = down ? pressed_ : normal_;
  if (!picture.isNull()) {
    const QPoint corner((width() - picture.width()) / 2, (height() - picture.height()) / 2);
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
