#pragma once

#include <QLockFile>
#include <QString>

#include "ui/session_mutex.h"

namespace ui {

// Only one copy of the program may run per user. The lock file records the owner's process,
// so a copy that crashed does not keep the next one from starting. On Windows the lock is a
// session mutex named after the lock path, which the system frees when its owner ends.
class SingleInstanceGuard {
 public:
  enum class Outcome {
    Acquired,         // this process now holds the lock
    AnotherCopyRuns,  // a live copy holds it
    CannotLock,       // the lock file cannot be made: no copy is known to run
  };

  explicit SingleInstanceGuard(const QString& lock_path);

  Outcome TryAcquire();

  // The folder the lock file goes into, for telling the clerk where the trouble lies.
  QString LockFolder() const { return lock_folder_; }

 private:
#ifdef _WIN32
  SessionMutex mutex_;
#else
  QLockFile lock_;
  QString lock_path_;
#endif
  QString lock_folder_;
};

// The lock's place: the user's runtime folder, else the temporary folder; on Windows the
// user's temporary folder.
QString DefaultLockPath();

inline constexpr char16_t kAlreadyRunningMessage[] = u"程序已经运行";

// What the clerk is told when no lock can be made in the folder.
QString CannotLockMessage(const QString& folder);

}  // namespace ui
