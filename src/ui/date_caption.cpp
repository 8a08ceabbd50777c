#include "ui/date_caption.h"

namespace ui {

QString DateCaption(const QDate& date) {
  // Built by hand rather than with a format pattern, so no locale can change the digits.
  return QStringLiteral("%1年%2月%3日 ")
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'));
}

}  // namespace ui
