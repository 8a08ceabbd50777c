#include "ui/desktop_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "workbook/failure_descriptions.h"

namespace ui {

void OpenWithDesktop(const std::filesystem::path& workbook) {
  const QString path = QString::fromStdU16String(workbook.u16string());
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    throw workbook::NothingToShowWorkbookError(workbook);
  }
}

}  // namespace ui
