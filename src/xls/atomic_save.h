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
void SaveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The temporary-file name prefix used for `path`; exposed for tests and clean-up tools.
std::filesystem::path::string_type SavingPrefix(const std::filesystem::path& path);

}  // namespace xls
