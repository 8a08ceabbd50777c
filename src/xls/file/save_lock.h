#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

#include "xls/file/file_operations.h"

namespace xls::file {

// The workbook open and locked against every other save of it, on this machine or another
// (see TryLockForSaving), for as long as the object lives.
struct SaveLock {
  enum class Purpose {
    kSave,     // write access and the only lock; waiting too long fails with EBUSY
    kRecover,  // write access where the user has it, else a shared lock that only waits
  };

  // Nothing when there is no file at `target` yet, or, for kRecover, when it cannot be
  // opened or a save goes on longer than `wait`.
  static std::optional<SaveLock> Take(const std::filesystem::path& target, Purpose purpose,
                                      std::chrono::milliseconds wait);

  File file;
  FileFacts facts;
  bool writable = false;
};

}  // namespace xls::file
