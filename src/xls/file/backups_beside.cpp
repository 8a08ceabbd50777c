#include "xls/file/backups_beside.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "xls/file/save_backup.h"
#include "xls/file/whole_file.h"

namespace xls::file {

namespace fs = std::filesystem;

namespace {

// A backup holds both contents and a little more.
constexpr std::uintmax_t kMaxBackupSize = 2 * kMaxWorkbookFileSize + 64 * 1024;

enum class Verdict {
  kNotOurs,     // left alone
  kOutOfReach,  // may count, but this user cannot read it
  kDead,        // ours, begun and never finished or already retired: harmless, removed if we may
  kSpent,       // ours, whole, and no use for the workbook as it is: to be retired
  kRestore,
};

struct Examined {
  Verdict verdict = Verdict::kNotOurs;
  std::optional<SaveBackup> backup;
};

fs::path FolderOf(const fs::path& path) {
  return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

bool IsPermissionProblem(const std::system_error& e) {
  return e.code() == std::errc::permission_denied || e.code() == std::errc::operation_not_permitted;
}

Examined Examine(const fs::path& target, const fs::path& candidate, const SaveLock& lock,
                 const FileFacts& folder, std::span<const std::uint8_t> current) {
  // Who made it decides first: only a user who could write the workbook anyway may leave
  // something that will be written into it.
  const std::optional<FileFacts> named = FactsOfName(candidate);
  if (!named || !MakerCouldWrite(*named, lock.facts, folder, target)) return {};
  File file;
  try {
    file = OpenRegularNoFollow(candidate, Access::kRead);
  } catch (const std::system_error& e) {
    return {IsPermissionProblem(e) ? Verdict::kOutOfReach : Verdict::kNotOurs, {}};
  }
  std::vector<std::uint8_t> bytes;
  try {
    const FileFacts facts = FactsOf(file, candidate);
    // The file opened must be the one examined, with no second name anyone could change.
    if (!facts.SameFileAs(*named) || facts.links != 1 ||
        !MakerCouldWrite(facts, lock.facts, folder, target)) {
      return {};
    }
    bytes = ReadAll(file, kMaxBackupSize, candidate);
  } catch (const std::system_error&) {
    return {};
  }
  switch (StateOfBackup(bytes)) {
    case BackupState::kForeign:
      return {};
    case BackupState::kBroken:
    case BackupState::kRetired:
      return {Verdict::kDead, {}};
    case BackupState::kLive:
      break;
  }
  std::optional<SaveBackup> backup = DecodeBackup(bytes);
  if (!backup) return {Verdict::kDead, {}};
  const bool this_file =
      backup->device == lock.facts.device && backup->file_id == lock.facts.file_id;
  if (!this_file || !TornBy(*backup, current)) return {Verdict::kSpent, {}};
  return {Verdict::kRestore, std::move(backup)};
}

std::vector<fs::path> NamedLikeBackups(const fs::path& target) {
  const fs::path::string_type prefix = BackupPrefix(target);
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end;
       it.increment(error)) {
    const fs::path::string_type name = it->path().filename().native();
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

bool RetireBackup(const fs::path& backup) {
  if (RemoveName(backup)) return true;
  try {
    const File file = OpenRegularNoFollow(backup, Access::kReadWrite);
    WriteAt(file, 0, RetiredMagic(), backup);
    FlushToDisk(file, backup);
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

std::vector<std::uint8_t> RecoverUnderLock(const fs::path& target, const SaveLock& lock,
                                           bool saving) {
  std::vector<std::uint8_t> current = ReadAll(lock.file, kMaxWorkbookFileSize, target);
  const std::optional<FileFacts> folder = FactsAt(FolderOf(target));
  if (!folder) return current;
  for (const fs::path& candidate : NamedLikeBackups(target)) {
    Examined examined = Examine(target, candidate, lock, *folder, current);
    switch (examined.verdict) {
      case Verdict::kNotOurs:
        break;
      case Verdict::kDead:
        if (lock.writable) (void)RemoveName(candidate);
        break;
      case Verdict::kOutOfReach:
        // It may be the only copy of the old contents: a save does not step over it.
        if (saving) throw SaveBlocked(SaveBlocked::Reason::kBackupOutOfReach, candidate);
        break;
      case Verdict::kRestore:
        if (!lock.writable) break;
        WriteAt(lock.file, 0, examined.backup->old_contents, target);
        Truncate(lock.file, examined.backup->old_contents.size(), target);
        FlushToDisk(lock.file, target);
        current = std::move(examined.backup->old_contents);
        [[fallthrough]];
      case Verdict::kSpent:
        if (lock.writable && !RetireBackup(candidate) && saving) {
          throw SaveBlocked(SaveBlocked::Reason::kBackupOutOfReach, candidate);
        }
        break;
    }
  }
  SyncFolder(FolderOf(target));
  return current;
}

}  // namespace xls::file
