#include "xls/biff/sheet_substream.h"

#include <algorithm>
#include <optional>

#include "xls/biff/byte_io.h"
#include "xls/biff/cell_records.h"
#include "xls/biff/cell_table_writer.h"
#include "xls/biff/data_tables.h"
#include "xls/biff/formula_ranges.h"
#include "xls/biff/formula_results.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// Calls visit on a sheet's own records outside its cell table (not those of a chart
// embedded in it) until it returns true. Writers that put the cells first leave DIMENSIONS
// and COLINFO after them.
template <typename Records, typename Visit>
void VisitOwnRecords(Records& before, Records& after, Visit visit) {
  for (auto& record : before) {
    if (visit(record)) return;
  }
  for (auto& record : after) {
    if (record.type == record_type::kBof || visit(record)) return;
  }
}

bool AnchorsOtherCells(std::uint16_t type) {
  return type == record_type::kShrFmla || type == record_type::kArray ||
         type == record_type::kTable;
}

}  // namespace

SheetSubstream SheetSubstream::Parse(Substream substream, const SharedStringTable& strings) {
  SheetSubstream sheet;
  sheet.original_offset_ = substream.offset;
  sheet.type_ = substream.type;
  sheet.original_ = substream.records;
  sheet.table_ = PartitionSheetRecords(std::move(substream.records));
  for (const CellItem& item : sheet.table_.items) {
    DecodeCellItem(item, strings, sheet.cells_);
    for (const Record& record : item.records) {
      if (record.type == record_type::kTable) sheet.holds_data_table_ = true;
    }
  }
  sheet.default_row_height_ = kDefaultRowHeight;
  for (const Record& record : sheet.table_.before) {
    if (record.type == record_type::kDefaultRowHeight &&
        record.body.size() >= default_row_height_record::kMinimumSize) {
      sheet.default_row_height_ = GetU16(record.body, default_row_height_record::kHeight);
    }
  }
  return sheet;
}

const CellData* SheetSubstream::Find(CellAddress cell) const {
  const auto found = cells_.find(cell);
  return found == cells_.end() ? nullptr : &found->second;
}

std::uint16_t SheetSubstream::XfForWrite(CellAddress cell) const {
  if (const CellData* data = Find(cell)) return data->xf;
  if (const auto found = table_.rows.find(cell.row); found != table_.rows.end()) {
    const std::vector<std::uint8_t>& body = found->second.body;
    if ((GetU16(body, row_record::kFlags) & row_record::kGhostDirty) != 0) {
      return GetU16(body, row_record::kXf) & row_record::kXfMask;
    }
  }
  std::uint16_t xf = kDefaultCellXf;
  VisitOwnRecords(table_.before, table_.after, [&](const Record& record) {
    if (record.type != record_type::kColInfo ||
        record.body.size() < col_info_record::kMinimumSize) {
      return false;
    }
    if (GetU16(record.body, col_info_record::kFirstColumn) > cell.column ||
        cell.column > GetU16(record.body, col_info_record::kLastColumn)) {
      return false;
    }
    xf = GetU16(record.body, col_info_record::kXf);
    return true;
  });
  return xf;
}

void SheetSubstream::SetNumber(CellAddress cell, double value) {
  Replace(cell, NumberRecord(cell.row, cell.column, XfForWrite(cell), value),
          CellValue::Number(value));
}

void SheetSubstream::SetSharedString(CellAddress cell, std::uint32_t index, std::u16string text) {
  Replace(cell, LabelSstRecord(cell.row, cell.column, XfForWrite(cell), index),
          CellValue::String(std::move(text)));
}

void SheetSubstream::ClearValue(CellAddress cell) {
  const CellData* data = Find(cell);
  if (data == nullptr) return;
  Replace(cell, BlankRecord(cell.row, cell.column, data->xf), CellValue{});
}

