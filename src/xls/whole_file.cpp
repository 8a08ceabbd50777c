#include "xls/whole_file.h"

#include "xls/file_operations.h"

namespace xls {

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path,
                                        std::uintmax_t max_size) {
  const files::File file = files::OpenRegular(path, files::Access::kRead);
  return files::ReadAll(file, max_size, path);
}

}  // namespace xls
