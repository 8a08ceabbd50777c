#include "xls/atomic_save.h"

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "xls/system_errors.h"
#include "xls/whole_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// windows.h first: aclapi.h relies on its types.
#include <aclapi.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace xls {

namespace fs = std::filesystem;

namespace {

fs::path FolderOf(const fs::path& path) {
  return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

#ifdef _WIN32

using ProcessId = unsigned long;
ProcessId CurrentProcessId() {
  return GetCurrentProcessId();
}

bool ProcessIsAlive(ProcessId pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

void CheckWritable(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;  // a new file: the folder decides
  if (attributes & FILE_ATTRIBUTE_READONLY) ThrowErrno(EACCES, "read-only file", path);
}

int CreateExclusive(const fs::path& path, const fs::path& like) {
  (void)like;  // Windows keeps no permission bits worth copying; ACLs follow the folder.
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

int WriteSome(int fd, const std::uint8_t* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return _write(fd, data, chunk);
}

int FlushToDisk(int fd) {
  return _commit(fd);
}
int CloseFile(int fd) {
  return _close(fd);
}

// The new file takes the old one's attributes and access rights before it takes its name,
// as ReplaceFileW would give them; ReplaceFileW itself is not used because it swaps the
// files in more than one step (wine's in two renames), and a save killed between them left
// no workbook at all. Best effort: a right the saver may not set is left as the folder gives
// it. A first save has nothing to keep.
void TakeOverAttributesAndSecurity(const fs::path& old_file, const fs::path& new_file) {
  const DWORD attributes = GetFileAttributesW(old_file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  SetFileAttributesW(new_file.c_str(), (attributes & kKept) | FILE_ATTRIBUTE_ARCHIVE);

  PACL access_list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(old_file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &access_list, nullptr, &descriptor) != ERROR_SUCCESS) {
    return;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  // A list the folder passed down is passed down again; one set on the file stays its own.
  const SECURITY_INFORMATION which =
      DACL_SECURITY_INFORMATION |
      ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                          : UNPROTECTED_DACL_SECURITY_INFORMATION);
  std::wstring name = new_file.native();
  SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, which, nullptr, nullptr, access_list, nullptr);
  LocalFree(descriptor);
}

// Windows keeps no owner, mode bits or extended attributes this save could lose: the
// replacement takes over the old file's attributes and access list in ReplaceWith.
bool CopyOwnership(int fd, const fs::path& original) {
  (void)fd;
  (void)original;
  return true;
}

// A file with several names (NTFS hard links) keeps them all only if it is written where
// it is.
bool MustSaveInPlace(const fs::path& target) {
  HANDLE file =
      CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool linked =
      GetFileInformationByHandle(file, &information) && information.nNumberOfLinks > 1;
  CloseHandle(file);
  return linked;
}

int OpenToOverwrite(const fs::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_BINARY);
}
int CreatePrivate(const fs::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int TruncateTo(int fd, std::size_t size) {
  const errno_t error = _chsize_s(fd, static_cast<long long>(size));
  if (error != 0) errno = error;
  return error == 0 ? 0 : -1;
}
void RenameOrThrow(const fs::path& from, const fs::path& to, const std::string& what) {
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowLastError(what, to);
  }
}
// MOVEFILE_WRITE_THROUGH has put the rename on disk already.
void SyncFolder(const fs::path& folder) {
  (void)folder;
}

void ReplaceWith(const fs::path& temporary, const fs::path& target) {
  TakeOverAttributesAndSecurity(target, temporary);
  // One rename, which NTFS does at once: a crash leaves the old workbook or the new one.
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // Windows refuses to rename over a file that another program holds open as "access
    // denied"; asking for the right to delete it tells the sharing violation apart.
    if (GetLastError() == ERROR_ACCESS_DENIED) {
      HANDLE probe = CreateFileW(target.c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        SetLastError(ERROR_ACCESS_DENIED);
      }
    }
    ThrowLastError("cannot replace", target);
  }
}

#else

using ProcessId = pid_t;
ProcessId CurrentProcessId() {
  return getpid();
}

bool ProcessIsAlive(ProcessId pid) {
  return kill(pid, 0) == 0 || errno == EPERM;
}

void CheckWritable(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return;  // a new file: the folder decides
    ThrowErrno(errno, "cannot examine", path);
  }
  if (!S_ISREG(status.st_mode)) ThrowErrno(EISDIR, "not a regular file:", path);
  // rename() would replace a read-only file without a word; honour the owner's intent.
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    ThrowErrno(EACCES, "read-only file", path);
  }
  if (access(path.c_str(), W_OK) != 0) ThrowErrno(errno, "cannot write", path);
}

int CreateExclusive(const fs::path& path, const fs::path& like) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  struct stat status {};
  if (fd >= 0 && stat(like.c_str(), &status) == 0) {
    // Best effort: a group-shared template stays group-writable after the save.
    (void)fchmod(fd, status.st_mode & 07777);
  }
  return fd;
}

