#pragma once

#include <QFont>
#include <QStringList>

namespace ui {

// The window's fonts are sized in pixels, not points: the layout is fixed in pixels, and the
// column headings only stand over their columns at these exact character widths.
inline constexpr int kDefaultFontPixels = 12;  // 9 pt at 96 dpi
inline constexpr int kMediumFontPixels = 14;   // 10.5 pt
inline constexpr int kLargeFontPixels = 16;    // 12 pt

// The faces tried in order. "宋体" where it exists. Elsewhere "AR PL SungtiL GB", a mainland
// Song face: its Chinese characters are exactly twice as wide as its blanks and digits, and it
// sets the full-width colon and the enumeration comma low and left as 宋体 does (Taiwanese
// faces centre them). "AR PL UMing CN", with the same widths, fills in the characters beyond
// GB 2312 that a buyer's name may hold.
QStringList SongFamilies();

// A font of the faces above: unsmoothed, as 宋体 draws its small sizes, except on a screen
// scaled beyond 100 %, where the characters are drawn larger and smoothed.
QFont SongFont(int pixel_size, bool bold = false);

}  // namespace ui
