#pragma once

#include <QDate>
#include <QString>

namespace ui {

// The date as Label2 shows it: "yyyy年MM月dd日 ", two-digit month and day, one trailing blank.
QString DateCaption(const QDate& date);

}  // namespace ui
