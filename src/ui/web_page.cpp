#include "ui/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

void OpenWebPage() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPageAddress)));
}

}  // namespace ui
