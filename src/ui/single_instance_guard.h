#pragma once

#include <QLockFile>
#include <QString>

namespace ui {

// Only one copy of the program may run per user. The lock file records the owner's process,
// so a copy that crashed does not keep the next one from starting.
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
  QLockFile lock_;
  QString lock_path_;
  QString lock_folder_;
};

// The lock's place: the user's runtime folder, else the temporary folder.
QString DefaultLockPath();

inline constexpr char16_t kAlreadyRunningMessage[] = u"程序已经运行";

// What the clerk is told when no lock can be made in the folder.
QString CannotLockMessage(const QString& folder);

}  // namespace ui
