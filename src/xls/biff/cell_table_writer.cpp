#include "xls/biff/cell_table_writer.h"

#include <algorithm>
#include <optional>
#include <set>

#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

constexpr unsigned kRowBlockShift = 5;  // 32 rows to a block

unsigned BlockOf(std::uint16_t row) {
  return static_cast<unsigned>(row) >> kRowBlockShift;
}

std::set<std::uint16_t> RowsInUse(const std::map<std::uint16_t, Record>& rows,
                                  const std::vector<CellItem>& items) {
  std::set<std::uint16_t> in_use;
  for (const auto& [row, record] : rows) in_use.insert(row);
  for (const CellItem& item : items) in_use.insert(item.first.row);
  return in_use;
}

void AppendCellRecords(std::vector<std::uint8_t>& out, const CellItem& item) {
  for (const Record& record : item.records) {
    if (record.type == record_type::kFormula && record.body.size() > formula_record::kFlags) {
      Record always_calculated = record;
      always_calculated.body[formula_record::kFlags] |= formula_record::kAlwaysCalculate;
      AppendRecord(out, always_calculated);
    } else {
      AppendRecord(out, record);
    }
  }
}

// Each row's cells, left to right (cells of one column keep their order).
std::map<std::uint16_t, std::vector<const CellItem*>> CellsByRow(
    const std::vector<CellItem>& items) {
  std::map<std::uint16_t, std::vector<const CellItem*>> cells_by_row;
  for (const CellItem& item : items) cells_by_row[item.first.row].push_back(&item);
  for (auto& [row, cells] : cells_by_row) {
    std::stable_sort(cells.begin(), cells.end(), [](const CellItem* a, const CellItem* b) {
      return a->first.column < b->first.column;
    });
  }
  return cells_by_row;
}

// DBCELL, written at dbcell_at: back to the block's first ROW, then from cell run to cell
// run, starting after that ROW; 0 for a row without cells.
std::vector<std::uint8_t> DbCellBody(std::size_t dbcell_at, std::optional<std::size_t> first_row_at,
                                     const std::vector<std::uint16_t>& block_rows,
                                     const std::map<std::uint16_t, std::size_t>& first_cell_at) {
  std::vector<std::uint8_t> body;
  AppendU32(body, first_row_at ? static_cast<std::uint32_t>(dbcell_at - *first_row_at) : 0);
  std::size_t from = first_row_at ? *first_row_at + kRecordHeaderSize + row_record::kBodySize : 0;
  for (const std::uint16_t row : block_rows) {
    const auto found = first_cell_at.find(row);
    if (found == first_cell_at.end()) {
      AppendU16(body, 0);
      continue;
    }
    AppendU16(body, static_cast<std::uint16_t>(found->second - from));
    from = found->second;
  }
  return body;
}
}  // namespace

std::size_t RowBlockCount(const std::map<std::uint16_t, Record>& rows,
                          const std::vector<CellItem>& items) {
  std::set<unsigned> blocks;
  for (const std::uint16_t row : RowsInUse(rows, items)) blocks.insert(BlockOf(row));
  return blocks.size();
}

