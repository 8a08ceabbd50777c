#include "xls/file/whole_file.h"

#include "xls/file/file_operations.h"

namespace xls::file {

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path,
                                        std::uintmax_t max_size) {
  const File file = OpenRegular(path, Access::kRead);
  return ReadAll(file, max_size, path);
}

}  // namespace xls::file
