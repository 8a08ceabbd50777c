#include "ui/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

bool OpenWebPage() {
  return QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPageAddress)));
}

}  // namespace ui