std::vector<std::uint32_t> AppendCellTable(std::vector<std::uint8_t>& out, std::size_t base,
                                           const std::map<std::uint16_t, Record>& rows,
                                           const std::vector<CellItem>& items) {
  const std::map<std::uint16_t, std::vector<const CellItem*>> cells_by_row = CellsByRow(items);
  const std::set<std::uint16_t> in_use = RowsInUse(rows, items);

  std::vector<std::uint32_t> dbcell_positions;
  auto next_row = in_use.begin();
  while (next_row != in_use.end()) {
    const unsigned block = BlockOf(*next_row);
    auto block_end = next_row;
    while (block_end != in_use.end() && BlockOf(*block_end) == block) ++block_end;

    std::optional<std::size_t> first_row_at;
    std::vector<std::uint16_t> block_rows;
    for (auto row = next_row; row != block_end; ++row) {
      const auto found = rows.find(*row);
      if (found == rows.end()) continue;
      if (!first_row_at) first_row_at = out.size();
      block_rows.push_back(*row);
      AppendRecord(out, found->second);
    }
    std::map<std::uint16_t, std::size_t> first_cell_at;
    for (auto row = next_row; row != block_end; ++row) {
      const auto found = cells_by_row.find(*row);
      if (found == cells_by_row.end()) continue;
      first_cell_at[*row] = out.size();
      for (const CellItem* item : found->second) AppendCellRecords(out, *item);
    }

    const std::size_t dbcell_at = out.size();
    const std::vector<std::uint8_t> body =
        DbCellBody(dbcell_at, first_row_at, block_rows, first_cell_at);
    AppendRecord(out, record_type::kDbCell, body);
    dbcell_positions.push_back(static_cast<std::uint32_t>(base + dbcell_at));
    next_row = block_end;
  }
  return dbcell_positions;
}

std::vector<std::uint8_t> IndexBody(std::uint32_t first_row, std::uint32_t end_row,
                                    std::uint32_t column_width_position,
                                    const std::vector<std::uint32_t>& dbcell_positions) {
  std::vector<std::uint8_t> body(index_record::kFixedSize +
                                 index_record::kPositionSize * dbcell_positions.size());
  PutU32(body, index_record::kFirstRow, first_row);
  PutU32(body, index_record::kEndRow, end_row);
  PutU32(body, index_record::kColumnWidthPosition, column_width_position);
  for (std::size_t i = 0; i < dbcell_positions.size(); ++i) {
    PutU32(body, index_record::kFirstDbCell + index_record::kPositionSize * i, dbcell_positions[i]);
  }
  return body;
}

void MoveIndexPositions(Record& index, std::uint32_t delta) {
  for (std::size_t at = index_record::kColumnWidthPosition;
       at + index_record::kPositionSize <= index.body.size(); at += index_record::kPositionSize) {
    const std::uint32_t position = GetU32(index.body, at);
    if (position != 0) PutU32(index.body, at, position + delta);
  }
}

void WidenRow(Record& row, std::uint16_t column) {
  const auto next = static_cast<std::uint16_t>(column + 1);
  std::vector<std::uint8_t>& body = row.body;
  const std::uint16_t first = GetU16(body, row_record::kFirstColumn);
  const std::uint16_t end = GetU16(body, row_record::kEndColumn);
  const bool empty = first >= end;
  PutU16(body, row_record::kFirstColumn, empty ? column : std::min(first, column));
  PutU16(body, row_record::kEndColumn, empty ? next : std::max(end, next));
}

void WidenDimensions(Record& dimensions, CellAddress cell) {
  std::vector<std::uint8_t>& body = dimensions.body;
  const std::uint32_t first_row = GetU32(body, dimensions_record::kFirstRow);
  const std::uint32_t end_row = GetU32(body, dimensions_record::kEndRow);
  const std::uint16_t first_column = GetU16(body, dimensions_record::kFirstColumn);
  const std::uint16_t end_column = GetU16(body, dimensions_record::kEndColumn);
  const bool empty = first_row >= end_row || first_column >= end_column;
  PutU32(body, dimensions_record::kFirstRow,
         empty ? cell.row : std::min<std::uint32_t>(first_row, cell.row));
  PutU32(body, dimensions_record::kEndRow,
         empty ? cell.row + 1u : std::max<std::uint32_t>(end_row, cell.row + 1u));
  PutU16(body, dimensions_record::kFirstColumn,
         empty ? cell.column : std::min(first_column, cell.column));
  PutU16(body, dimensions_record::kEndColumn,
         static_cast<std::uint16_t>(empty ? cell.column + 1
                                          : std::max<int>(end_column, cell.column + 1)));
}

}  // namespace xls::biff
