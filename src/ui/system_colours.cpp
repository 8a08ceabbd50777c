#include "ui/system_colours.h"

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

// Qt's Windows theme fills the disabled text colour from COLOR_GRAYTEXT.
QColor GrayTextColour() {
  return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

}  // namespace ui
