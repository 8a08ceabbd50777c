#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_table_partition.h"
#include "xls/biff/record.h"

namespace xls::biff {

// The records that lay out a sheet's cell table, written anew once a cell has changed:
// ROW records in blocks of 32 rows, each block followed by its cells and a DBCELL that
// points back at them; INDEX, before the table, pointing at every DBCELL; DIMENSIONS
// spanning every cell.

// How many 32-row blocks the table of these rows and cells has (one DBCELL each).
std::size_t RowBlockCount(const std::map<std::uint16_t, Record>& rows,
                          const std::vector<CellItem>& items);

// Appends the table to `out`, whose first byte lies at stream position `base`, and returns
// the stream position of each block's DBCELL. A row's cells go in column order; formulas
// are marked to be calculated on load, so that readers who trust cached results still show
// the values of cells written since.
std::vector<std::uint32_t> AppendCellTable(std::vector<std::uint8_t>& out, std::size_t base,
                                           const std::map<std::uint16_t, Record>& rows,
                                           const std::vector<CellItem>& items);

// An INDEX body: the rows [first_row, end_row) that hold cells, the stream position of
// DEFCOLWIDTH (0 for none) and of every DBCELL.
std::vector<std::uint8_t> IndexBody(std::uint32_t first_row, std::uint32_t end_row,
                                    std::uint32_t column_width_position,
                                    const std::vector<std::uint32_t>& dbcell_positions);

// Moves the stream positions an INDEX holds (DEFCOLWIDTH's and the DBCELLs') by `delta`,
// for a sheet written unchanged at another place in the stream.
void MoveIndexPositions(Record& index, std::uint32_t delta);

// Widens a ROW record's column span [first, end) to take in `column`.
void WidenRow(Record& row, std::uint16_t column);

// Widens a DIMENSIONS record to take in the cell; an empty one becomes just that cell.
void WidenDimensions(Record& dimensions, CellAddress cell);

}  // namespace xls::biff
