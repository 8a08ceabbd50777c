#pragma once

// How the engine's file code reports what the system refused: a std::system_error carrying
// the system's own code, which failure.cpp sorts into the typed failures. The words are for
// developers only.

#include <filesystem>
#include <string>
#include <system_error>

namespace xls::file {

// An errno value (or one of the <cerrno> codes the engine decides on itself).
[[noreturn]] inline void ThrowErrno(int error, const std::string& what,
                                    const std::filesystem::path& path) {
  throw std::system_error(error, std::generic_category(), what + " " + path.string());
}

}  // namespace xls::file
