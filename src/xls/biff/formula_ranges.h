#pragma once

#include <set>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_table_partition.h"

namespace xls::biff {

// Shared and array formulas keep one expression for a range of cells, in a SHRFMLA or
// ARRAY record after the range's anchor cell; the other cells only point at the anchor.

// Before the cell takes a value: the cells of a shared formula it anchors get formulas of
// their own, so that they go on computing what they did (a spreadsheet turns an
// overwritten anchor's range into ordinary formulas the same way); the other cells of an
// array formula it belongs to keep what they showed, as values, since an array computes as
// a whole. True if any record changed. Cells of an expression or a result the engine
// cannot read are left as they were.
bool DetachFromSharedFormulas(std::vector<CellItem>& items, CellAddress cell);

// The formula cells whose expression (their own or their range's) may read another sheet.
std::set<CellAddress> FormulasReadingOtherSheets(const std::vector<CellItem>& items);

}  // namespace xls::biff
