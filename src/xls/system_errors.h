#pragma once

// How the engine's file code reports what the system refused: a std::system_error carrying
// the system's own code, which failure.cpp sorts into the typed failures. The words are for
// developers only.

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace xls {

// An errno value (or one of the <cerrno> codes the engine decides on itself).
[[noreturn]] inline void ThrowErrno(int error, const std::string& what,
                                    const std::filesystem::path& path) {
  throw std::system_error(error, std::generic_category(), what + " " + path.string());
}

#ifdef _WIN32
// The calling thread's GetLastError(), in the system category.
[[noreturn]] inline void ThrowLastError(const std::string& what,
                                        const std::filesystem::path& path) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                          what + " " + path.string());
}
#endif

}  // namespace xls
