#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "ui/single_instance_guard.h"

namespace ui {

// A lock file holding its owner's process id.
class SingleInstanceGuard::SystemLock {
 public:
  explicit SystemLock(const QString& path) : file_(path) {
    // Never judge a lock stale by its age: a copy may run for days. A dead owner is detected
    // by its process id instead.
    file_.setStaleLockTime(0);
  }

  QLockFile file_;
};

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path)
    : lock_path_(lock_path), lock_(std::make_unique<SystemLock>(lock_path)) {}

SingleInstanceGuard::~SingleInstanceGuard() = default;

SingleInstanceGuard::Outcome SingleInstanceGuard::TryAcquire() {
  if (lock_->file_.tryLock(0)) return Outcome::Acquired;
  // Only a lock file that QLockFile found held by a live process means another copy. A folder
  // that cannot be written or does not exist, or a folder in the lock file's place, says
  // nothing about other copies. QLockFile::error() does not tell these apart after a zero
  // timeout, so the file itself is looked at.
  const bool held = QFileInfo(lock_path_).isFile();
  return held ? Outcome::AnotherCopyRuns : Outcome::CannotLock;
}

QString DefaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(QStringLiteral("verdalon.lock"));
}

}  // namespace ui
