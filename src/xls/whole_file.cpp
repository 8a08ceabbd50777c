#include "xls/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "xls/system_errors.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace xls {

namespace fs = std::filesystem;

namespace {

using FileCloser = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

#ifdef _WIN32

FileCloser OpenRegularFile(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) ThrowErrno(EISDIR, "is a folder:", path);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    ThrowErrno(ENODEV, "not a regular file:", path);
  }
  // CreateFileW rather than _wfopen: the C runtime turns a sharing violation (the workbook
  // open in Excel or WPS) into the same EACCES as a refused permission, and the clerk must
  // be told which it is. Others may go on reading, writing or renaming the file meanwhile.
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) ThrowLastError("cannot open", path);
  // A device name (NUL, CON, COM1 ...) opens in any folder; what was opened is checked.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    ThrowErrno(ENODEV, "not a regular file:", path);
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    ThrowErrno(EMFILE, "cannot open", path);
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) {
    const int failure = errno;
    _close(fd);
    ThrowErrno(failure, "cannot open", path);
  }
  return FileCloser(file, &std::fclose);
}

#else

// Opened without blocking, so that a pipe where the workbook should be cannot make the
// program wait for a writer; what was opened is then checked, not what the name was.
FileCloser OpenRegularFile(const fs::path& path) {
  // A device is not even opened: opening some (a tape, a serial line) does something.
  struct stat named {};
  if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
    ThrowErrno(S_ISDIR(named.st_mode) ? EISDIR : ENODEV, "not a regular file:", path);
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) ThrowErrno(errno, "cannot open", path);
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
    close(fd);
    ThrowErrno(error, "not a regular file:", path);
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) (void)fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    const int error = errno;
    close(fd);
    ThrowErrno(error, "cannot open", path);
  }
  return FileCloser(file, &std::fclose);
}

#endif

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const fs::path& path, std::uintmax_t max_size) {
  const FileCloser file = OpenRegularFile(path);
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[64 * 1024];
  // Read to the end rather than trust a size taken beforehand: the file may change.
  while (true) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    if (got > max_size - bytes.size()) ThrowErrno(EFBIG, "file too large:", path);
    bytes.insert(bytes.end(), buffer, buffer + got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) ThrowErrno(errno ? errno : EIO, "cannot read", path);
  return bytes;
}

}  // namespace xls
