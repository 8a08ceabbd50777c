#pragma once

#include <filesystem>
#include <string_view>

#include "xls/layout/sheet_layout.h"

namespace xls {
class XlsDocument;
}

namespace workbook {

// Reads what printing one sheet of a workbook file needs. Failures are AutomationErrors
// with the same numbers and Chinese descriptions as opening the workbook for writing
// (missing or unreadable file, damaged or encrypted workbook, no such sheet).
xls::layout::SheetLayout LoadSheetLayout(const std::filesystem::path& path,
                                         std::u16string_view sheet);

// The same for a workbook the engine has just saved, as it stands in memory: its formulas
// print the results the save stored, and the file is not read again.
xls::layout::SheetLayout LoadSavedSheetLayout(const xls::XlsDocument& document,
                                              std::u16string_view sheet);

}  // namespace workbook
