#include "ui/window_fonts.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {
namespace {

// 宋体 draws its small sizes from hand-made bitmaps, without smoothing; on a screen scaled to
// 125 % or more the same characters are drawn larger from outlines, and smoothed. Unsmoothed
// outlines at those sizes turn the decimal point into something like a comma.
bool SmoothAtThisScale() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->devicePixelRatio() > 1.0;
}

}  // namespace

QStringList SongFamilies() {
  return {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("AR PL SungtiL GB"),
          QStringLiteral("AR PL UMing CN"), QStringLiteral("NSimSun")};
}

QFont SongFont(int pixel_size, bool bold) {
  QFont font;
  // Qt takes the first family it finds and falls back along the list for missing glyphs.
  font.setFamilies(SongFamilies());
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setStyleStrategy(SmoothAtThisScale() ? QFont::PreferAntialias : QFont::NoAntialias);
  return font;
}

}  // namespace ui
