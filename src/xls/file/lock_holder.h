#pragma once

#include <filesystem>
#include <string>

namespace xls::file {

// Whoever has a workbook open in a spreadsheet program, as that program's lock file names
// them.
struct LockHolder {
  std::u16string user;     // empty when the lock file does not say
  std::u16string machine;  // empty when the lock file does not say (Excel's never does)
  std::filesystem::path lock_file;
  bool removable = true;  // whether this user may delete the lock file
};

}  // namespace xls::file
