#pragma once

#include <QFont>

namespace ui {

// The window's fonts are sized in pixels, not points: the layout is fixed in pixels, and the
// column headings only stand over their columns at these exact character widths.
inline constexpr int kDefaultFontPixels = 12;  // 9 pt at 96 dpi
inline constexpr int kMediumFontPixels = 14;   // 10.5 pt
inline constexpr int kLargeFontPixels = 16;    // 12 pt

// "宋体" where it exists; otherwise a Song face whose Chinese characters are exactly twice as
// wide as its blanks and digits. Antialiasing stays off so the built-in bitmaps are used.
QFont SongFont(int pixel_size, bool bold = false);

}  // namespace ui