ssize_t WriteSome(int fd, const std::uint8_t* data, std::size_t size) {
  return write(fd, data, size);
}

int FlushToDisk(int fd) {
  return fsync(fd);
}
int CloseFile(int fd) {
  return close(fd);
}

void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the rename happened; a folder we cannot open cannot be synced
  (void)fsync(fd);
  close(fd);
}

void ReplaceWith(const fs::path& temporary, const fs::path& target) {
  if (rename(temporary.c_str(), target.c_str()) != 0) ThrowErrno(errno, "cannot replace", target);
  // The rename lives in the folder; without this a power cut may bring the old name back.
  SyncFolder(FolderOf(target));
}

// Gives the new file what decides who may use the old one: owner, group, extended
// attributes (ACLs among them) and permission bits, in that order, as a change of owner
// clears set-id bits and an ACL sets the group bits. False where the system refuses any
// of it (another user's file, a group we are not in): then the file is saved in place.
bool CopyOwnership(int fd, const fs::path& original) {
  struct stat status {};
  if (stat(original.c_str(), &status) != 0) return true;  // a new file: nothing to keep
  struct stat mine {};
  if (fstat(fd, &mine) != 0) return false;
  if ((mine.st_uid != status.st_uid || mine.st_gid != status.st_gid) &&
      fchown(fd, status.st_uid, status.st_gid) != 0) {
    return false;
  }
  const ssize_t names_size = listxattr(original.c_str(), nullptr, 0);
  if (names_size < 0 && errno != ENOTSUP) return false;
  if (names_size > 0) {
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
  }
  return fchmod(fd, status.st_mode & 07777) == 0;
}

// A file with several names (hard links) keeps them all only if it is written where it is.
bool MustSaveInPlace(const fs::path& target) {
  struct stat status {};
  return stat(target.c_str(), &status) == 0 && status.st_nlink > 1;
}

int OpenToOverwrite(const fs::path& path) {
  return open(path.c_str(), O_WRONLY | O_CLOEXEC);
}
int CreatePrivate(const fs::path& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
int TruncateTo(int fd, std::size_t size) {
  return ftruncate(fd, static_cast<off_t>(size));
}
void RenameOrThrow(const fs::path& from, const fs::path& to, const std::string& what) {
  if (rename(from.c_str(), to.c_str()) != 0) ThrowErrno(errno, what, to);
}

#endif

fs::path TemporaryFor(const fs::path& target, ProcessId pid) {
  fs::path::string_type name = SavingPrefix(target);
  const std::string number = std::to_string(pid);
  name.append(number.begin(), number.end());
  return target.parent_path() / name;
}

// The process id at the end of a temporary's name; nothing if the tail is not a number.
std::optional<ProcessId> ParseProcessId(const fs::path::string_type& digits) {
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  unsigned long value = 0;
  for (const auto c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  return static_cast<ProcessId>(value);
}

// Removes temporaries of this file left by processes that died while saving it, and our
// own from an earlier failed attempt. Errors are ignored: the save does not depend on it.
void RemoveStaleTemporaries(const fs::path& target) {
  const fs::path folder = FolderOf(target);
  const fs::path::string_type prefix = SavingPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path::string_type name = it->path().filename().native();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const auto pid = ParseProcessId(name.substr(prefix.size()));
    if (!pid) continue;
    if (*pid == CurrentProcessId() || !ProcessIsAlive(*pid)) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const fs::path& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto written = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) ThrowErrno(written < 0 ? errno : EIO, "cannot write", path);
    done += static_cast<std::size_t>(written);
  }
}

fs::path BackupFor(const fs::path& target, ProcessId pid) {
  fs::path::string_type name = BackupPrefix(target);
  const std::string number = std::to_string(pid);
  name.append(number.begin(), number.end());
  return target.parent_path() / name;
}

// Overwrites the file's contents where they lie, keeping the file itself (its inode).
void OverwriteContents(const fs::path& target, std::span<const std::uint8_t> bytes) {
  const int fd = OpenToOverwrite(target);
  if (fd < 0) ThrowErrno(errno, "cannot open for writing", target);
  try {
    WriteAll(fd, bytes, target);
    if (TruncateTo(fd, bytes.size()) != 0) ThrowErrno(errno, "cannot truncate", target);
    if (FlushToDisk(fd) != 0) ThrowErrno(errno, "cannot flush", target);
  } catch (...) {
    CloseFile(fd);
    throw;
  }
  if (CloseFile(fd) != 0) ThrowErrno(errno, "cannot close", target);
}

void WriteNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const int fd = CreatePrivate(path);
  if (fd < 0) ThrowErrno(errno, "cannot create", path);
  const auto fail = [&](int error, const char* what) {
    CloseFile(fd);
    std::error_code ignored;
    fs::remove(path, ignored);
    ThrowErrno(error, what, path);
  };
  try {
    WriteAll(fd, bytes, path);
  } catch (const std::system_error& e) {
    fail(e.code().value(), "cannot write");
  }
  if (FlushToDisk(fd) != 0) fail(errno, "cannot flush");
  if (CloseFile(fd) != 0) fail(errno, "cannot close");
}

// Writes the new contents into the file itself, with a synced copy of the old contents
// beside it until the new ones are on disk: a crash in between leaves that copy, which
// the next open or save of the workbook puts back.
void SaveInPlace(const fs::path& target, std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> old;
  try {
    old = ReadWholeFile(target);
  } catch (const std::system_error& e) {
    // The code as it came, in its own category: a Windows sharing violation stays one.
    throw std::system_error(e.code(), "cannot read before saving " + target.string());
  }
  // The copy gets its name only once it is whole: a backup found later is always sound.
  const fs::path backup = BackupFor(target, CurrentProcessId());
  const fs::path partial = TemporaryFor(target, CurrentProcessId());
  WriteNewFile(partial, old);
  try {
    RenameOrThrow(partial, backup, "cannot name the backup of");
  } catch (...) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw;
  }
  SyncFolder(FolderOf(target));
  try {
    OverwriteContents(target, bytes);
  } catch (...) {
    // Disk full half-way, say: put the old contents back while we still can. If even that
    // fails, the backup stays for the next open to restore.
    bool restored = false;
    try {
      OverwriteContents(target, old);
      restored = true;
    } catch (...) {
    }
    if (restored) {
      std::error_code ignored;
      fs::remove(backup, ignored);
    }
    throw;  // what stopped the save
  }
  std::error_code ignored;
  fs::remove(backup, ignored);
  SyncFolder(FolderOf(target));
}

// Puts back the contents saved beside the workbook by a save that died before its new
// contents were on disk. Errors are ignored: reading then reports what it finds.
void RecoverFromBackups(const fs::path& target) {
  const fs::path::string_type prefix = BackupPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end;
       it.increment(error)) {
    const fs::path::string_type name = it->path().filename().native();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const auto pid = ParseProcessId(name.substr(prefix.size()));
    if (!pid || (*pid != CurrentProcessId() && ProcessIsAlive(*pid))) continue;
    try {
      OverwriteContents(target, ReadWholeFile(it->path()));
      std::error_code ignored;
      fs::remove(it->path(), ignored);
      SyncFolder(FolderOf(target));
    } catch (const std::system_error&) {
    }
  }
}

// Deletes the temporary unless the save got as far as renaming it.
class TemporaryFile {
 public:
  TemporaryFile(const fs::path& path, int fd) : path_(path), fd_(fd) {}
  ~TemporaryFile() {
    if (fd_ >= 0) CloseFile(fd_);
    if (!committed_) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return fd_; }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (CloseFile(fd) != 0) ThrowErrno(errno, "cannot close", path_);
  }
  void Commit() { committed_ = true; }

 private:
  fs::path path_;
  int fd_;
  bool committed_ = false;
};

fs::path ResolveTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    const fs::path target = fs::canonical(path, error);
    if (!error) return target;
  }
  return path;
}

}  // namespace

fs::path::string_type BackupPrefix(const fs::path& path) {
  fs::path::string_type name = fs::path(".").native();
  name += path.filename().native();
  name += fs::path(".backup-").native();
  return name;
}

void RecoverInterruptedSave(const fs::path& path) {
  RecoverFromBackups(ResolveTarget(path));
}

fs::path::string_type SavingPrefix(const fs::path& path) {
  fs::path::string_type name = fs::path(".").native();
  name += path.filename().native();
  name += fs::path(".saving-").native();
  return name;
}

void SaveFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const fs::path target = ResolveTarget(path);
  CheckWritable(target);
  RemoveStaleTemporaries(target);
  RecoverFromBackups(target);
  if (MustSaveInPlace(target)) {
    SaveInPlace(target, bytes);
    return;
  }
  const fs::path temporary_path = TemporaryFor(target, CurrentProcessId());
  {
    const int fd = CreateExclusive(temporary_path, target);
    if (fd < 0) ThrowErrno(errno, "cannot create a file in the folder of", target);
    TemporaryFile temporary(temporary_path, fd);
    if (CopyOwnership(temporary.Fd(), target)) {
      WriteAll(temporary.Fd(), bytes, temporary_path);
      if (FlushToDisk(temporary.Fd()) != 0) ThrowErrno(errno, "cannot flush", temporary_path);
      temporary.Close();
      ReplaceWith(temporary_path, target);
      temporary.Commit();
      return;
    }
  }  // the temporary is gone: a replacement would change who may use the workbook
  SaveInPlace(target, bytes);
}

}  // namespace xls
