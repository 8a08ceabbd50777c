#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace xls {

// Replaces the file at `path` (a symbolic link is followed) with `bytes` so that a crash or
// power loss at any moment leaves either the old or the new contents, never a mixture:
// the bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary is renamed over the original.
//
// A file without write permission is not replaced, even by a user the system would let
// do it: a read-only template was made so on purpose. The new file keeps the old one's
// permission bits (on Windows its attributes and access list). On any failure the original
// is untouched and the temporary removed;
// the error is a std::system_error whose code compares equal to the std::errc conditions
// (permission_denied, read_only_file_system, no_space_on_device ...).
//
// The temporary is named ".<file name>.saving-<process id>". A temporary left behind by a
// process that died while saving is removed by the next save of the same file.
//
// The new file keeps the old one's owner, group, extended attributes (ACLs) and permission
// bits. Where it cannot (another user's file, a group this user is not in) or where the
// file has several names (hard links), the contents are written into the file itself
// instead, with a synced copy of the old contents beside it, ".<file name>.backup-<process
// id>", until the new ones are on disk. A copy left by a process that died meanwhile is put
// back by the next save or RecoverInterruptedSave.
void SaveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Puts back the old contents where a save in place died half-way (see above). Nothing
// happens when there is nothing to recover, and errors are ignored.
void RecoverInterruptedSave(const std::filesystem::path& path);

// The backup-file name prefix used for `path`; exposed for tests.
std::filesystem::path::string_type BackupPrefix(const std::filesystem::path& path);

// The temporary-file name prefix used for `path`; exposed for tests and clean-up tools.
std::filesystem::path::string_type SavingPrefix(const std::filesystem::path& path);

}  // namespace xls
