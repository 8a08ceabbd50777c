#pragma once

// The one-instance guard's lock on Windows, as the system's own object (built for Windows only).

#include <QString>
#include <string>

namespace ui {

// A named mutex of the user's logon session standing for one lock path. Windows releases it
// the moment its owner ends, however it ends, so a copy that crashed never blocks the next
// one; a lock file instead records a process id that Windows may since have given to another
// program.
class SessionMutex {
 public:
  enum class State { Owned, HeldByAnother, Failed };

  explicit SessionMutex(const QString& lock_path);
  ~SessionMutex();
  SessionMutex(const SessionMutex&) = delete;
  SessionMutex& operator=(const SessionMutex&) = delete;

  State Acquire();

  // Whether some process owns the mutex for `lock_path` right now; for tests, which cannot
  // see a lock file.
  static bool IsHeld(const QString& lock_path);

 private:
  std::wstring name_;
  void* handle_ = nullptr;
  bool owned_ = false;
};

// "Local\Verdalon-" and a digest of the lock path: the session's namespace allows no
// backslash in the rest of a name, and a path may be longer than a name may.
std::wstring SessionMutexName(const QString& lock_path);

}  // namespace ui
