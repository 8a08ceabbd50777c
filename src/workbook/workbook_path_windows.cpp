#include <windows.h>

#include <vector>

#include "workbook/cell_map.h"
#include "workbook/workbook_path.h"

namespace workbook {

std::filesystem::path ProgramDirectory() {
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
}

std::filesystem::path WorkbookPath(const std::filesystem::path& program_directory) {
  // Joined as they stand, whatever the folder ends with.
  return std::filesystem::path(program_directory.u16string() + u"\\" +
                               std::u16string(kWorkbookFileName));
}

}  // namespace workbook
