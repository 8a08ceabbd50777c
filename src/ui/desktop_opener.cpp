#include "desktop_opener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QString>
#include <QUrl>

#include "workbook/automation_error.h"

namespace ui {

void OpenWithDesktop(const std::filesystem::path& workbook) {
  const QString path = QString::fromStdU16String(workbook.u16string());
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    throw workbook::AutomationError(
        workbook::error_number::kAutomation,
        QStringLiteral("无法打开“%1”：桌面上没有能打开 .xls 文件的电子表格程序。")
            .arg(path)
            .toStdString());
  }
}

std::filesystem::path ProgramDirectory() {
  // Qt writes every path with "/"; the folder is taken as the system writes it (C:\tally on
  // Windows), so that the workbook's path and every message naming it use one separator.
  const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  return std::filesystem::path(folder.toStdU16String());
}

}  // namespace ui
