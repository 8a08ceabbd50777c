#pragma once

#include <filesystem>

namespace workbook {

// The folder that holds the program's executable, as the system reports it.
std::filesystem::path ProgramDirectory();

// The workbook beside the program. On Windows the program's folder and "\锯材账单.xls"
// are joined as they stand; elsewhere the name is joined with the platform's separator.
std::filesystem::path WorkbookPath(const std::filesystem::path& program_directory);

}  // namespace workbook
