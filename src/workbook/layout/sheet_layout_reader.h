#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

#include "workbook/layout/sheet_layout.h"

namespace workbook::layout {

// The workbook has no worksheet of the name asked for.
class SheetNotFound : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Everything a printout of one worksheet needs, read from a BIFF8 Workbook stream: the
// cells as their formats show them, fonts, alignment, borders, fills, sizes, merged
// ranges and page setup. Sheet names compare as spreadsheets compare them (A-Z without
// regard to case). Throws SheetNotFound, or BiffFormatError for a stream that cannot be
// read.
SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name);

}  // namespace workbook::layout
