#include <system_error>

#include "workbook/cell_map.h"
#include "workbook/workbook_path.h"

namespace workbook {

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : executable.parent_path();
}

std::filesystem::path WorkbookPath(const std::filesystem::path& program_directory) {
  return program_directory / std::filesystem::path(std::u16string(kWorkbookFileName));
}

}  // namespace workbook
