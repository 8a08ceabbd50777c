#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/record.h"

namespace xls::biff {

// One cell record of a sheet with the records that belong to it: a formula's cached
// STRING, the shared, array or table formula it anchors, and CONTINUE records. A MULRK or
// MULBLANK covers the columns first.column to last_column of its row.
struct CellItem {
  CellAddress first;
  std::uint16_t last_column = 0;
  std::vector<Record> records;  // the cell record first
};

// A worksheet substream cut into the part before its cell table, the table's ROW records
// (by row) and cell items (in stream order), and the part after it. DBCELL records are
// dropped: they are recomputed whenever the table is written. Records of a chart embedded
// in the sheet (a nested BOF...EOF) never count as the sheet's cells.
struct PartitionedSheet {
  std::vector<Record> before;
  std::map<std::uint16_t, Record> rows;
  std::vector<CellItem> items;
  std::vector<Record> after;
};

PartitionedSheet PartitionSheetRecords(std::vector<Record> records);

// Per record, how many BOF...EOF substreams enclose it (1 for the sheet's own records).
std::vector<int> NestingDepths(const std::vector<Record>& records);

bool IsCellRecord(std::uint16_t type);

// How many cells a MULRK or MULBLANK covers, from its size.
std::size_t MultiCellCount(const Record& record);

}  // namespace xls::biff
