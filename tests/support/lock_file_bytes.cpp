#include "lock_file_bytes.h"

namespace test_support {

Bytes Utf8(std::string_view text) {
  return {text.begin(), text.end()};
}

Bytes ExcelOwnerFile(std::u16string_view name, const Bytes& ansi) {
  Bytes file(54, ' ');
  file[0] = static_cast<std::uint8_t>(ansi.size());
  std::copy(ansi.begin(), ansi.end(), file.begin() + 1);
  file.push_back(static_cast<std::uint8_t>(name.size()));
  file.push_back(0);
  for (const char16_t c : name) {
    file.push_back(static_cast<std::uint8_t>(c & 0xFF));
    file.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  while (file.size() < 162) {
    file.push_back(' ');
    file.push_back(0);
  }
  return file;
}

}  // namespace test_support
