#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Everything a printout of one worksheet needs, read from a BIFF8 Workbook stream: the
// cells as their formats show them, fonts, alignment, borders, fills, sizes, merged
// ranges and page setup. Sheet names compare as spreadsheets compare them (A-Z without
// regard to case). Throws Failure kNoSuchSheet (without a path: the stream has none), or
// BiffFormatError for a stream that cannot be read.
SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name);

}  // namespace xls::layout
