#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "xls/biff/biff_workbook.h"
#include "xls/formula/uncomputable.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// Everything a printout of one worksheet of a parsed workbook needs: the cells as their
// formats show them, every formula computed from the cells as they stand (TODAY and NOW
// give `now`, a serial date of the workbook's date system), fonts, alignment, borders,
// fills, sizes, merged ranges and page setup. Sheet names compare as spreadsheets compare
// them (A-Z without regard to case). Throws Failure kNoSuchSheet (without a path: the
// workbook has none), or BiffFormatError for records printing reads that are damaged.
SheetLayout ReadSheetLayout(const biff::BiffWorkbook& book, std::u16string_view sheet_name,
                            double now);

// The same for a workbook just saved, whose formulas hold the results the save computed:
// each prints the result stored, so that the printout is exactly what was written. Formulas
// the save could not compute are listed in `uncomputed` as the save found them
// (`uncomputed_at_save`, the sheet's); where that is not known, working them out again.
SheetLayout ReadSavedSheetLayout(const biff::BiffWorkbook& book, std::u16string_view sheet_name,
                                 const std::vector<formula::UncomputedCells>* uncomputed_at_save);

// The same for a Workbook stream not yet parsed, at the present moment.
SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name);

}  // namespace xls::layout
