#include "ui/single_instance_guard.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ui {

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path)
    :
#ifdef _WIN32
      mutex_(lock_path),
#else
      lock_(lock_path),
      lock_path_(lock_path),
#endif
      lock_folder_(QDir::toNativeSeparators(QFileInfo(lock_path).absolutePath())) {
#ifndef _WIN32
  // Never judge a lock stale by its age: a copy may run for days. A dead owner is detected by
  // its process id instead.
  lock_.setStaleLockTime(0);
#endif
}

#ifdef _WIN32

SingleInstanceGuard::Outcome SingleInstanceGuard::TryAcquire() {
  switch (mutex_.Acquire()) {
    case SessionMutex::State::Owned:
      return Outcome::Acquired;
    case SessionMutex::State::HeldByAnother:
      return Outcome::AnotherCopyRuns;
    case SessionMutex::State::Failed:
      break;
  }
  return Outcome::CannotLock;
}

#else

SingleInstanceGuard::Outcome SingleInstanceGuard::TryAcquire() {
  if (lock_.tryLock(0)) return Outcome::Acquired;
  // Only a lock file that QLockFile found held by a live process means another copy. A folder
  // that cannot be written or does not exist, or a folder in the lock file's place, says
  // nothing about other copies. QLockFile::error() does not tell these apart after a zero
  // timeout, so the file itself is looked at.
  const bool held = QFileInfo(lock_path_).isFile();
  return held ? Outcome::AnotherCopyRuns : Outcome::CannotLock;
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

QString CannotLockMessage(const QString& folder) {
  return QStringLiteral(
             "无法在文件夹“%1”中建立锁文件 verdalon.lock，程序不能启动。"
             "请检查该文件夹是否存在、是否可以写入。")
      .arg(folder);
}

}  // namespace ui
