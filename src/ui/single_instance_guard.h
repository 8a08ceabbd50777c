#pragma once

#include <QLockFile>
#include <QString>

#include "session_mutex.h"

namespace ui {

// Only one copy of the program may run per user. The lock file records the owner's process,
// so a copy that crashed does not keep the next one from starting. On Windows the lock is a
// session mutex named after the lock path, which the system frees when its owner ends.
class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(const QString& lock_path);

  // True when this process now holds the lock; false when another live copy holds it.
  bool TryAcquire();

 private:
#ifdef _WIN32
  SessionMutex mutex_;
#else
  QLockFile lock_;
#endif
};

// The lock's place: the user's runtime folder, else the temporary folder; on Windows the
// user's temporary folder.
QString DefaultLockPath();

inline constexpr char16_t kAlreadyRunningMessage[] = u"程序已经运行";

}  // namespace ui
