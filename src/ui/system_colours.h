#pragma once

#include <QColor>

namespace ui {

// The four desktop colours the window follows, so that it matches the user's colour scheme.
// They are read from the platform palette, which mirrors the system colours on Windows, at
// every use, so a change of the colour scheme while the program runs shows at once.
QColor HighlightColour();         // the window's surface
QColor ButtonShadowColour();      // Frame1's background
QColor WindowBackgroundColour();  // Frame1's caption and the totals boxes
QColor GrayTextColour();          // the face of Command2

// Fixed colours of the layout.
inline const QColor kGridBoxBackground(224, 224, 224);
inline const QColor kAmountText(0, 0, 192);
inline const QColor kDateText(0, 0, 255);
inline const QColor kPictureButtonBackground(255, 224, 192);

}  // namespace ui
