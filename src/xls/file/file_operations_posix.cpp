#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "xls/file/access_list_posix.h"
#include "xls/file/file_operations.h"
#include "xls/file/system_errors.h"

namespace xls::file {

namespace {

// Where the saving lock lies: far past any workbook, within what every system's offsets
// (and NFS's lock protocol) can express.
constexpr off_t kLockOffset = off_t{1} << 62;

int Fd(const File& file) {
  return static_cast<int>(file.Native());
}

FileFacts FactsFromStat(const struct stat& status) {
  FileFacts facts;
  facts.device = static_cast<std::uint64_t>(status.st_dev);
  facts.file_id = static_cast<std::uint64_t>(status.st_ino);
  facts.size = static_cast<std::uint64_t>(status.st_size);
  facts.links = static_cast<std::uint64_t>(status.st_nlink);
  facts.owner = status.st_uid;
  facts.group = status.st_gid;
  facts.mode = status.st_mode;
  return facts;
}

int ErrorForType(mode_t mode) {
  return S_ISDIR(mode) ? EISDIR : S_ISLNK(mode) ? ELOOP : ENODEV;
}

// Opened without blocking, so that a pipe cannot make the program wait for a writer; what
// was opened is then checked, not what the name was.
File OpenChecked(const fs::path& path, Access access, int extra_flags) {
  const int flags = (access == Access::kRead ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
  const int fd = open(path.c_str(), flags | extra_flags);
  if (fd < 0) ThrowErrno(errno, "cannot open", path);
  File file(fd);
  struct stat status {};
  if (fstat(fd, &status) != 0) ThrowErrno(errno, "cannot examine", path);
  if (!S_ISREG(status.st_mode)) ThrowErrno(ErrorForType(status.st_mode), "not a file:", path);
  const int flags_now = fcntl(fd, F_GETFL);
  if (flags_now >= 0) (void)fcntl(fd, F_SETFL, flags_now & ~O_NONBLOCK);
  return file;
}

bool CopyAttributes(int fd, const fs::path& original) {
  const ssize_t names_size = listxattr(original.c_str(), nullptr, 0);
  if (names_size < 0) return errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(names_size));
  const ssize_t got = listxattr(original.c_str(), names.data(), names.size());
  if (got < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
    const char* name = names.data() + at;
    at += std::char_traits<char>::length(name) + 1;
    const ssize_t value_size = getxattr(original.c_str(), name, nullptr, 0);
    if (value_size < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(value_size));
    if (getxattr(original.c_str(), name, value.data(), value.size()) != value_size ||
        fsetxattr(fd, name, value.data(), value.size(), 0) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool File::CloseNative(std::intptr_t native) noexcept {
  return close(static_cast<int>(native)) == 0;
}

void File::Close(const fs::path& path) {
  if (!CloseNative(std::exchange(native_, kClosed))) ThrowErrno(errno, "cannot close", path);
}

File OpenRegular(const fs::path& path, Access access) {
  // A device is not even opened: opening some (a tape, a serial line) does something.
  struct stat named {};
  if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
    ThrowErrno(ErrorForType(named.st_mode), "not a regular file:", path);
  }
  return OpenChecked(path, access, 0);
}

File OpenRegularNoFollow(const fs::path& path, Access access) {
  struct stat named {};
  if (lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
    ThrowErrno(ErrorForType(named.st_mode), "not a regular file:", path);
  }
  return OpenChecked(path, access, O_NOFOLLOW);
}

File CreateNew(const fs::path& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) ThrowErrno(errno, "cannot create", path);
  return File(fd);
}

FileFacts FactsOf(const File& file, const fs::path& path) {
  struct stat status {};
  if (fstat(Fd(file), &status) != 0) ThrowErrno(errno, "cannot examine", path);
  return FactsFromStat(status);
}

std::optional<FileFacts> FactsAt(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return FactsFromStat(status);
}

std::optional<FileFacts> FactsOfName(const fs::path& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return std::nullopt;
  return FactsFromStat(status);
}

std::vector<std::uint8_t> ReadAll(const File& file, std::uintmax_t max_size, const fs::path& path) {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[64 * 1024];
  // Read to the end rather than trust a size taken beforehand: the file may change.
  for (off_t at = 0;;) {
    const ssize_t got = pread(Fd(file), buffer, sizeof buffer, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowErrno(errno, "cannot read", path);
    if (got == 0) break;
    if (static_cast<std::uintmax_t>(got) > max_size - bytes.size()) {
      ThrowErrno(EFBIG, "file too large:", path);
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
    at += got;
  }
  return bytes;
}

void WriteAt(const File& file, std::uint64_t offset, std::span<const std::uint8_t> bytes,
             const fs::path& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = pwrite(Fd(file), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) ThrowErrno(written < 0 ? errno : EIO, "cannot write", path);
    done += static_cast<std::size_t>(written);
  }
}

void Truncate(const File& file, std::uint64_t size, const fs::path& path) {
  if (ftruncate(Fd(file), static_cast<off_t>(size)) != 0) ThrowErrno(errno, "cannot cut", path);
}

void FlushToDisk(const File& file, const fs::path& path) {
  if (fsync(Fd(file)) != 0) ThrowErrno(errno, "cannot flush", path);
}

bool TryLockForSaving(const File& file, bool exclusive) {
  struct flock lock {};
  lock.l_type = static_cast<short>(exclusive ? F_WRLCK : F_RDLCK);
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockOffset;
  lock.l_len = 1;
#ifdef F_OFD_SETLK
  // Held by the open file, not the process: closing another descriptor of the workbook
  // (the whole-file read does) must not let go of it.
  return fcntl(Fd(file), F_OFD_SETLK, &lock) == 0;
#else
  return fcntl(Fd(file), F_SETLK, &lock) == 0;
#endif
}

void CheckWritable(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return;  // a new file: the folder decides
    ThrowErrno(errno, "cannot examine", path);
  }
  if (!S_ISREG(status.st_mode)) ThrowErrno(ErrorForType(status.st_mode), "not a file:", path);
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    ThrowErrno(EACCES, "read-only file", path);
  }
  if (access(path.c_str(), W_OK) != 0) ThrowErrno(errno, "cannot write", path);
}

// Owner, group, extended attributes (ACLs among them) and permission bits, in that order,
// as a change of owner clears set-id bits and an ACL sets the group bits.
bool KeepOwnership(const File& replacement, const fs::path& original) {
  struct stat status {};
  if (stat(original.c_str(), &status) != 0) return true;  // a new file: nothing to keep
  struct stat mine {};
  if (fstat(Fd(replacement), &mine) != 0) return false;
  if ((mine.st_uid != status.st_uid || mine.st_gid != status.st_gid) &&
      fchown(Fd(replacement), status.st_uid, status.st_gid) != 0) {
    return false;
  }
  return CopyAttributes(Fd(replacement), original) &&
         fchmod(Fd(replacement), status.st_mode & 07777) == 0;
}

bool ShareLike(const File& backup, const fs::path& workbook) {
  struct stat status {};
  if (stat(workbook.c_str(), &status) != 0) return false;
  // The workbook's group where the saver is in it, then its bits, with the saver's own read
  // and write kept.
  (void)fchown(Fd(backup), static_cast<uid_t>(-1), status.st_gid);
  if (fchmod(Fd(backup), (status.st_mode & 0666) | S_IRUSR | S_IWUSR) != 0) return false;
  struct stat made {};
  if (fstat(Fd(backup), &made) != 0) return false;
  std::optional<std::vector<AclEntry>> list = AccessListOf(workbook);
  if (made.st_uid == status.st_uid && made.st_gid == status.st_gid && !list) return true;
  // Another owner or group: an ACL names the workbook's owner and group, and whoever else
  // the workbook's ACL names, with what they may do to the workbook.
  const auto bits = [&](int shift) {
    return static_cast<std::uint16_t>((status.st_mode >> shift) & 06);
  };
  std::vector<AclEntry> shared{{kOwner, 06, 0},
                               {kOwningGroup, 0, 0},
                               {kOthers, bits(0), 0},
                               {kUser, bits(6), status.st_uid},
                               {kGroup, bits(3), status.st_gid}};
  if (list) {
    for (const AclEntry& entry : *list) {
      if (entry.tag == kUser || entry.tag == kGroup) {
        shared.push_back({entry.tag, static_cast<std::uint16_t>(entry.permissions & 06), entry.id});
      }
    }
  }
  if (SetAccessList(Fd(backup), std::move(shared))) return true;
  // No ACLs here: the bits alone must do, for the workbook's group at least.
  const bool others_read = (made.st_mode & S_IROTH) != 0;
  const bool group_read = made.st_gid == status.st_gid && (made.st_mode & S_IRGRP) != 0;
  return !list && (others_read || (status.st_mode & S_IROTH) == 0) &&
         (group_read || others_read || (status.st_mode & S_IRGRP) == 0);
}

bool MakerCouldWrite(const FileFacts& made, const FileFacts& workbook, const FileFacts& folder,
                     const fs::path& workbook_path) {
  if (made.owner == 0) return true;
  if (made.owner == workbook.owner && (workbook.mode & S_IWUSR) != 0) return true;
  if ((workbook.mode & S_IWOTH) != 0) return true;
  // A file's group proves its maker belongs to it, unless a set-group folder that anyone
  // may write handed the group down.
  const bool group_inherited = (folder.mode & S_ISGID) != 0 && (folder.mode & S_IWOTH) != 0;
  const bool group_proven = !group_inherited;
  if (made.group == workbook.group && (workbook.mode & S_IWGRP) != 0 && group_proven) return true;
  const std::optional<std::vector<AclEntry>> list = AccessListOf(workbook_path);
  return list &&
         NamedEntryLetsWrite(*list, made.owner, group_proven ? made.group : static_cast<gid_t>(-1));
}

void ReplaceWith(const fs::path& temporary, const fs::path& target, File& target_held) {
  (void)target_held;
  if (rename(temporary.c_str(), target.c_str()) != 0) ThrowErrno(errno, "cannot replace", target);
}

bool RemoveName(const fs::path& path) {
  return unlink(path.c_str()) == 0;
}

void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // what changed in it has happened; a folder we cannot open cannot be synced
  (void)fsync(fd);
  close(fd);
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::uint64_t ProcessId() {
  return static_cast<std::uint64_t>(getpid());
}

bool MeansHeldByAnotherProgram(std::error_code code) {
  (void)code;
  return false;  // POSIX locks are advisory: nothing keeps others out
}

}  // namespace xls::file
