#include "ui/xls_association.h"

#ifdef _WIN32
#include <shlwapi.h>
#include <windows.h>
#else
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#endif

namespace ui {

#ifdef _WIN32

bool DesktopHasXlsProgram() {
  // The program Explorer would start for a double click on a .xls file, if any.
  wchar_t executable[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const HRESULT found = AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L".xls", L"open",
                                          executable, &size);
  return found == S_OK && executable[0] != L'\0';
}

#elif defined(__APPLE__)

bool DesktopHasXlsProgram() {
  return true;
}

#else

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

#endif

}  // namespace ui
