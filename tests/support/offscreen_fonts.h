#pragma once

// Qt's offscreen platform on Windows does not ask the system for its fonts: it reads a font
// folder, by default one inside Qt's own installation that does not exist, and draws every
// character as a box. Pointed at the Windows font folder, headless tests measure the faces
// a clerk's Windows has (宋体 there; under wine, whatever the prefix has installed).
// Elsewhere the offscreen platform finds the system's fonts by itself.

#include <QtGlobal>

#ifdef _WIN32
#include <windows.h>

#include <QString>
#endif

namespace test_support {

inline void UseInstalledFontsOffscreen() {
#ifdef _WIN32
  if (!qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) return;
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const QString fonts =
      QString::fromWCharArray(windows, static_cast<qsizetype>(length)) + QStringLiteral("\\Fonts");
  qputenv("QT_QPA_FONTDIR", fonts.toUtf8());
#endif
}

}  // namespace test_support
