#pragma once

#include <filesystem>
#include <string_view>

#include "xls/layout/sheet_layout.h"

namespace xls {
class XlsDocument;
}

namespace xls::layout {

// The print layout of one worksheet of a workbook file. Every failure is an xls::Failure:
// the file's own (missing, unreadable, not a workbook, damaged, encrypted ...) as opening
// the workbook reports them, kNoSuchSheet naming the sheet, and kDamaged for records only
// printing reads (fonts, formats, page setup).
SheetLayout ReadSheetLayoutFile(const std::filesystem::path& path, std::u16string_view sheet);

// The same for a workbook already in memory that has just been saved: its formulas print the
// results the save stored (ReadSavedSheetLayout), and its file is not read again.
SheetLayout ReadSavedSheetLayout(const XlsDocument& document, std::u16string_view sheet);

}  // namespace xls::layout
