#include "ui/system_colours.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>

namespace ui {

QColor HighlightColour() {
  return QGuiApplication::palette().color(QPalette::Highlight);
}

// Qt's Windows theme fills Dark from COLOR_BTNSHADOW.
QColor ButtonShadowColour() {
  return QGuiApplication::palette().color(QPalette::Dark);
}

// Qt's Windows theme fills Base from COLOR_WINDOW.
QColor WindowBackgroundColour() {
  return QGuiApplication::palette().color(QPalette::Base);
}

// Qt's Windows theme fills the general palette's disabled text with a mix of the window text
// and button colours, not with COLOR_GRAYTEXT; the one slot it fills from COLOR_GRAYTEXT is
// the disabled text of the menu palette, which QApplication keeps as the palette of QMenu.
// Elsewhere, where the theme has no menu palette of its own, that is the general palette's.
QColor GrayTextColour() {
  return QApplication::palette("QMenu").color(QPalette::Disabled, QPalette::Text);
}

}  // namespace ui
