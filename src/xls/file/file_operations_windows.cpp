#include <windows.h>
// windows.h first: aclapi.h relies on its types.
#include <aclapi.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "base/text_encoding.h"
#include "xls/file/file_operations.h"
#include "xls/file/system_errors.h"

namespace xls::file {

namespace {

// Where the saving lock lies: far past any workbook. LockFileEx's locks keep others from
// the bytes they cover, so they must cover none of the contents.
constexpr ULONGLONG kLockOffset = ULONGLONG{1} << 62;

HANDLE Handle(const File& file) {
  return reinterpret_cast<HANDLE>(file.Native());
}

// The calling thread's GetLastError(), in the system category.
[[noreturn]] void ThrowLastError(const std::string& what, const fs::path& path) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                          what + " " + path.string());
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED overlapped{};
  overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

// A device name (NUL, CON, COM1 ...) opens in any folder, and a link may lead anywhere:
// what was opened is checked.
File OpenChecked(const fs::path& path, Access access, DWORD flags, bool refuse_links) {
  const DWORD wanted = access == Access::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // CreateFileW rather than _wfopen: the C runtime turns a sharing violation (the workbook
  // open in Excel or WPS) into the same EACCES as a refused permission, and the clerk must
  // be told which it is. Others may go on reading, writing or renaming the file meanwhile.
  HANDLE handle =
      CreateFileW(path.c_str(), wanted, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) ThrowLastError("cannot open", path);
  File file(reinterpret_cast<std::intptr_t>(handle));
  if (GetFileType(handle) != FILE_TYPE_DISK) ThrowErrno(ENODEV, "not a regular file:", path);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) ThrowLastError("cannot examine", path);
  if (refuse_links && (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    ThrowErrno(ELOOP, "a link:", path);
  }
  return file;
}

FileFacts FactsFromInformation(const BY_HANDLE_FILE_INFORMATION& information) {
  FileFacts facts;
  facts.device = information.dwVolumeSerialNumber;
  facts.file_id = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
  facts.size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
  facts.links = information.nNumberOfLinks;
  return facts;
}

std::optional<FileFacts> FactsThroughHandle(const fs::path& path, DWORD flags) {
  HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool known = GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return FactsFromInformation(information);
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

}  // namespace

bool File::CloseNative(std::intptr_t native) noexcept {
  return CloseHandle(reinterpret_cast<HANDLE>(native)) != 0;
}

void File::Close(const fs::path& path) {
  if (!CloseNative(std::exchange(native_, kClosed))) ThrowLastError("cannot close", path);
}

File OpenRegular(const fs::path& path, Access access) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) ThrowErrno(EISDIR, "is a folder:", path);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    ThrowErrno(ENODEV, "not a regular file:", path);
  }
  return OpenChecked(path, access, FILE_FLAG_SEQUENTIAL_SCAN, false);
}

File OpenRegularNoFollow(const fs::path& path, Access access) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (fs::is_directory(status)) ThrowErrno(EISDIR, "is a folder:", path);
  if (fs::is_symlink(status)) ThrowErrno(ELOOP, "a link:", path);
  return OpenChecked(path, access, FILE_FLAG_OPEN_REPARSE_POINT, true);
}

File CreateNew(const fs::path& path) {
  // CREATE_NEW fails on any name that is there, a link included, and never follows one.
  HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) {
      ThrowErrno(EEXIST, "already there:", path);
    }
    ThrowLastError("cannot create", path);
  }
  return File(reinterpret_cast<std::intptr_t>(handle));
}

FileFacts FactsOf(const File& file, const fs::path& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(Handle(file), &information)) {
    ThrowLastError("cannot examine", path);
  }
  return FactsFromInformation(information);
}

std::optional<FileFacts> FactsAt(const fs::path& path) {
  return FactsThroughHandle(path, FILE_FLAG_BACKUP_SEMANTICS);
}

std::optional<FileFacts> FactsOfName(const fs::path& path) {
  return FactsThroughHandle(path, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
}

std::vector<std::uint8_t> ReadAll(const File& file, std::uintmax_t max_size, const fs::path& path) {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[64 * 1024];
  for (std::uint64_t at = 0;;) {
    OVERLAPPED overlapped = At(at);
    DWORD got = 0;
    if (!ReadFile(Handle(file), buffer, sizeof buffer, &got, &overlapped)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      ThrowLastError("cannot read", path);
    }
    if (got == 0) break;
    if (got > max_size - bytes.size()) ThrowErrno(EFBIG, "file too large:", path);
    bytes.insert(bytes.end(), buffer, buffer + got);
    at += got;
  }
  return bytes;
}

void WriteAt(const File& file, std::uint64_t offset, std::span<const std::uint8_t> bytes,
             const fs::path& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    OVERLAPPED overlapped = At(offset + done);
    DWORD written = 0;
    if (!WriteFile(Handle(file), bytes.data() + done, chunk, &written, &overlapped)) {
      ThrowLastError("cannot write", path);
    }
    if (written == 0) ThrowErrno(EIO, "cannot write", path);
    done += written;
  }
}

void Truncate(const File& file, std::uint64_t size, const fs::path& path) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFileInformationByHandle(Handle(file), FileEndOfFileInfo, &end, sizeof end)) {
    ThrowLastError("cannot cut", path);
  }
}

void FlushToDisk(const File& file, const fs::path& path) {
  if (!FlushFileBuffers(Handle(file))) ThrowLastError("cannot flush", path);
}

bool TryLockForSaving(const File& file, bool exclusive) {
  OVERLAPPED overlapped = At(kLockOffset);
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return LockFileEx(Handle(file), flags, 0, 1, 0, &overlapped) != 0;
}

void CheckWritable(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;  // a new file: the folder decides
  if (attributes & FILE_ATTRIBUTE_READONLY) ThrowErrno(EACCES, "read-only file", path);
}

// Windows keeps no owner, mode bits or extended attributes this save could lose: the
// replacement takes over the old file's attributes and access list in ReplaceWith.
bool KeepOwnership(const File& replacement, const fs::path& original) {
  (void)replacement;
  (void)original;
  return true;
}

// The folder's inherited access list decides, as for the workbook in it.
bool ShareLike(const File& backup, const fs::path& workbook) {
  (void)backup;
  (void)workbook;
  return true;
}

bool MakerCouldWrite(const FileFacts& made, const FileFacts& workbook, const FileFacts& folder,
                     const fs::path& workbook_path) {
  (void)made;
  (void)workbook;
  (void)folder;
  (void)workbook_path;
  return true;
}

void ReplaceWith(const fs::path& temporary, const fs::path& target, File& target_held) {
  TakeOverAttributesAndSecurity(target, temporary);
  // The lock goes with the handle: another save taking it now finds this one's temporary
  // at worst, whose removal makes this rename fail and the save say so.
  target_held = File();
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

bool RemoveName(const fs::path& path) {
  return DeleteFileW(path.c_str()) != 0;
}

// MOVEFILE_WRITE_THROUGH has put renames on disk already.
void SyncFolder(const fs::path& folder) {
  (void)folder;
}

std::string HostName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size)) return {};
  return base::ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(name), size));
}

std::uint64_t ProcessId() {
  return GetCurrentProcessId();
}

bool MeansHeldByAnotherProgram(std::error_code code) {
  return code.category() == std::system_category() &&
         (code.value() == ERROR_SHARING_VIOLATION || code.value() == ERROR_LOCK_VIOLATION);
}

}  // namespace xls::file
