#include "workbook/workbook_path.h"

#include "workbook/cell_map.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace workbook {

std::filesystem::path ProgramDirectory() {
#ifdef _WIN32
  // A long installation path may not fit MAX_PATH: grow until the name is whole.
  std::vector<wchar_t> name(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::filesystem::current_path();
    if (length < name.size()) {
      return std::filesystem::path(std::wstring(name.data(), length)).parent_path();
    }
    name.resize(name.size() * 2);
  }
#else
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : executable.parent_path();
#endif
}

std::filesystem::path WorkbookPath(const std::filesystem::path& program_directory) {
  const std::u16string name(kWorkbookFileName);
#ifdef _WIN32
  return std::filesystem::path(program_directory.u16string() + u"\\" + name);
#else
  return program_directory / std::filesystem::path(name);
#endif
}

}  // namespace workbook
