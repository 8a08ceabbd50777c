#pragma once

#include <cstdint>
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

// A formula cell's expression as the cell computes it: its own, its shared formula's with
// the references made the cell's, or its array formula's (evaluated for the whole range
// from the range's first cell). `readable` is false where the engine could not find or
// read the expression.
struct CellFormula {
  CellAddress cell;
  std::vector<std::uint8_t> rgce;
  std::vector<std::uint8_t> rgcb;
  bool array = false;
  CellAddress array_first;
  bool readable = true;
};
std::vector<CellFormula> CellFormulas(const std::vector<CellItem>& items);

}  // namespace xls::biff
