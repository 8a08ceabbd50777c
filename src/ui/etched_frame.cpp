#include "ui/etched_frame.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "ui/system_colours.h"
#include "ui/window_fonts.h"

namespace ui {
namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

// An etched line is a dark line with a light one just below and right of it.
void DrawEtchedRect(QPainter& painter, const QRect& rect, const QPalette& palette) {
  painter.setPen(palette.color(QPalette::Light));
  painter.drawRect(rect.adjusted(1, 1, 0, 0));
  painter.setPen(palette.color(QPalette::Mid));
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

}  // namespace

EtchedFrame::EtchedFrame(const QString& caption, QWidget* parent)
    : QWidget(parent),
      caption_(caption),
      caption_font_(SongFont(kMediumFontPixels, /*bold=*/true)) {
  setFocusPolicy(Qt::NoFocus);
}

void EtchedFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ButtonShadowColour());

  const QFontMetrics metrics(caption_font_);
  const int line_top = metrics.height() / 2;
  DrawEtchedRect(painter, rect().adjusted(0, line_top, -1, -1), palette());

  const int caption_width = metrics.horizontalAdvance(caption_) + 2 * kCaptionPadding;
  const QRect caption_rect(kCaptionIndent, 0, caption_width, metrics.height());
  painter.fillRect(caption_rect, ButtonShadowColour());
  painter.setFont(caption_font_);
  painter.setPen(WindowBackgroundColour());
  painter.drawText(caption_rect, Qt::AlignCenter, caption_);
}

void EtchedFrame::mousePressEvent(QMouseEvent* event) {
  event->accept();
}

}  // namespace ui
