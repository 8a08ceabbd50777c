#include "ui/session_mutex.h"

#include <windows.h>

#include <QCryptographicHash>
#include <QDir>

namespace ui {

std::wstring SessionMutexName(const QString& lock_path) {
  // File names on Windows ignore case: C:\Temp and c:\temp are one lock.
  const QByteArray digest = QCryptographicHash::hash(QDir::cleanPath(lock_path).toLower().toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex();
  return L"Local\\Verdalon-" + QString::fromLatin1(digest).toStdWString();
}

SessionMutex::SessionMutex(const QString& lock_path) : name_(SessionMutexName(lock_path)) {}

SessionMutex::~SessionMutex() {
  if (owned_) ReleaseMutex(handle_);
  if (handle_ != nullptr) CloseHandle(handle_);
}

SessionMutex::State SessionMutex::Acquire() {
  if (handle_ == nullptr) handle_ = CreateMutexW(nullptr, FALSE, name_.c_str());
  if (handle_ == nullptr) return State::Failed;
  // Owning it, not merely opening it, is what counts: a mutex left by a copy that died is
  // handed over as abandoned, and someone merely looking holds no ownership.
  switch (WaitForSingleObject(handle_, 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      owned_ = true;
      return State::Owned;
    case WAIT_TIMEOUT:
      return State::HeldByAnother;
    default:
      return State::Failed;
  }
}

bool SessionMutex::IsHeld(const QString& lock_path) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, SessionMutexName(lock_path).c_str());
  if (mutex == nullptr) return false;
  const DWORD result = WaitForSingleObject(mutex, 0);
  if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return result == WAIT_TIMEOUT;
}

}  // namespace ui
