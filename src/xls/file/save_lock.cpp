#include "xls/file/save_lock.h"

#include <cerrno>
#include <thread>

#include "xls/file/system_errors.h"

namespace xls::file {

namespace fs = std::filesystem;

std::optional<SaveLock> SaveLock::Take(const fs::path& target, Purpose purpose,
                                       std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (true) {
    SaveLock lock;
    try {
      lock.file = OpenRegular(target, Access::kReadWrite);
      lock.writable = true;
    } catch (const std::system_error& e) {
      if (e.code() == std::errc::no_such_file_or_directory) return std::nullopt;
      if (purpose == Purpose::kSave) throw;
      try {
        lock.file = OpenRegular(target, Access::kRead);
      } catch (const std::system_error&) {
        return std::nullopt;  // reading will tell why
      }
    }
    if (TryLockForSaving(lock.file, lock.writable)) {
      lock.facts = FactsOf(lock.file, target);
      // A save that replaced the file while we waited leaves our lock on one that has no
      // name any more: start again with the file now there.
      const std::optional<FileFacts> named = FactsAt(target);
      if (named && named->SameFileAs(lock.facts)) return lock;
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      if (purpose == Purpose::kSave) ThrowErrno(EBUSY, "another save is running on", target);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace xls::file
