#pragma once

#include <QString>
#include <memory>

namespace ui {

// Only one copy of the program may run per user. Each system keeps the lock its own way
// (single_instance_guard_posix.cpp, _windows.cpp): a lock file that records its owner's
// process, so a copy that crashed does not keep the next one from starting; on Windows a
// session mutex named after the lock path, which the system frees when its owner ends.
class SingleInstanceGuard {
 public:
  enum class Outcome {
    Acquired,         // this process now holds the lock
    AnotherCopyRuns,  // a live copy holds it
    CannotLock,       // the lock file cannot be made: no copy is known to run
  };

  explicit SingleInstanceGuard(const QString& lock_path);
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  Outcome TryAcquire();

  // The folder the lock file goes into, for telling the clerk where the trouble lies.
  QString LockFolder() const;

 private:
  class SystemLock;  // defined by each system's file

  QString lock_path_;
  std::unique_ptr<SystemLock> lock_;
};

// The lock's place: the user's runtime folder, else the temporary folder; on Windows the
// user's temporary folder.
QString DefaultLockPath();

inline constexpr char16_t kAlreadyRunningMessage[] = u"程序已经运行";

// What the clerk is told when no lock can be made in the folder.
QString CannotLockMessage(const QString& folder);

}  // namespace ui
