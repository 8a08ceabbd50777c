#pragma once

// The environment for a copy of the real program that a test starts: headless, with its
// lock in a folder of the test's own, so it meets no other copy.

#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QString>

namespace ui {

inline QProcessEnvironment ProgramEnvironment(const QString& lock_folder) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_RUNTIME_DIR", lock_folder);
#ifdef _WIN32
  // The lock lies in the temporary folder there. A copy of the program moved away from the
  // build folder finds the DLLs and Qt's plugins it needs in the build's bin folder.
  environment.insert("TEMP", QDir::toNativeSeparators(lock_folder));
  environment.insert("TMP", QDir::toNativeSeparators(lock_folder));
  const QString bin = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  environment.insert("PATH", bin + ";" + environment.value("PATH"));
  environment.insert("QT_PLUGIN_PATH", bin);
#endif
  return environment;
}

}  // namespace ui
