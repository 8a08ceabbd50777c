#pragma once

#include <QProxyStyle>

namespace ui {

// The desktop's own style, except that the buttons of message boxes and other dialogs carry
// no pictures: some desktops put a green tick on 确定, which the program's boxes do not have.
// Kept in the style itself, so a box that is restyled later does not get the picture back.
class PlainDialogButtonsStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* return_data = nullptr) const override;
};

}  // namespace ui
