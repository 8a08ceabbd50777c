#pragma once

#include <string_view>

#include "compound_files.h"

namespace test_support {

// The bytes of a text as written, for lock files that other programs write in UTF-8.
Bytes Utf8(std::string_view text);

// An owner file as Excel writes it: the name in the code page (`ansi`, e.g. GBK for 张三)
// padded with spaces to 54 bytes, then its length again and the name in UTF-16, padded to
// 162.
Bytes ExcelOwnerFile(std::u16string_view name, const Bytes& ansi);

}  // namespace test_support
