#pragma once

#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_table_partition.h"

namespace xls::biff {

// A data table (what-if table) computes its result cells from a TABLE record after the
// first of them; each result cell's formula only points at that cell. A spreadsheet will
// not let one result cell be changed on its own, but a written cell must take its value.

// Before a cell inside a data table's results takes a value: the table's other result
// cells keep what they showed, their cached results, as values of their own (numbers,
// booleans and errors as such, texts as constant formulas), and the TABLE record goes, so no
// program recomputes a table that has lost a cell. True if any record changed. A table whose
// results the engine cannot read (a text spread over CONTINUE records) is left as it was.
bool DissolveDataTable(std::vector<CellItem>& items, CellAddress cell);

}  // namespace xls::biff
