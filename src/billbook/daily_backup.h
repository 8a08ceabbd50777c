#pragma once

// A copy of the bill book each day it is written, into 账本备份/ beside it, the last 30
// kept. The copy is SQLite's online backup, a few pages at a time with no lock held between
// slices, so other PCs go on recording meanwhile; a book written during the copy is copied
// again from the start, and what is kept is always one committed state of the book.
//
// The window runs it after a recording, one Step() per turn of its event loop, so a 150 MB
// book never holds the clerk up. Its failures are an outcome, never an exception: the bill
// was already recorded, and a copy that could not be made must not undo or hide that.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "billbook/book_failure.h"

namespace billbook {

inline constexpr char16_t kBackupFolderName[] = u"账本备份";
inline constexpr int kBackupsKept = 30;
// What one Step() may take before it hands the caller back its thread.
inline constexpr std::chrono::milliseconds kBackupStepBudget{40};

struct BackupOutcome {
  enum class Kind {
    kNotDue,  // today's copy is already there, or there is no book to copy
    kMade,
    kFailed,  // the book itself is untouched; the next day's backup tries again
  };
  Kind kind = Kind::kNotDue;
  std::filesystem::path copy;               // kMade: the new copy
  Failure failure = Failure::kInputOutput;  // kFailed
  std::string detail;                       // kFailed: a developer's note, not for the clerk
};

// The copy's name in the backup folder: 锯材账本-20261208.db for the book 锯材账本.db.
std::filesystem::path BackupCopyPath(const std::filesystem::path& book_file, int day);

class DailyBackup {
 public:
  // Nothing is looked at before the first Step(). `day` is YYYYMMDD.
  DailyBackup(std::filesystem::path book_file, int day);
  // An unfinished copy is removed.
  ~DailyBackup();
  DailyBackup(DailyBackup&&) noexcept;
  DailyBackup& operator=(DailyBackup&&) noexcept;

  // Does the next slice of the work, at least one and no more than `budget` takes; true
  // once finished, with the outcome().
  bool Step(std::chrono::milliseconds budget = kBackupStepBudget);
  bool Finished() const;
  const BackupOutcome& outcome() const;

 private:
  struct Work;
  std::unique_ptr<Work> work_;
};

}  // namespace billbook
