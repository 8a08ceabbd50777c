#include "single_instance_guard.h"

#include <QDir>
#include <QStandardPaths>

namespace ui {

#ifdef _WIN32

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path) : mutex_(lock_path) {}

bool SingleInstanceGuard::TryAcquire() {
  return mutex_.Acquire() == SessionMutex::State::Owned;
}

#else

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path) : lock_(lock_path) {
  // Never judge a lock stale by its age: a copy may run for days. A dead owner is detected by
  // its process id instead.
  lock_.setStaleLockTime(0);
}

bool SingleInstanceGuard::TryAcquire() {
  return lock_.tryLock(0);
}

#endif

QString DefaultLockPath() {
#ifdef _WIN32
  // Qt's runtime folder on Windows is the home folder; the user's temporary folder is the
  // place Windows keeps for such files.
  const QString folder = QDir::tempPath();
#else
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
#endif
  return QDir(folder).filePath(QStringLiteral("verdalon.lock"));
}

}  // namespace ui
