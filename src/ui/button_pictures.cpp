#include "ui/button_pictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/window_fonts.h"

namespace ui {
namespace {

constexpr int kWordPixels = 14;
constexpr qreal kSpreadMargin = 9;

struct FaceColours {
  QColor top;
  QColor middle;
  QColor bottom;
};

FaceColours NavyFace(bool pressed) {
  if (pressed) return {QColor(118, 150, 236), QColor(52, 86, 196), QColor(30, 58, 160)};
  return {QColor(86, 104, 170), QColor(28, 40, 104), QColor(12, 20, 66)};
}

void PaintFace(QPainter& painter, const QRectF& face, bool pressed) {
  const FaceColours colours = NavyFace(pressed);
  QLinearGradient body(face.topLeft(), face.bottomLeft());
  body.setColorAt(0.0, colours.top);
  body.setColorAt(0.5, colours.middle);
  body.setColorAt(1.0, colours.bottom);
  QPainterPath outline;
  outline.addRoundedRect(face, 7, 7);
  painter.fillPath(outline, body);

  // The gloss: a pale band over the upper half that fades out towards the middle.
  QRectF gloss = face.adjusted(2, 1.5, -2, 0);
  gloss.setHeight(face.height() * 0.48);
  QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
  shine.setColorAt(0.0, QColor(255, 255, 255, 150));
  shine.setColorAt(1.0, QColor(255, 255, 255, 25));
  QPainterPath gloss_path;
  gloss_path.addRoundedRect(gloss, 5, 5);
  painter.fillPath(gloss_path, shine);

  painter.setPen(QPen(colours.bottom.darker(140), 1));
  painter.drawPath(outline);
}

void PaintWords(QPainter& painter, const QRectF& face, const QString& words, WordSpacing spacing) {
  painter.setFont(SongFont(kWordPixels, /*bold=*/true));
  painter.setPen(Qt::white);
  if (spacing == WordSpacing::Together || words.size() < 2) {
    painter.drawText(face, Qt::AlignCenter, words);
    return;
  }
  const QFontMetricsF metrics(painter.font());
  const qreal glyph = metrics.horizontalAdvance(words.at(0));
  const qreal usable = face.width() - 2 * kSpreadMargin;
  const qreal step = (usable - glyph) / static_cast<qreal>(words.size() - 1);
  for (qsizetype i = 0; i < words.size(); ++i) {
    const QRectF cell(face.left() + kSpreadMargin + step * static_cast<qreal>(i), face.top(), glyph,
                      face.height());
    painter.drawText(cell, Qt::AlignCenter, QString(words.at(i)));
  }
}

QPixmap MonitorPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 16.0;

  // Stand and foot first, so the bezel covers the neck's top.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(120, 120, 120));
  painter.drawRect(QRectF(6.5 * unit, 11 * unit, 3 * unit, 2.5 * unit));
  painter.drawRoundedRect(QRectF(3.5 * unit, 13.2 * unit, 9 * unit, 2 * unit), unit, unit);

  const QRectF bezel(0.5 * unit, 0.5 * unit, 15 * unit, 11.5 * unit);
  painter.setPen(QPen(QColor(90, 90, 90), unit * 0.6));
  painter.setBrush(QColor(192, 192, 192));
  painter.drawRoundedRect(bezel, unit, unit);

  const QRectF screen(2 * unit, 2 * unit, 12 * unit, 7.5 * unit);
  QLinearGradient blue(screen.topLeft(), screen.bottomRight());
  blue.setColorAt(0, QColor(80, 150, 255));
  blue.setColorAt(1, QColor(0, 60, 190));
  painter.setPen(Qt::NoPen);
  painter.setBrush(blue);
  painter.drawRect(screen);

  painter.setBrush(QColor(0, 220, 0));
  painter.drawEllipse(QRectF(12.4 * unit, 10 * unit, 1.4 * unit, 1.2 * unit));
  return pixmap;
}

}  // namespace

QPixmap ButtonPicture(const QString& words, WordSpacing spacing, bool pressed,
                      qreal device_pixel_ratio) {
  QPixmap pixmap((QSizeF(kPictureWidth, kPictureHeight) * device_pixel_ratio).toSize());
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF face(0.5, 0.5, kPictureWidth - 1, kPictureHeight - 1);
  PaintFace(painter, face, pressed);
  PaintWords(painter, face, words, spacing);
  return pixmap;
}

QIcon MonitorIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 256}) icon.addPixmap(MonitorPixmap(size));
  return icon;
}

}  // namespace ui
