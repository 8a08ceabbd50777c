#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace xls::file {

// Workbooks larger than this are refused on reading: a tally template is a few dozen KB,
// and the whole file is held in memory.
inline constexpr std::uintmax_t kMaxWorkbookFileSize = 64u * 1024 * 1024;

// The whole contents of a regular file of at most `max_size` bytes. A folder fails with
// std::errc::is_a_directory and a pipe or device with std::errc::no_such_device, without
// waiting for a writer; a larger file fails with std::errc::file_too_large. Failures throw
// std::system_error.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path,
                                        std::uintmax_t max_size = kMaxWorkbookFileSize);

}  // namespace xls::file
