#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "xls/file/lock_holder.h"

namespace xls::file {

// Spreadsheet programs mark a workbook they have open with a small file beside it:
// LibreOffice (and OpenOffice) with ".~lock.<name>#", Excel and WPS with the owner file
// "~$<name>". Writing the workbook meanwhile would be lost on the clerk, who prints what
// that program still shows, so a save looks for them first.

// The holder named by the first lock or owner file found beside `path`, or beside the file
// a symbolic link at `path` points to. A lock file that cannot be read still counts, with
// the holder unknown. A lock whose holder has provably ended does not: an owner file no
// program holds open (Windows tells), a LibreOffice lock this user made on this machine
// while no LibreOffice of theirs runs.
std::optional<LockHolder> FindLockHolder(const std::filesystem::path& path);

// Names from a lock file are shown to the clerk: at most this many characters, without
// control or writing-direction characters.
inline constexpr std::size_t kMaxHolderNameLength = 64;
std::u16string ShownName(std::u16string_view name);

// The user and machine of a LibreOffice lock file's contents: comma-separated fields with
// backslash escapes, "full name,user,machine,date,profile;". The full name wins over the
// login name where the user gave one.
LockHolder ReadLibreOfficeLock(std::span<const std::uint8_t> contents);

// The user of an Excel or WPS owner file: a length byte and the name in the system's
// code page, padded to 54 bytes, then a 16-bit length and the name again in UTF-16.
LockHolder ReadOwnerFile(std::span<const std::uint8_t> contents);

}  // namespace xls::file
