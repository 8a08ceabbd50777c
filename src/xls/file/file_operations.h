#pragma once

// The few file operations the engine's save, recovery and whole-file read need, with one
// implementation per system (file_operations_posix.cpp, file_operations_windows.cpp; CMake
// picks one). Failures throw std::system_error with the system's own code (see
// system_errors.h), unless a function says otherwise.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace xls::file {

namespace fs = std::filesystem;

// An open file (a descriptor or a handle), closed when the object goes.
class File {
 public:
  File() = default;
  explicit File(std::intptr_t native) : native_(native) {}
  File(File&& other) noexcept : native_(other.native_) { other.native_ = kClosed; }
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      Release();
      native_ = std::exchange(other.native_, kClosed);
    }
    return *this;
  }
  ~File() { Release(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return native_ != kClosed; }
  std::intptr_t Native() const { return native_; }
  // Closes now, reporting what the system says: on a network share a write may fail only
  // here.
  void Close(const fs::path& path);

 private:
  static constexpr std::intptr_t kClosed = -1;
  // The system's own close; false when it fails, its error left where the system keeps it.
  static bool CloseNative(std::intptr_t native) noexcept;
  void Release() noexcept {
    if (IsOpen()) CloseNative(std::exchange(native_, kClosed));
  }

  std::intptr_t native_ = kClosed;
};

enum class Access { kRead, kReadWrite };

// Opens the regular file at `path`, following links. A folder fails with EISDIR and a
// pipe or device with ENODEV, without waiting for a writer or opening the device.
File OpenRegular(const fs::path& path, Access access);

// Opens the regular file named `path` itself: a link, pipe, device or folder there fails
// (ELOOP, ENODEV, EISDIR) without being followed or opened.
File OpenRegularNoFollow(const fs::path& path, Access access);

// Creates a new file only this user may use, never through a link or over anything that
// is there (EEXIST).
File CreateNew(const fs::path& path);

// What decides who a file belongs to and whether two names lead to one file.
struct FileFacts {
  std::uint64_t device = 0;
  std::uint64_t file_id = 0;
  std::uint64_t size = 0;
  std::uint64_t links = 1;
  std::uint32_t owner = 0;  // POSIX only; 0 elsewhere
  std::uint32_t group = 0;  // POSIX only
  std::uint32_t mode = 0;   // POSIX permission and type bits; 0 elsewhere

  bool SameFileAs(const FileFacts& other) const {
    return device == other.device && file_id == other.file_id;
  }
};
FileFacts FactsOf(const File& file, const fs::path& path);
// Facts of what is at `path` (links followed), or nothing when there is nothing.
std::optional<FileFacts> FactsAt(const fs::path& path);
// Facts of the name itself (a link is not followed), or nothing.
std::optional<FileFacts> FactsOfName(const fs::path& path);

std::vector<std::uint8_t> ReadAll(const File& file, std::uintmax_t max_size, const fs::path& path);
void WriteAt(const File& file, std::uint64_t offset, std::span<const std::uint8_t> bytes,
             const fs::path& path);
void Truncate(const File& file, std::uint64_t size, const fs::path& path);
void FlushToDisk(const File& file, const fs::path& path);

// A lock on the file that every save holds while it writes, and recovery takes before it
// looks at backups: byte-range locks reach across a network share to other machines. It
// lies far past the end of any workbook, so it never stops anybody reading or writing the
// contents. False when another process (here or elsewhere) holds a lock that conflicts.
bool TryLockForSaving(const File& file, bool exclusive);

// Refuses (EACCES) to save over a file nobody is meant to write: the system would let a
// rename replace a read-only file.
void CheckWritable(const fs::path& path);

// Gives a replacement what decides who may use the original: owner, group, extended
// attributes and permission bits (on Windows nothing: the replacement takes over the
// original's attributes and access list when it takes its name). False where the system
// refuses any of it.
bool KeepOwnership(const File& replacement, const fs::path& original);

// Lets whoever may read `workbook` read `backup` too, and whoever may write it write the
// backup (so that they can retire it): the workbook's group and bits, or where the saver
// is not in that group an ACL naming the workbook's owner and group. False where the
// system refuses.
bool ShareLike(const File& backup, const fs::path& workbook);

// Whether the maker of a file with `made` facts could write the workbook at
// `workbook_path` with `workbook` facts in `folder` anyway (as its owner, through its group
// or its ACL, or as anyone): only such a maker's backup is worth believing. Always true
// where the system keeps no owners in the facts (Windows).
bool MakerCouldWrite(const FileFacts& made, const FileFacts& workbook, const FileFacts& folder,
                     const fs::path& workbook_path);

// Renames `temporary` over `target` in one step. `target_held` (the target, open for its
// lock) is let go first where the system will not rename over an open file (Windows);
// elsewhere it stays open, and its lock with it.
void ReplaceWith(const fs::path& temporary, const fs::path& target, File& target_held);

// Deletes the name (never what a link points at); false where the system refuses.
bool RemoveName(const fs::path& path);

// Puts renames and deletions in `folder` on disk.
void SyncFolder(const fs::path& folder);

std::string HostName();
std::uint64_t ProcessId();

// Whether the system code means that another program holds the file (Windows' sharing
// and lock violations).
bool MeansHeldByAnotherProgram(std::error_code code);

}  // namespace xls::file
