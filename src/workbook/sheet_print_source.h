#pragma once

#include <filesystem>
#include <string_view>

#include "xls/layout/sheet_layout.h"

namespace workbook {

// Reads what printing one sheet of a workbook file needs. Failures are AutomationErrors
// with the same numbers and Chinese descriptions as opening the workbook for writing
// (missing or unreadable file, damaged or encrypted workbook, no such sheet).
xls::layout::SheetLayout LoadSheetLayout(const std::filesystem::path& path,
                                         std::u16string_view sheet);

}  // namespace workbook
