#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "xls/biff/cell_value.h"
#include "xls/biff/shared_string_table.h"
#include "xls/biff/substreams.h"

namespace xls::biff {

struct CellData {
  CellValue value;
  std::uint16_t xf = 0;
};

// A worksheet substream: its cell table parsed for reading and editing, everything else
// carried as found. Until a cell is written it serialises to its original records (with
// only INDEX's stream positions moved along); once written, the cell table is laid out
// anew in row blocks with fresh DBCELL and INDEX records. Rows and columns count from 0.
class SheetSubstream {
 public:
  static SheetSubstream Parse(Substream substream, const SharedStringTable& strings);

  const CellData* Find(std::uint16_t row, std::uint16_t column) const;
  // Every cell the sheet stores, by (row << 16 | column).
  const std::map<std::uint32_t, CellData>& Cells() const { return cells_; }

  // The format a written cell takes: its own if it exists, else its row's default (a ROW
  // with fGhostDirty), else its column's (COLINFO), else the workbook default 15.
  std::uint16_t XfForWrite(std::uint16_t row, std::uint16_t column) const;

  void SetNumber(std::uint16_t row, std::uint16_t column, double value);
  void SetSharedString(std::uint16_t row, std::uint16_t column, std::uint32_t index,
                       std::u16string text);
  // Drops the value and keeps the format; a cell that does not exist stays so.
  void ClearValue(std::uint16_t row, std::uint16_t column);

  bool Modified() const { return modified_; }

  // Marks the formulas that may read other sheets (3-D references, names) to be calculated
  // whenever the workbook is loaded: a reader that trusts cached results (gnumeric) would
  // otherwise show what they were before another sheet was written.
  void RecalculateFormulasReadingOtherSheets();
  std::size_t SharedStringReferences() const;
  // Sets used[i] for every shared string i a cell of the sheet shows.
  void MarkUsedStrings(std::vector<bool>& used) const;
  // Gives every LABELSST cell the index new_index[old index], after the table was compacted.
  void RenumberStrings(const std::vector<std::uint32_t>& new_index);
  std::uint16_t Type() const { return type_; }

  // The substream's bytes when written from stream position base.
  std::vector<std::uint8_t> Serialize(std::size_t base) const;

 private:
  struct CellItem {
    std::uint16_t row = 0;
    std::uint16_t first_column = 0;
    std::uint16_t last_column = 0;
    std::vector<Record> records;  // the cell record, then what belongs to it
  };

  void SplitRecords(std::vector<Record> records);
  void ParseItem(const CellItem& item, const SharedStringTable& strings);
  void AddItem(CellItem item);
  CellItem* ItemAt(std::uint16_t row, std::uint16_t column);
  void Replace(std::uint16_t row, std::uint16_t column, Record record, CellValue value);
  // Before the cell at (row, column) takes a value: the cells of a shared formula it
  // anchors, or of an array formula it belongs to, get formulas of their own, so that
  // they go on computing what they did without it.
  void DetachFromSharedFormulas(std::uint16_t row, std::uint16_t column);
  void GiveFormulasOfTheirOwn(std::uint16_t row, std::uint16_t column);
  void SplitMultiCellItem(std::uint16_t row, std::uint16_t column);
  void ExtendRow(std::uint16_t row, std::uint16_t column);
  void ExtendDimensions(std::uint16_t row, std::uint16_t column);
  std::vector<std::uint8_t> SerializeOriginal(std::size_t base) const;

  void AppendCellTable(std::vector<std::uint8_t>& out, std::size_t base,
                       std::vector<std::uint32_t>& dbcell_positions) const;

  std::size_t original_offset_ = 0;
  std::uint16_t type_ = 0;
  std::vector<Record> original_;
  std::vector<Record> before_;  // up to the cell table
  std::vector<Record> after_;   // from the end of the cell table
  std::map<std::uint16_t, Record> rows_;
  std::vector<CellItem> items_;
  std::map<std::uint32_t, CellData> cells_;
  std::uint16_t default_row_height_ = 0;
  bool modified_ = false;
};

}  // namespace xls::biff
