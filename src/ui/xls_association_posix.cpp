#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include "ui/xls_association.h"

namespace ui {

namespace {

// A desktop that answers slower than this is taken to have no answer.
constexpr int kQueryTimeoutMs = 3000;

}  // namespace

bool DesktopHasXlsProgram() {
  const QString xdg_mime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdg_mime.isEmpty()) return false;  // no freedesktop tools: nothing opens files by type
  QProcess query;
  query.start(xdg_mime, {QStringLiteral("query"), QStringLiteral("default"),
                         QStringLiteral("application/vnd.ms-excel")});
  if (!query.waitForFinished(kQueryTimeoutMs)) {
    query.kill();
    query.waitForFinished();
    return false;
  }
  const QString desktop_file = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
  return query.exitCode() == 0 && desktop_file.endsWith(QStringLiteral(".desktop"));
}

}  // namespace ui
