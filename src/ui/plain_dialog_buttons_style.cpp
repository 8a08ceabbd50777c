#include "ui/plain_dialog_buttons_style.h"

namespace ui {

int PlainDialogButtonsStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                       const QWidget* widget, QStyleHintReturn* return_data) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, return_data);
}

}  // namespace ui
