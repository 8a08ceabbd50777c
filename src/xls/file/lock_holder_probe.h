#pragma once

// What the lock-file rules ask of the system, with one implementation per system
// (lock_holder_probe_posix.cpp, lock_holder_probe_windows.cpp; CMake picks one). Every
// answer errs on the side of "the holder may still be there".

#include <filesystem>
#include <string>

namespace xls::file {

// This user's login name as LibreOffice writes it into its lock files; empty if unknown.
std::string LoginName();

// Whether a LibreOffice of this user runs on this machine (true where that cannot be told).
bool LibreOfficeRunsHere();

// Whether some program holds the owner file open, as Excel and WPS do with theirs while
// they show the workbook (true where that cannot be told).
bool HeldOpen(const std::filesystem::path& owner_file);

// Whether this user may delete the file (its folder allows it, sticky bit included).
bool MayRemove(const std::filesystem::path& file);

}  // namespace xls::file
