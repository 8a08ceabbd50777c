#include <QDir>

#include "ui/session_mutex.h"
#include "ui/single_instance_guard.h"

namespace ui {

// The session mutex standing for the lock path; no file is made.
class SingleInstanceGuard::SystemLock {
 public:
  explicit SystemLock(const QString& path) : mutex_(path) {}

  SessionMutex mutex_;
};

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path)
    : lock_path_(lock_path), lock_(std::make_unique<SystemLock>(lock_path)) {}

SingleInstanceGuard::~SingleInstanceGuard() = default;

SingleInstanceGuard::Outcome SingleInstanceGuard::TryAcquire() {
  switch (lock_->mutex_.Acquire()) {
    case SessionMutex::State::Owned:
      return Outcome::Acquired;
    case SessionMutex::State::HeldByAnother:
      return Outcome::AnotherCopyRuns;
    case SessionMutex::State::Failed:
      break;
  }
  return Outcome::CannotLock;
}

QString DefaultLockPath() {
  // Qt's runtime folder on Windows is the home folder; the user's temporary folder is the
  // place Windows keeps for such files.
  return QDir(QDir::tempPath()).filePath(QStringLiteral("verdalon.lock"));
}

}  // namespace ui
