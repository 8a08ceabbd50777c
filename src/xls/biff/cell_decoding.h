#pragma once

#include <cstdint>
#include <map>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_table_partition.h"
#include "xls/biff/cell_value.h"
#include "xls/biff/shared_string_table.h"

namespace xls::biff {

// A cell's value and its format (an index into the workbook's XF records).
struct CellData {
  CellValue value;
  std::uint16_t xf = 0;
};

// Decodes the cell or cells of one item into `cells`; a cell already there is replaced, so
// that of two records for one cell the later wins, as in spreadsheets. Columns past the
// 256th are dropped: they cannot be addressed, and keeping them out also bounds the memory
// a damaged file can ask for. Throws BiffFormatError for a record too short for its kind.
void DecodeCellItem(const CellItem& item, const SharedStringTable& strings,
                    std::map<CellAddress, CellData>& cells);

}  // namespace xls::biff
