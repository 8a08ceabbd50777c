#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_decoding.h"
#include "xls/biff/cell_table_partition.h"
#include "xls/biff/formula_ranges.h"
#include "xls/biff/shared_string_table.h"
#include "xls/biff/substreams.h"

namespace xls::biff {

// A worksheet substream: its cell table parsed for reading and editing, everything else
// carried as found. Until a cell is written it serialises to its original records (with
// only INDEX's stream positions moved along); once written, the cell table is laid out
// anew in row blocks with fresh DBCELL and INDEX records.
class SheetSubstream {
 public:
  static SheetSubstream Parse(Substream substream, const SharedStringTable& strings);

  const CellData* Find(CellAddress cell) const;
  // Every cell the sheet stores, in row and column order.
  const std::map<CellAddress, CellData>& Cells() const { return cells_; }

  // The format a written cell takes: its own if it exists, else its row's default (a ROW
  // with fGhostDirty), else its column's (COLINFO), else the workbook default 15.
  std::uint16_t XfForWrite(CellAddress cell) const;

  void SetNumber(CellAddress cell, double value);
  void SetSharedString(CellAddress cell, std::uint32_t index, std::u16string text);
  // Drops the value and keeps the format; a cell that does not exist stays so.
  void ClearValue(CellAddress cell);

  bool Modified() const { return modified_; }
  std::size_t SharedStringReferences() const;
  // Sets used[i] for every shared string i a cell of the sheet shows.
  void MarkUsedStrings(std::vector<bool>& used) const;
  // Gives every LABELSST cell the index new_index[old index], after the table was compacted.
  void RenumberStrings(const std::vector<std::uint32_t>& new_index);

  // The sheet's formula cells with the expressions they compute.
  std::vector<CellFormula> Formulas() const;
  // Stores a formula cell's computed result as its cached value; always_calculate also asks
  // spreadsheet programs to compute it whenever they load the file. The sheet counts as
  // changed only where a byte changed.
  void StoreFormulaResult(CellAddress cell, const CellValue& result, bool always_calculate);
  std::uint16_t Type() const { return type_; }
  // The substream's records as read (page setup, sizes, merged ranges); its cells as they
  // stand now are Cells().
  const std::vector<Record>& OriginalRecords() const { return original_; }

  // The substream's bytes when written from stream position base.
  std::vector<std::uint8_t> Serialize(std::size_t base) const;

 private:
  void Replace(CellAddress cell, Record record, CellValue value);
  void SplitMultiCellItem(CellAddress cell);
  void ExtendRow(CellAddress cell);
  void ExtendDimensions(CellAddress cell);
  std::vector<std::uint8_t> SerializeOriginal(std::size_t base) const;

  std::size_t original_offset_ = 0;
  std::uint16_t type_ = 0;
  std::vector<Record> original_;
  PartitionedSheet table_;
  std::map<CellAddress, CellData> cells_;
  std::map<CellAddress, std::size_t> formula_items_;  // where each formula cell's item lies
  std::uint16_t default_row_height_ = 0;
  bool modified_ = false;
  // Whether a TABLE record was read: once dissolved its range still counts, to be safe.
  bool holds_data_table_ = false;
};

}  // namespace xls::biff
