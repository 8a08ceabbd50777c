#include "workbook_path.h"

#include "cell_map.h"

namespace workbook {

std::filesystem::path WorkbookPath(const std::filesystem::path& program_directory) {
  const std::u16string name(kWorkbookFileName);
#ifdef _WIN32
  return std::filesystem::path(program_directory.u16string() + u"\\" + name);
#else
  return program_directory / std::filesystem::path(name);
#endif
}

}  // namespace workbook
