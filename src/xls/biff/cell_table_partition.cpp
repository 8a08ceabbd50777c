#include "xls/biff/cell_table_partition.h"

#include <algorithm>
#include <optional>

#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// Records that belong to the cell record before them.
bool FollowsCell(std::uint16_t type) {
  return type == record_type::kString || type == record_type::kShrFmla ||
         type == record_type::kArray || type == record_type::kTable ||
         type == record_type::kContinue;
}

bool IsCellTableRecord(std::uint16_t type) {
  return IsCellRecord(type) || type == record_type::kRow || type == record_type::kDbCell ||
         (FollowsCell(type) && type != record_type::kContinue);
}

// A sheet without cells: the table goes after DIMENSIONS, as Excel places it, or else
// before WINDOW2, and never before the BOF.
PartitionedSheet SplitAroundEmptyTable(std::vector<Record> records,
                                       const std::vector<int>& depths) {
  std::size_t insert = records.size() - 1;
  for (std::size_t i = records.size(); i-- > 0;) {
    if (depths[i] != 1) continue;
    if (records[i].type == record_type::kDimensions) {
      insert = i + 1;
      break;
    }
    if (records[i].type == record_type::kWindow2) insert = i;
  }
  insert = std::max<std::size_t>(insert, 1);
  PartitionedSheet sheet;
  sheet.before.assign(
      std::make_move_iterator(records.begin()),
      std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(insert)));
  sheet.after.assign(std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(insert)),
                     std::make_move_iterator(records.end()));
  return sheet;
}

}  // namespace

bool IsCellRecord(std::uint16_t type) {
  switch (type) {
    case record_type::kLabelSst:
    case record_type::kLabel:
    case record_type::kRString:
    case record_type::kNumber:
    case record_type::kRk:
    case record_type::kMulRk:
    case record_type::kBlank:
    case record_type::kMulBlank:
    case record_type::kFormula:
    case record_type::kBoolErr:
      return true;
    default:
      return false;
  }
}

std::vector<int> NestingDepths(const std::vector<Record>& records) {
  std::vector<int> depths(records.size());
  int depth = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == record_type::kBof) ++depth;
    depths[i] = depth;
    if (records[i].type == record_type::kEof) --depth;
  }
  return depths;
}

std::size_t MultiCellCount(const Record& record) {
  const std::size_t entry = record.type == record_type::kMulRk ? multi_cell_record::kRkEntrySize
                                                               : multi_cell_record::kBlankEntrySize;
  const std::size_t size = record.body.size();
  return size < multi_cell_record::kFixedSize ? 0 : (size - multi_cell_record::kFixedSize) / entry;
}

namespace {

// Where the cell table lies: from its first record at the sheet's top level to its last,
// with the CONTINUE records after that; nothing for a sheet without one.
std::optional<std::pair<std::size_t, std::size_t>> CellTableSpan(const std::vector<Record>& records,
                                                                 const std::vector<int>& depths) {
  std::optional<std::size_t> first;
  std::size_t last = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (depths[i] == 1 && IsCellTableRecord(records[i].type)) {
      if (!first) first = i;
      last = i;
    }
  }
  if (!first) return std::nullopt;
  while (last + 1 < records.size() && depths[last + 1] == 1 &&
         records[last + 1].type == record_type::kContinue) {
    ++last;
  }
  return std::pair{*first, last};
}

// A cell record as an item of the table, from its cell to its last column (MULRK and
// MULBLANK hold a run of cells).
CellItem CellItemOf(Record record) {
  const CellAddress address{GetU16(record.body, cell_record::kRow),
                            GetU16(record.body, cell_record::kColumn)};
  std::uint16_t last_column = address.column;
  if (record.type == record_type::kMulRk || record.type == record_type::kMulBlank) {
    const std::size_t count = std::max<std::size_t>(MultiCellCount(record), 1);
    last_column =
        static_cast<std::uint16_t>(std::min<std::size_t>(address.column + count - 1, 0xFFFF));
  }
  return {address, last_column, {std::move(record)}};
}

}  // namespace

PartitionedSheet PartitionSheetRecords(std::vector<Record> records) {
  const std::vector<int> depths = NestingDepths(records);
  const std::optional<std::pair<std::size_t, std::size_t>> span = CellTableSpan(records, depths);
  if (!span) return SplitAroundEmptyTable(std::move(records), depths);
  const auto [first, last] = *span;
  PartitionedSheet sheet;
  sheet.before.assign(
      std::make_move_iterator(records.begin()),
      std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(first)));
  constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);
  std::size_t current = kNoCell;  // the item that continuation records belong to
  for (std::size_t i = first; i <= last; ++i) {
    Record& record = records[i];
    const bool table = depths[i] == 1;
    if (table && record.type == record_type::kRow && record.body.size() >= row_record::kBodySize) {
      const std::uint16_t row = GetU16(record.body, row_record::kRow);
      sheet.rows[row] = std::move(record);
      current = kNoCell;
    } else if (table && record.type == record_type::kDbCell) {
      current = kNoCell;
    } else if (table && IsCellRecord(record.type) && record.body.size() >= cell_record::kValue) {
      sheet.items.push_back(CellItemOf(std::move(record)));
      current = sheet.items.size() - 1;
    } else if (table && FollowsCell(record.type) && current != kNoCell) {
      sheet.items[current].records.push_back(std::move(record));
    } else {
      sheet.after.push_back(std::move(record));
      current = kNoCell;
    }
  }
  sheet.after.insert(
      sheet.after.end(),
      std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(last + 1)),
      std::make_move_iterator(records.end()));
  return sheet;
}

}  // namespace xls::biff
