#include "xls/file/atomic_save.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "xls/file/backups_beside.h"
#include "xls/file/file_operations.h"
#include "xls/file/save_backup.h"
#include "xls/file/save_lock.h"

namespace xls::file {

namespace fs = std::filesystem;

namespace {

// A save waits this long for another one to finish; an open waits less, and then reads.
constexpr std::chrono::milliseconds kSaveWait{10'000};
constexpr std::chrono::milliseconds kRecoveryWait{3'000};
// Names are 64 random bits: a name taken this often in a row is no accident.
constexpr int kNameAttempts = 32;

SaveStepObserver observer = nullptr;

void Reached(SaveStep step) {
  if (observer != nullptr) observer(step);
}

fs::path FolderOf(const fs::path& path) {
  return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

fs::path ResolveTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    const fs::path target = fs::canonical(path, error);
    if (!error) return target;
  }
  return path;
}

std::uint64_t RandomNumber() {
  static std::random_device device;
  return (std::uint64_t{device()} << 32) ^ device();
}

// A new file beside `target` named `prefix` and 16 random hex digits, created only where
// nothing is; a name somebody took (planted, or by chance) is passed over for another.
std::pair<fs::path, File> CreateBeside(const fs::path& target,
                                       const fs::path::string_type& prefix) {
  for (int attempt = 1;; ++attempt) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx",
                  static_cast<unsigned long long>(RandomNumber()));
    const fs::path path = FolderOf(target) / (prefix + fs::path(digits).native());
    try {
      return {path, CreateNew(path)};
    } catch (const std::system_error& e) {
      if (e.code() != std::errc::file_exists || attempt == kNameAttempts) throw;
    }
  }
}

// Under the lock no other save of this file runs: a temporary of it is one a save that
// died left. What cannot be removed is left.
void RemoveDeadTemporaries(const fs::path& target) {
  const fs::path::string_type prefix = SavingPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end;
       it.increment(error)) {
    const fs::path::string_type name = it->path().filename().native();
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
      (void)RemoveName(it->path());
    }
  }
}

// Writes `bytes` to a new file that takes the workbook's place in one rename. False, with
// nothing left behind, where the new file could not be given what decides who may use
// the workbook.
bool SaveByReplacing(const fs::path& target, File& target_held,
                     std::span<const std::uint8_t> bytes) {
  auto [path, file] = CreateBeside(target, SavingPrefix(target));
  try {
    if (!KeepOwnership(file, target)) {
      file = File();
      RemoveName(path);
      return false;
    }
    WriteAt(file, 0, bytes, path);
    FlushToDisk(file, path);
    file.Close(path);
    ReplaceWith(path, target, target_held);
  } catch (...) {
    file = File();
    RemoveName(path);
    throw;
  }
  // The rename lives in the folder; without this a power cut may bring the old name back.
  SyncFolder(FolderOf(target));
  return true;
}

// Writes `bytes` into the workbook itself, behind a synced backup of both contents that
// the next open or save uses if this one dies half-way (see RecoverUnderLock).
void SaveInPlace(const fs::path& target, const SaveLock& lock, std::vector<std::uint8_t> old,
                 std::span<const std::uint8_t> bytes) {
  SaveBackup record{lock.facts.device, lock.facts.file_id,          HostName(), ProcessId(), {},
                    std::move(old),    {bytes.begin(), bytes.end()}};
  for (std::uint8_t& byte : record.save_id) byte = static_cast<std::uint8_t>(RandomNumber());
  auto [backup_path, backup] = CreateBeside(target, BackupPrefix(target));
  try {
    WriteAt(backup, 0, EncodeBackup(record), backup_path);
    if (!ShareLike(backup, target)) {
      throw SaveBlocked(SaveBlocked::Reason::kBackupNotShareable, backup_path);
    }
    FlushToDisk(backup, backup_path);
    backup.Close(backup_path);
  } catch (...) {
    backup = File();
    RemoveName(backup_path);
    throw;
  }
  SyncFolder(FolderOf(target));
  Reached(SaveStep::kBackupWritten);
  try {
    WriteAt(lock.file, 0, bytes, target);
    Reached(SaveStep::kContentsWritten);
    Truncate(lock.file, bytes.size(), target);
    FlushToDisk(lock.file, target);
  } catch (...) {
    // Disk full half-way, say: put the old contents back while we still can. If even that
    // fails, the backup stays for the next open to use.
    try {
      WriteAt(lock.file, 0, record.old_contents, target);
      Truncate(lock.file, record.old_contents.size(), target);
      FlushToDisk(lock.file, target);
      RetireBackup(backup_path);
    } catch (const std::system_error&) {
    }
    throw;  // what stopped the save
  }
  RetireBackup(backup_path);
  SyncFolder(FolderOf(target));
}

// Runs `while_held` with the new contents under the name and no other save of them
// running. A rename leaves the save's lock on the old file, which has no name any more, so
// the new one is locked first; where another save took it in that moment, `while_held`
// waits for it like any save, and runs without the lock only when that one never ends.
void RunHeld(const fs::path& target, std::optional<SaveLock>& held,
             const std::function<void()>& while_held) {
  if (!while_held) return;
  if (!held) {
    try {
      held = SaveLock::Take(target, SaveLock::Purpose::kSave, kSaveWait);
    } catch (const std::system_error&) {
      // The save itself is done; the lock only keeps others waiting while it runs.
    }
  }
  while_held();
}

}  // namespace

fs::path::string_type SavingPrefix(const fs::path& path) {
  return fs::path(".").native() + path.filename().native() + fs::path(".saving-").native();
}

void ObserveSaveSteps(SaveStepObserver new_observer) {
  observer = new_observer;
}

void RecoverInterruptedSave(const fs::path& path) {
  try {
    const fs::path target = ResolveTarget(path);
    const std::optional<SaveLock> lock =
        SaveLock::Take(target, SaveLock::Purpose::kRecover, kRecoveryWait);
    if (lock) RecoverUnderLock(target, *lock, false);
  } catch (const std::exception&) {
    // Reading the workbook then says what is wrong with it.
  }
}

void SaveFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes,
                        const std::function<void()>& while_held) {
  const fs::path target = ResolveTarget(path);
  CheckWritable(target);
  std::optional<SaveLock> lock = SaveLock::Take(target, SaveLock::Purpose::kSave, kSaveWait);
  if (!lock) {  // a new file
    File nothing_held;
    SaveByReplacing(target, nothing_held, bytes);
    RunHeld(target, lock, while_held);
    return;
  }
  std::vector<std::uint8_t> old = RecoverUnderLock(target, *lock, true);
  RemoveDeadTemporaries(target);
  // A file with several names keeps them all only if it is written where it is.
  if (lock->facts.links <= 1 && SaveByReplacing(target, lock->file, bytes)) {
    // Where the old file's lock outlives the rename (not on Windows), a save waiting for it
    // goes on waiting until the new file's lock is taken, and then waits on that one.
    std::optional<SaveLock> on_new;
    RunHeld(target, on_new, while_held);
    return;
  }
  SaveInPlace(target, *lock, std::move(old), bytes);
  RunHeld(target, lock, while_held);
}

}  // namespace xls::file
