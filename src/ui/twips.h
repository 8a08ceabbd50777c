#pragma once

#include <QRect>

namespace ui {

// The layout is drawn up in twips (1/1440 inch); the window is fixed at 96 dots per inch,
// 15 twips a pixel. Lengths that fall between pixels round to the nearest one.
constexpr int TwipsToPixels(int twips) {
  return (twips * 2 + 15) / 30;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

}  // namespace ui