void SheetSubstream::Replace(CellAddress cell, Record record, CellValue value) {
  std::vector<Record> anchored;  // a data table other cells refer to
  // A cell the sheet does not store lies in no record yet, so there is nothing to split,
  // detach or replace: a sheet filled row after row below its headings is written in time
  // that grows with its cells, not with their square. Only a data table's range may hold
  // a cell no record stores.
  if (cells_.contains(cell) || holds_data_table_) {
    SplitMultiCellItem(cell);
    DetachFromSharedFormulas(table_.items, cell);
    DissolveDataTable(table_.items, cell);
    std::erase_if(table_.items, [&](const CellItem& item) {
      if (item.first != cell) return false;
      for (std::size_t i = 1; i < item.records.size(); ++i) {
        if (AnchorsOtherCells(item.records[i].type)) anchored.push_back(item.records[i]);
      }
      return true;
    });
  }
  const std::uint16_t xf = GetU16(record.body, cell_record::kXf);
  CellItem item{cell, cell.column, {std::move(record)}};
  item.records.insert(item.records.end(), anchored.begin(), anchored.end());
  table_.items.push_back(std::move(item));
  cells_[cell] = {std::move(value), xf};
  ExtendRow(cell);
  ExtendDimensions(cell);
  modified_ = true;
}

void SheetSubstream::SplitMultiCellItem(CellAddress cell) {
  const auto found =
      std::find_if(table_.items.begin(), table_.items.end(), [&](const CellItem& item) {
        const std::uint16_t type = item.records[0].type;
        return item.first.row == cell.row && item.first.column <= cell.column &&
               cell.column <= item.last_column &&
               (type == record_type::kMulRk || type == record_type::kMulBlank);
      });
  if (found == table_.items.end()) return;
  const Record multi = found->records[0];
  const std::uint16_t first = found->first.column;
  // The single cells take the MUL record's place: a file that also stores one of these
  // cells again later must still find the later record winning.
  std::vector<CellItem> singles;
  for (std::size_t i = 0; i < MultiCellCount(multi); ++i) {
    const CellAddress at{cell.row, static_cast<std::uint16_t>(first + i)};
    Record single;
    if (multi.type == record_type::kMulRk) {
      const std::size_t entry =
          multi_cell_record::kFirstEntry + i * multi_cell_record::kRkEntrySize;
      single = RkRecord(at.row, at.column, GetU16(multi.body, entry),
                        GetU32(multi.body, entry + multi_cell_record::kRkInEntry));
    } else {
      const std::size_t entry =
          multi_cell_record::kFirstEntry + i * multi_cell_record::kBlankEntrySize;
      single = BlankRecord(at.row, at.column, GetU16(multi.body, entry));
    }
    singles.push_back({at, at.column, {std::move(single)}});
  }
  const auto position = table_.items.erase(found);
  table_.items.insert(position, std::make_move_iterator(singles.begin()),
                      std::make_move_iterator(singles.end()));
}

void SheetSubstream::ExtendRow(CellAddress cell) {
  const auto found = table_.rows.find(cell.row);
  if (found == table_.rows.end()) {
    table_.rows[cell.row] = RowRecord(
        cell.row, cell.column, static_cast<std::uint16_t>(cell.column + 1), default_row_height_);
    return;
  }
  WidenRow(found->second, cell.column);
}

void SheetSubstream::ExtendDimensions(CellAddress cell) {
  VisitOwnRecords(table_.before, table_.after, [&](Record& record) {
    if (record.type != record_type::kDimensions ||
        record.body.size() < dimensions_record::kMinimumSize) {
      return false;
    }
    WidenDimensions(record, cell);
    return true;
  });
}

std::size_t SheetSubstream::SharedStringReferences() const {
  return static_cast<std::size_t>(std::count_if(
      table_.items.begin(), table_.items.end(),
      [](const CellItem& item) { return item.records[0].type == record_type::kLabelSst; }));
}

void SheetSubstream::MarkUsedStrings(std::vector<bool>& used) const {
  for (const CellItem& item : table_.items) {
    const Record& record = item.records[0];
    if (record.type != record_type::kLabelSst) continue;
    const std::uint32_t index = GetU32(record.body, cell_record::kValue);
    if (index < used.size()) used[index] = true;
  }
}

void SheetSubstream::RenumberStrings(const std::vector<std::uint32_t>& new_index) {
  const auto renumber = [&](Record& record) {
    if (record.type != record_type::kLabelSst || record.body.size() < cell_record::kValue + 4) {
      return;
    }
    const std::uint32_t index = GetU32(record.body, cell_record::kValue);
    // An index past the old table read as nothing; past the new one it still does.
    const auto renumbered =
        index < new_index.size() ? new_index[index] : static_cast<std::uint32_t>(-1);
    PutU32(record.body, cell_record::kValue, renumbered);
  };
  for (CellItem& item : table_.items) renumber(item.records[0]);
  // An unchanged sheet is written from its records as read: they follow too.
  const std::vector<int> depths = NestingDepths(original_);
  for (std::size_t i = 0; i < original_.size(); ++i) {
    if (depths[i] == 1) renumber(original_[i]);
  }
}

std::vector<CellFormula> SheetSubstream::Formulas() const {
  return CellFormulas(table_.items);
}

void SheetSubstream::StoreFormulaResult(CellAddress cell, const CellValue& result,
                                        bool always_calculate) {
  // Items move when cells are written; the index is rebuilt where it went stale.
  auto found = formula_items_.find(cell);
  if (found == formula_items_.end() || found->second >= table_.items.size() ||
      table_.items[found->second].first != cell ||
      table_.items[found->second].records[0].type != record_type::kFormula) {
    formula_items_.clear();
    for (std::size_t i = 0; i < table_.items.size(); ++i) {
      const CellItem& item = table_.items[i];
      if (item.records[0].type == record_type::kFormula) formula_items_[item.first] = i;
    }
    found = formula_items_.find(cell);
    if (found == formula_items_.end()) return;
  }
  std::vector<Record>& records = table_.items[found->second].records;
  bool changed = biff::StoreFormulaResult(records, result);
  if (always_calculate) changed = MarkAlwaysCalculate(records[0]) || changed;
  if (!changed) return;
  cells_[cell].value = result;
  modified_ = true;
}

std::vector<std::uint8_t> SheetSubstream::SerializeOriginal(std::size_t base) const {
  const auto delta = static_cast<std::uint32_t>(base - original_offset_);
  const std::vector<int> depths = NestingDepths(original_);
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < original_.size(); ++i) {
    const Record& record = original_[i];
    if (delta == 0 || record.type != record_type::kIndex || depths[i] != 1 ||
        record.body.size() < index_record::kFixedSize) {
      AppendRecord(out, record);
      continue;
    }
    Record moved = record;
    MoveIndexPositions(moved, delta);
    AppendRecord(out, moved);
  }
  return out;
}

std::vector<std::uint8_t> SheetSubstream::Serialize(std::size_t base) const {
  if (!modified_) return SerializeOriginal(base);
  const std::size_t blocks = RowBlockCount(table_.rows, table_.items);

  std::vector<std::uint8_t> out;
  std::optional<std::size_t> index_at;
  std::optional<std::size_t> column_width_at;
  for (const Record& record : table_.before) {
    if (record.type == record_type::kIndex && !index_at) {
      // A place holder of the final size; its positions are known once the table is written.
      index_at = out.size();
      AppendRecord(out, record_type::kIndex,
                   std::vector<std::uint8_t>(
                       index_record::kFixedSize + index_record::kPositionSize * blocks, 0));
      continue;
    }
    if (record.type == record_type::kDefColWidth) column_width_at = out.size();
    if (record.type == record_type::kCalcMode && record.body.size() >= 2) {
      Record automatic = record;
      PutU16(automatic.body, calc_mode_record::kMode, calc_mode_record::kAutomatic);
      AppendRecord(out, automatic);
      continue;
    }
    AppendRecord(out, record);
  }
  const std::vector<std::uint32_t> dbcells = AppendCellTable(out, base, table_.rows, table_.items);
  for (const Record& record : table_.after) AppendRecord(out, record);

  if (index_at) {
    std::uint32_t first_row = 0;
    std::uint32_t end_row = 0;
    if (!table_.items.empty()) {
      const auto [low, high] = std::minmax_element(
          table_.items.begin(), table_.items.end(),
          [](const CellItem& a, const CellItem& b) { return a.first.row < b.first.row; });
      first_row = low->first.row;
      end_row = high->first.row + 1u;
    }
    const std::vector<std::uint8_t> index = IndexBody(
        first_row, end_row,
        column_width_at ? static_cast<std::uint32_t>(base + *column_width_at) : 0, dbcells);
    std::copy(index.begin(), index.end(),
              out.begin() + static_cast<std::ptrdiff_t>(*index_at + kRecordHeaderSize));
  }
  return out;
}

}  // namespace xls::biff
